package org.jarstart.configure;

import java.util.ArrayList;
import java.util.List;

/**
 * The headers and the resource tree of a Windows executable, read from its
 * bytes without loading it. Every offset taken from the file is checked
 * before it is read: the input is anybody's file.
 */
final class PeImage {
    static final int MAGIC_PE32 = 0x10b;
    static final int MAGIC_PE32_PLUS = 0x20b;

    /** One row of the section table. */
    static final class Section {
        String name;
        long virtualSize, virtualAddress, rawSize, rawPointer;
    }

    /** Where the parts of the headers a writer changes lie in the file. */
    static final class Layout {
        int machine, magic, subsystem;
        int fileHeader, optionalHeader, optionalSize, sectionTable, directories;
        int directoryCount;  // entries that lie inside the optional header
        final List<Section> sections = new ArrayList<>();
    }

    private PeImage() {}

    /** -1 when the 2 bytes at offset are not inside the file. */
    private static long read16(byte[] b, long offset) {
        return LittleEndian.fits(b, offset, 2) ? LittleEndian.u16(b, offset) : -1;
    }

    private static long read32(byte[] b, long offset) {
        return LittleEndian.fits(b, offset, 4) ? LittleEndian.u32(b, offset) : -1;
    }

    /** Null when bytes are not a PE image (no MZ header, no PE signature, headers past the end). */
    static Layout readLayout(byte[] b) {
        if (b.length < 64 || b[0] != 'M' || b[1] != 'Z') return null;
        long pe = LittleEndian.u32(b, 0x3C);
        if (pe > b.length || b.length - pe < 24) return null;
        if (b[(int) pe] != 'P' || b[(int) pe + 1] != 'E' || b[(int) pe + 2] != 0 || b[(int) pe + 3] != 0) return null;
        Layout layout = new Layout();
        layout.fileHeader = (int) pe + 4;
        layout.machine = LittleEndian.u16(b, layout.fileHeader);
        int sections = LittleEndian.u16(b, layout.fileHeader + 2);
        layout.optionalSize = LittleEndian.u16(b, layout.fileHeader + 16);
        layout.optionalHeader = layout.fileHeader + 20;
        layout.sectionTable = layout.optionalHeader + layout.optionalSize;
        if (layout.optionalSize < 70) return null;
        long magic = read16(b, layout.optionalHeader);
        if (magic != MAGIC_PE32 && magic != MAGIC_PE32_PLUS) return null;
        layout.magic = (int) magic;
        long subsystem = read16(b, layout.optionalHeader + 68);
        if (subsystem < 0) return null;
        layout.subsystem = (int) subsystem;
        if (layout.sectionTable + 40L * sections > b.length) return null;
        layout.directories = layout.optionalHeader + (layout.magic == MAGIC_PE32 ? 96 : 112);
        long count = Math.max(0, read32(b, layout.directories - 4));
        long room = layout.directories > layout.sectionTable ? 0 : (layout.sectionTable - layout.directories) / 8;
        layout.directoryCount = (int) Math.min(count, room);
        for (int i = 0; i < sections; ++i) {
            int header = layout.sectionTable + 40 * i;
            Section s = new Section();
            int nameLength = 0;
            while (nameLength < 8 && b[header + nameLength] != 0) ++nameLength;
            s.name = new String(b, header, nameLength, java.nio.charset.StandardCharsets.ISO_8859_1);
            s.virtualSize = LittleEndian.u32(b, header + 8);
            s.virtualAddress = LittleEndian.u32(b, header + 12);
            s.rawSize = LittleEndian.u32(b, header + 16);
            s.rawPointer = LittleEndian.u32(b, header + 20);
            layout.sections.add(s);
        }
        return layout;
    }

    /** The file offset of a relative virtual address, through the section table; -1 when it has none. */
    private static long rvaToOffset(byte[] b, Layout layout, long rva) {
        for (Section s : layout.sections) {
            long extent = Math.max(s.virtualSize, s.rawSize);
            if (rva >= s.virtualAddress && rva - s.virtualAddress < extent) {
                if (rva - s.virtualAddress >= s.rawSize) return -1;  // in the zero-filled tail
                long at = s.rawPointer + (rva - s.virtualAddress);
                return at >= b.length ? -1 : at;
            }
        }
        return -1;
    }

    /** The file offset of an RVA range that lies wholly in one section's file data; -1 otherwise. */
    private static long rvaRangeToOffset(byte[] b, Layout layout, long rva, long size) {
        long offset = rvaToOffset(b, layout, rva);
        if (offset < 0 || size == 0) return offset;
        long end = rva + size - 1;
        if (end > 0xFFFFFFFFL) return -1;
        long last = rvaToOffset(b, layout, end);
        return last >= offset && last - offset == size - 1 ? offset : -1;
    }

