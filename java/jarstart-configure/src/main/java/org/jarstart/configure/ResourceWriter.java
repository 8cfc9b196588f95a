package org.jarstart.configure;

import java.io.ByteArrayOutputStream;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.HashMap;
import java.util.List;
import java.util.Map;
import java.util.TreeMap;

/**
 * Writes an executable's resources as a new section placed last in the
 * image, and brings everything that depends on it up to date: the same
 * bytes as jarstart-tool gives on every system.
 */
final class ResourceWriter {
    private static final int SECTION_HEADER_SIZE = 40;
    private static final long RESOURCE_CHARACTERISTICS = 0x40000040L;  // initialised data, readable
    private static final int RESOURCE_DIRECTORY = 2;
    private static final int SECURITY_DIRECTORY = 4;

    /** The new executable, and whether a signature of the input was removed. */
    static final class Result {
        final byte[] image;
        final boolean removedSignature;

        Result(byte[] image, boolean removedSignature) {
            this.image = image;
            this.removedSignature = removedSignature;
        }
    }

    /** Thrown with a reason to follow the input's name. */
    static final class Refused extends Exception {
        private static final long serialVersionUID = 1L;

        Refused(String reason) {
            super(reason);
        }
    }

    private ResourceWriter() {}

    private static void appendDirectoryHeader(ByteArrayOutputStream out, int named, int numbered) {
        LittleEndian.append32(out, 0);  // characteristics
        LittleEndian.append32(out, 0);  // time stamp: none, for reproducible output
        LittleEndian.append32(out, 0);  // version
        LittleEndian.append16(out, named);
        LittleEndian.append16(out, numbered);
    }

    private static int countNamed(Iterable<ResourceId> ids) {
        int named = 0;
        for (ResourceId id : ids) named += id.isNumber ? 0 : 1;
        return named;
    }

