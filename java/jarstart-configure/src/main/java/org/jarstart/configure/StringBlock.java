package org.jarstart.configure;

import java.io.ByteArrayOutputStream;

/**
 * One string-table block: the RT_STRING resource n / 16 + 1 holds the
 * strings n &amp; ~15 .. (n &amp; ~15) + 15, each as a 16-bit length followed
 * by that many UTF-16 code units, absent strings as a length of 0.
 */
final class StringBlock {
    static final int STRINGS_PER_BLOCK = 16;
    static final int MAX_LENGTH = 0xFFFF;

    private StringBlock() {}

    static int blockOf(int id) {
        return id / STRINGS_PER_BLOCK + 1;
    }

    static int firstIdOf(int block) {
        return (block - 1) * STRINGS_PER_BLOCK;
    }

    /** The block's 16 strings; null when the bytes end inside an entry (entries after 16 are ignored). */
    static String[] decode(byte[] bytes) {
        String[] strings = new String[STRINGS_PER_BLOCK];
        int pos = 0;
        for (int i = 0; i < STRINGS_PER_BLOCK; ++i) {
            if (pos + 2 > bytes.length) return null;
            int length = LittleEndian.u16(bytes, pos);
            pos += 2;
            if (pos + 2L * length > bytes.length) return null;
            char[] text = new char[length];
            for (int k = 0; k < length; ++k, pos += 2) text[k] = (char) LittleEndian.u16(bytes, pos);
            strings[i] = new String(text);
        }
        return strings;
    }

    /** The bytes of a block of 16 strings (null or "" absent); null when one is longer than 65535 units. */
    static byte[] encode(String[] strings) {
        ByteArrayOutputStream out = new ByteArrayOutputStream();
        for (int i = 0; i < STRINGS_PER_BLOCK; ++i) {
            String text = i < strings.length && strings[i] != null ? strings[i] : "";
            if (text.length() > MAX_LENGTH) return null;
            LittleEndian.append16(out, text.length());
            for (int k = 0; k < text.length(); ++k) LittleEndian.append16(out, text.charAt(k));
        }
        return out.toByteArray();
    }
}