    /**
     * The resource tree as the loader walks it: a directory is 16 header
     * bytes, then 8 bytes per named and per numbered entry; offsets inside
     * the tree are from its root.
     */
    private static final class Tree {
        final byte[] b;
        final Layout layout;
        final long root, size;

        Tree(byte[] b, Layout layout, long root, long size) {
            this.b = b;
            this.layout = layout;
            this.root = root;
            this.size = size;
        }

        long u16(long offset) {
            return LittleEndian.u16(b, root + offset);
        }

        long u32(long offset) {
            return LittleEndian.u32(b, root + offset);
        }
    }

    private static final Object DAMAGED = new Object();

    /** The tree, null when the image has no resources, DAMAGED when its range is not in the file. */
    private static Object findTree(byte[] b, Layout layout) {
        long count = read32(b, layout.directories - 4);
        if (count < 0) return DAMAGED;
        if (count < 3 || layout.directories + 24 > layout.optionalHeader + layout.optionalSize) return null;
        long rva = read32(b, layout.directories + 16), size = read32(b, layout.directories + 20);
        if (rva < 0 || size < 0) return DAMAGED;
        if (rva == 0 && size == 0) return null;
        long root = rvaRangeToOffset(b, layout, rva, size);
        return root < 0 ? DAMAGED : new Tree(b, layout, root, size);
    }

    private static boolean checkDirectory(Tree tree, long offset, int level) {
        if (offset > tree.size || tree.size - offset < 16) return false;
        long entries = tree.u16(offset + 12) + tree.u16(offset + 14);
        if (entries * 8 > tree.size - offset - 16) return false;
        for (long i = 0; i < entries; ++i) {
            long entry = offset + 16 + 8 * i;
            long name = tree.u32(entry), target = tree.u32(entry + 4);
            if ((name & 0x80000000L) != 0) {
                long at = name & 0x7FFFFFFFL;
                if (at > tree.size || tree.size - at < 2) return false;
                if ((tree.size - at - 2) / 2 < tree.u16(at)) return false;
            }
            // Exactly three levels: a subdirectory pointing back up would make
            // the tree endless, a data entry too early leaves it unreadable.
            boolean isDirectory = (target & 0x80000000L) != 0;
            if (isDirectory != (level < 2)) return false;
            if (isDirectory) {
                if (!checkDirectory(tree, target & 0x7FFFFFFFL, level + 1)) return false;
                continue;
            }
            if (target > tree.size || tree.size - target < 16) return false;
            if (rvaRangeToOffset(tree.b, tree.layout, tree.u32(target), tree.u32(target + 4)) < 0) return false;
        }
        return true;
    }

    private static ResourceId entryId(Tree tree, long name) {
        if ((name & 0x80000000L) == 0) return ResourceId.number((int) name);
        long at = name & 0x7FFFFFFFL;
        int length = (int) tree.u16(at);
        char[] text = new char[length];
        for (int k = 0; k < length; ++k) text[k] = (char) tree.u16(at + 2 + 2 * k);
        return ResourceId.text(new String(text));
    }

    private static void collect(Tree tree, long offset, int level, ResourceId[] path, List<ResourceItem> items) {
        long entries = tree.u16(offset + 12) + tree.u16(offset + 14);
        for (long i = 0; i < entries; ++i) {
            long entry = offset + 16 + 8 * i;
            long name = tree.u32(entry), target = tree.u32(entry + 4);
            if (level < 2) {
                path[level] = entryId(tree, name);
                collect(tree, target & 0x7FFFFFFFL, level + 1, path, items);
                continue;
            }
            long dataRva = tree.u32(target), dataSize = tree.u32(target + 4);
            int data = (int) rvaRangeToOffset(tree.b, tree.layout, dataRva, dataSize);
            byte[] bytes = java.util.Arrays.copyOfRange(tree.b, data, (int) (data + dataSize));
            items.add(new ResourceItem(path[0], path[1], (int) name, bytes));
        }
    }

    /**
     * Every resource of the image in the tree's order (types, names,
     * languages); empty for an image without resources. Null when the tree
     * is damaged: it lies outside the file, an entry or a name runs past it,
     * it has other than three levels, or a resource's data lies outside the
     * file.
     */
    static List<ResourceItem> readResources(byte[] b, Layout layout) {
        List<ResourceItem> items = new ArrayList<>();
        Object found = findTree(b, layout);
        if (found == DAMAGED) return null;
        if (found == null) return items;
        Tree tree = (Tree) found;
        if (!checkDirectory(tree, 0, 0)) return null;
        collect(tree, 0, 0, new ResourceId[2], items);
        return items;
    }
}