    /**
     * The resource section's bytes for items when it starts at rva: the three
     * directory levels (each sorted as the loader searches them), the data
     * entries, the names, then the data, each on an 8-byte boundary. Of items
     * with one type, name and language, the last wins.
     */
    static byte[] encodeSection(List<ResourceItem> items, long rva) {
        TreeMap<ResourceId, TreeMap<ResourceId, TreeMap<Integer, byte[]>>> types = new TreeMap<>();
        for (ResourceItem item : items)
            types.computeIfAbsent(item.type, k -> new TreeMap<>())
                    .computeIfAbsent(item.name, k -> new TreeMap<>())
                    .put(item.language, item.bytes);

        // Sizes first, so that every offset is known when the tables are written.
        int nameDirectories = types.size(), languageDirectories = 0, leaves = 0;
        for (TreeMap<ResourceId, TreeMap<Integer, byte[]>> names : types.values()) {
            languageDirectories += names.size();
            for (TreeMap<Integer, byte[]> languages : names.values()) leaves += languages.size();
        }
        int directoryBytes = 16 * (1 + nameDirectories + languageDirectories)
                + 8 * (nameDirectories + languageDirectories + leaves);
        int dataEntries = directoryBytes;
        int strings = dataEntries + 16 * leaves;

        // The names, each once: a count of UTF-16 units, then the units.
        Map<String, Long> nameOffsets = new HashMap<>();
        ByteArrayOutputStream names = new ByteArrayOutputStream();
        java.util.function.Function<ResourceId, Long> entryName = id -> {
            if (id.isNumber) return (long) id.number;
            Long known = nameOffsets.get(id.text);
            if (known == null) {
                known = (long) (strings + names.size());
                LittleEndian.append16(names, id.text.length());
                for (int i = 0; i < id.text.length(); ++i) LittleEndian.append16(names, id.text.charAt(i));
                nameOffsets.put(id.text, known);
            }
            return 0x80000000L | known;
        };

        ByteArrayOutputStream tables = new ByteArrayOutputStream();
        List<long[]> leafData = new ArrayList<>();  // data entry offset, index into leafBytes
        List<byte[]> leafBytes = new ArrayList<>();

        // Breadth first: the root, the name directories, the language directories.
        int namedTypes = countNamed(types.keySet());
        appendDirectoryHeader(tables, namedTypes, types.size() - namedTypes);
        long next = 16 + 8L * types.size();
        for (Map.Entry<ResourceId, TreeMap<ResourceId, TreeMap<Integer, byte[]>>> type : types.entrySet()) {
            LittleEndian.append32(tables, entryName.apply(type.getKey()));
            LittleEndian.append32(tables, 0x80000000L | next);
            next += 16 + 8L * type.getValue().size();
        }
        for (TreeMap<ResourceId, TreeMap<Integer, byte[]>> byName : types.values()) {
            int named = countNamed(byName.keySet());
            appendDirectoryHeader(tables, named, byName.size() - named);
            for (Map.Entry<ResourceId, TreeMap<Integer, byte[]>> name : byName.entrySet()) {
                LittleEndian.append32(tables, entryName.apply(name.getKey()));
                LittleEndian.append32(tables, 0x80000000L | next);
                next += 16 + 8L * name.getValue().size();
            }
        }
        long leaf = dataEntries;
        for (TreeMap<ResourceId, TreeMap<Integer, byte[]>> byName : types.values()) {
            for (TreeMap<Integer, byte[]> languages : byName.values()) {
                appendDirectoryHeader(tables, 0, languages.size());
                for (Map.Entry<Integer, byte[]> language : languages.entrySet()) {
                    LittleEndian.append32(tables, language.getKey());
                    LittleEndian.append32(tables, leaf);
                    leafData.add(new long[] {leaf, leafBytes.size()});
                    leafBytes.add(language.getValue());
                    leaf += 16;
                }
            }
        }

        long dataStart = LittleEndian.alignUp(strings + names.size(), 8);
        long total = dataStart;
        for (byte[] data : leafBytes) total = LittleEndian.alignUp(total, 8) + data.length;
        byte[] section = new byte[(int) total];
        byte[] tableBytes = tables.toByteArray();
        System.arraycopy(tableBytes, 0, section, 0, tableBytes.length);
        byte[] nameBytes = names.toByteArray();
        System.arraycopy(nameBytes, 0, section, strings, nameBytes.length);
        long at = dataStart;
        for (long[] entry : leafData) {
            byte[] data = leafBytes.get((int) entry[1]);
            at = LittleEndian.alignUp(at, 8);
            LittleEndian.put32(section, entry[0], rva + at);
            LittleEndian.put32(section, entry[0] + 4, data.length);
            // code page and reserved stay 0
            System.arraycopy(data, 0, section, (int) at, data.length);
            at += data.length;
        }
        return section;
    }

    /** The checksum of an image as the system computes it, the 4 bytes at checksumOffset counting as zero. */
    static long checksum(byte[] image, long checksumOffset) {
        long sum = 0;
        for (long i = 0; i < image.length; i += 2) {
            if (i == checksumOffset || i == checksumOffset + 2) continue;
            long word = image[(int) i] & 0xFF;
            if (i + 1 < image.length) word |= (long) (image[(int) i + 1] & 0xFF) << 8;
            sum += word;
            sum = (sum & 0xFFFF) + (sum >>> 16);
        }
        sum = (sum & 0xFFFF) + (sum >>> 16);
        return (sum + image.length) & 0xFFFFFFFFL;
    }

    private static boolean isPowerOfTwo(long value) {
        return value != 0 && (value & (value - 1)) == 0;
    }

