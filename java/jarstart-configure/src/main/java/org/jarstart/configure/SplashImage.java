package org.jarstart.configure;

/** What the launcher's picture loader can show as a splash: BMP, GIF and JPEG files. */
final class SplashImage {
    static final String NOT_AN_IMAGE = "the splash image is no BMP, GIF or JPEG file";

    private SplashImage() {}

    static boolean isImage(byte[] b) {
        if (b.length >= 2 && b[0] == 'B' && b[1] == 'M') return true;
        if (b.length >= 6 && b[0] == 'G' && b[1] == 'I' && b[2] == 'F' && b[3] == '8' && (b[4] == '7' || b[4] == '9') && b[5] == 'a')
            return true;
        return b.length >= 3 && (b[0] & 0xFF) == 0xFF && (b[1] & 0xFF) == 0xD8 && (b[2] & 0xFF) == 0xFF;
    }
}
