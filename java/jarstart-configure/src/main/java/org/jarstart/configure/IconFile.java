package org.jarstart.configure;

import java.io.ByteArrayOutputStream;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;

/**
 * An .ico file taken apart into the resources an executable's icon is made
 * of: one RT_ICON per image (ids 1..n) and the RT_GROUP_ICON directory
 * naming them.
 */
final class IconFile {
    static final int RT_ICON = 3;
    static final int RT_GROUP_ICON = 14;
    static final int GROUP_ID = 1;
    private static final int HEADER_SIZE = 6;       // reserved, type, count
    private static final int FILE_ENTRY_SIZE = 16;  // ICONDIRENTRY: the image found by file offset
    private static final byte[] PNG = {(byte) 0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};

    private IconFile() {}

    /**
     * The RT_ICON items and the RT_GROUP_ICON item of an icon file. Throws
     * with the tool's one-line message when the bytes are not an icon file
     * whose directory and images lie wholly inside it.
     */
    static List<ResourceItem> resources(byte[] bytes, int language) throws ConfigureException {
        if (bytes.length < HEADER_SIZE || LittleEndian.u16(bytes, 0) != 0 || LittleEndian.u16(bytes, 2) != 1)
            throw new ConfigureException("not an icon file (no icon directory at its start)");
        int count = LittleEndian.u16(bytes, 4);
        if (count == 0) throw new ConfigureException("the icon file holds no image");
        long directoryEnd = HEADER_SIZE + (long) count * FILE_ENTRY_SIZE;
        if (directoryEnd > bytes.length)
            throw new ConfigureException("the icon file's directory of " + count + " images runs past its end");
        List<ResourceItem> items = new ArrayList<>();
        ByteArrayOutputStream group = new ByteArrayOutputStream();
        LittleEndian.append16(group, 0);
        LittleEndian.append16(group, 1);
        LittleEndian.append16(group, count);
        for (int i = 0; i < count; ++i) {
            int entry = HEADER_SIZE + i * FILE_ENTRY_SIZE;
            long size = LittleEndian.u32(bytes, entry + 8);
            long offset = LittleEndian.u32(bytes, entry + 12);
            String which = "icon image " + (i + 1);
            if (size == 0 || offset < directoryEnd || offset + size > bytes.length)
                throw new ConfigureException(which + " (" + size + " bytes at offset " + offset
                        + ") does not lie inside the file's " + bytes.length + " bytes");
            byte[] image = Arrays.copyOfRange(bytes, (int) offset, (int) (offset + size));
            // Anything but a PNG or a DIB starting with its BITMAPINFOHEADER
            // would be stored and then fail in every program showing it.
            if (!looksLikeImage(image)) throw new ConfigureException(which + " is neither a bitmap nor a PNG image");
            group.write(bytes[entry]);      // width, 0 meaning 256
            group.write(bytes[entry + 1]);  // height
            group.write(bytes[entry + 2]);  // colour count
            group.write(0);
            LittleEndian.append16(group, LittleEndian.u16(bytes, entry + 4));  // planes
            LittleEndian.append16(group, LittleEndian.u16(bytes, entry + 6));  // bits per pixel
            LittleEndian.append32(group, image.length);
            LittleEndian.append16(group, i + 1);
            items.add(ResourceItem.numbered(RT_ICON, i + 1, language, image));
        }
        items.add(ResourceItem.numbered(RT_GROUP_ICON, GROUP_ID, language, group.toByteArray()));
        return items;
    }

    private static boolean looksLikeImage(byte[] image) {
        if (image.length >= 8 && Arrays.equals(Arrays.copyOf(image, 8), PNG)) return true;
        return image.length >= 40 && LittleEndian.u32(image, 0) == 40;
    }
}