    /**
     * The image with its resources replaced by items. The section holding the
     * resources is rewritten in place when it is the image's last one, else a
     * new one is appended and the old one stays as dead bytes (later sections
     * may refer to their own addresses, so nothing moves). A signature no
     * longer matches and is removed; data after the last section (other than
     * the signature) is kept after the new one.
     */
    static Result write(byte[] image, List<ResourceItem> items) throws Refused {
        PeImage.Layout layout = PeImage.readLayout(image);
        if (layout == null) throw new Refused("is not a PE executable");
        final int optional = layout.optionalHeader;
        final long sectionAlignment = LittleEndian.u32(image, optional + 32);
        final long fileAlignment = LittleEndian.u32(image, optional + 36);
        final long sizeOfHeaders = LittleEndian.u32(image, optional + 60);
        // The file alignment is at most 64 KB, or padding alone could take gigabytes.
        if (!isPowerOfTwo(fileAlignment) || !isPowerOfTwo(sectionAlignment) || fileAlignment > sectionAlignment
                || fileAlignment > 0x10000)
            throw new Refused("has section alignments that are not powers of two up to 64 KB, the file's within the memory's");
        if (layout.directoryCount <= RESOURCE_DIRECTORY)
            throw new Refused("has no entry for a resource directory in its headers");
        List<PeImage.Section> sections = layout.sections;
        if (sections.isEmpty()) throw new Refused("has no sections");

        // Where the headers and the sections' bytes end in the file; what
        // follows is kept, except a signature.
        if (sizeOfHeaders > image.length) throw new Refused("has headers that run past the end of the file");
        long sectionsEnd = sizeOfHeaders, firstRaw = image.length;
        for (PeImage.Section s : sections) {
            if (s.rawSize == 0) continue;
            sectionsEnd = Math.max(sectionsEnd, s.rawPointer + s.rawSize);
            firstRaw = Math.min(firstRaw, s.rawPointer);
        }
        if (sectionsEnd > image.length) throw new Refused("has a section whose data runs past the end of the file");
        byte[] overlay = Arrays.copyOfRange(image, (int) sectionsEnd, image.length);
        long security = layout.directories + 8L * SECURITY_DIRECTORY;
        boolean removedSignature = false;
        if (layout.directoryCount > SECURITY_DIRECTORY
                && (LittleEndian.u32(image, security) != 0 || LittleEndian.u32(image, security + 4) != 0)) {
            // The directory holds a file offset, not an address; a signature
            // covers the whole file, so it cannot survive a change.
            long at = LittleEndian.u32(image, security), size = LittleEndian.u32(image, security + 4);
            if (at >= sectionsEnd && at + size <= image.length) {
                int from = (int) (at - sectionsEnd);
                byte[] kept = new byte[overlay.length - (int) size];
                System.arraycopy(overlay, 0, kept, 0, from);
                System.arraycopy(overlay, from + (int) size, kept, from, overlay.length - from - (int) size);
                overlay = kept;
            }
            removedSignature = true;
        }

        // The last section by address; it is rewritten in place when it is the
        // input's own resource section and also the last in the file.
        int last = 0;
        for (int i = 1; i < sections.size(); ++i)
            if (sections.get(i).virtualAddress >= sections.get(last).virtualAddress) last = i;
        PeImage.Section lastSection = sections.get(last);
        long resourceRva = LittleEndian.u32(image, layout.directories + 8L * RESOURCE_DIRECTORY);
        boolean inPlace = last == sections.size() - 1 && lastSection.name.equals(".rsrc") && resourceRva != 0
                && resourceRva == lastSection.virtualAddress && lastSection.rawSize != 0
                && lastSection.rawPointer >= sizeOfHeaders && lastSection.rawPointer % fileAlignment == 0
                && lastSection.rawPointer + lastSection.rawSize == sectionsEnd;
        // Rewritten shorter, it must still end the file: no other section's raw
        // bytes may run past its start, or the next write would not find it last.
        for (int i = 0; inPlace && i < sections.size(); ++i)
            if (i != last && sections.get(i).rawSize != 0
                    && sections.get(i).rawPointer + sections.get(i).rawSize > lastSection.rawPointer)
                inPlace = false;

        int slot = inPlace ? last : sections.size();
        long header = layout.sectionTable + (long) SECTION_HEADER_SIZE * slot;
        long rva, rawPointer, kept;
        if (inPlace) {
            rva = lastSection.virtualAddress;
            rawPointer = lastSection.rawPointer;
            kept = rawPointer;
        } else {
            if (header + SECTION_HEADER_SIZE > sizeOfHeaders || header + SECTION_HEADER_SIZE > firstRaw
                    || !isZero(image, header, SECTION_HEADER_SIZE))
                throw new Refused("has no room in its headers for another section");
            // Past the headers and every section in memory, counting a section
            // as long as the longer of its sizes, as the reader of the tree does.
            rva = LittleEndian.alignUp(sizeOfHeaders, sectionAlignment);
            for (PeImage.Section s : sections) {
                long extent = Math.max(1, Math.max(s.virtualSize, s.rawSize));
                rva = Math.max(rva, LittleEndian.alignUp(s.virtualAddress + extent, sectionAlignment));
            }
            rawPointer = LittleEndian.alignUp(sectionsEnd, fileAlignment);
            kept = sectionsEnd;
        }
        byte[] section = encodeSection(items, rva);
        long rawSize = LittleEndian.alignUp(section.length, fileAlignment);
        long imageEnd = LittleEndian.alignUp(rva + section.length, sectionAlignment);
        if (imageEnd > 0xFFFFFFFFL || rawPointer + rawSize + overlay.length > 0x7FFFFFFFL)
            throw new Refused("would grow past 2 GB with these resources");
        byte[] out = new byte[(int) (rawPointer + rawSize + overlay.length)];
        System.arraycopy(image, 0, out, 0, (int) kept);
        System.arraycopy(section, 0, out, (int) rawPointer, section.length);
        System.arraycopy(overlay, 0, out, (int) (rawPointer + rawSize), overlay.length);

        byte[] name = {'.', 'r', 's', 'r', 'c', 0, 0, 0};
        System.arraycopy(name, 0, out, (int) header, 8);
        LittleEndian.put32(out, header + 8, section.length);
        LittleEndian.put32(out, header + 12, rva);
        LittleEndian.put32(out, header + 16, rawSize);
        LittleEndian.put32(out, header + 20, rawPointer);
        for (long at = header + 24; at < header + 36; at += 4) LittleEndian.put32(out, at, 0);  // no relocations or line numbers
        LittleEndian.put32(out, header + 36, RESOURCE_CHARACTERISTICS);
        if (!inPlace) LittleEndian.put16(out, layout.fileHeader + 2, sections.size() + 1);

        long initialised = LittleEndian.u32(image, optional + 8) + rawSize;
        if (inPlace) initialised -= lastSection.rawSize;
        LittleEndian.put32(out, optional + 8, initialised & 0xFFFFFFFFL);
        LittleEndian.put32(out, optional + 56, imageEnd);
        LittleEndian.put32(out, layout.directories + 8L * RESOURCE_DIRECTORY, rva);
        LittleEndian.put32(out, layout.directories + 8L * RESOURCE_DIRECTORY + 4, section.length);
        if (removedSignature) {
            LittleEndian.put32(out, security, 0);
            LittleEndian.put32(out, security + 4, 0);
        }
        // A COFF symbol table after the sections moves with the data around it.
        long symbols = LittleEndian.u32(image, layout.fileHeader + 8);
        if (symbols != 0 && symbols >= sectionsEnd)
            LittleEndian.put32(out, layout.fileHeader + 8, (symbols - sectionsEnd + rawPointer + rawSize) & 0xFFFFFFFFL);
        LittleEndian.put32(out, optional + 64, checksum(out, optional + 64));
        return new Result(out, removedSignature);
    }

    /** image.find_first_not_of('\0', at) >= at + length, as the tool asks it. */
    private static boolean isZero(byte[] image, long at, int length) {
        for (long i = at; i < at + length && i < image.length; ++i)
            if (image[(int) i] != 0) return false;
        return true;
    }
}
