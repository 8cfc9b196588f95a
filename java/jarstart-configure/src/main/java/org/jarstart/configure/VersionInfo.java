package org.jarstart.configure;

import java.io.ByteArrayOutputStream;
import java.util.ArrayList;
import java.util.List;

/**
 * The version information Explorer shows for an executable: the fixed
 * numbers and the US-English, Unicode string table of names. A text left
 * empty is left out.
 */
public final class VersionInfo {
    static final int RT_VERSION = 16;
    static final int RESOURCE_ID = 1;
    static final int LANGUAGE = 0x0409;  // matches the string table "040904B0"

    private int[] number;  // null: no FileVersion or ProductVersion strings
    private String product = "", company = "", description = "", copyright = "";

    /**
     * Sets the file and product version from "1", "1.2", "1.2.3" or
     * "1.2.3.4", each part a decimal 0..65535, missing parts 0; null or ""
     * leaves the number 0.0.0.0 and its strings out.
     */
    public VersionInfo version(String text) throws ConfigureException {
        if (text == null || text.isEmpty()) {
            number = null;
            return this;
        }
        number = parseNumber(text);
        if (number == null)
            throw new ConfigureException("a version needs up to four numbers 0..65535 such as 1.2.3.4, got \"" + text + "\"");
        return this;
    }

    public VersionInfo product(String text) {
        product = text == null ? "" : text;
        return this;
    }

    public VersionInfo company(String text) {
        company = text == null ? "" : text;
        return this;
    }

    public VersionInfo description(String text) {
        description = text == null ? "" : text;
        return this;
    }

    public VersionInfo copyright(String text) {
        copyright = text == null ? "" : text;
        return this;
    }

    /** The four numbers of a version text, or null when it is no version. */
    public static int[] parseNumber(String text) {
        int[] parts = new int[4];
        int count = 0, at = 0;
        while (true) {
            int digits = 0;
            long value = 0;
            while (at < text.length() && text.charAt(at) >= '0' && text.charAt(at) <= '9') {
                value = value * 10 + (text.charAt(at) - '0');
                if (value > 0xFFFF) return null;
                ++at;
                ++digits;
            }
            if (digits == 0 || count == 4) return null;
            parts[count++] = (int) value;
            if (at == text.length()) break;
            if (text.charAt(at) != '.') return null;
            ++at;
        }
        return parts;
    }

    /**
     * Every block of the resource has one shape: its length, its value's
     * length, a type (1 text, 0 binary), a key, the value and the child
     * blocks, each part on a 32-bit boundary. The length counts the block's
     * own bytes and its children, not the padding after it.
     */
    private static final class Block {
        final String key;
        byte[] value = new byte[0];
        int valueLength;  // in words for text values, in bytes for binary ones
        boolean text;
        final List<Block> children = new ArrayList<>();

        Block(String key) {
            this.key = key;
        }

        byte[] encode() {
            ByteArrayOutputStream out = new ByteArrayOutputStream();
            LittleEndian.append16(out, 0);  // length, patched below
            LittleEndian.append16(out, valueLength);
            LittleEndian.append16(out, text ? 1 : 0);
            appendText(out, key);
            padToDword(out);
            out.write(value, 0, value.length);
            for (Block child : children) {
                padToDword(out);
                byte[] encoded = child.encode();
                out.write(encoded, 0, encoded.length);
            }
            byte[] bytes = out.toByteArray();
            LittleEndian.put16(bytes, 0, bytes.length & 0xFFFF);
            return bytes;
        }
    }

    private static void appendText(ByteArrayOutputStream out, String text) {
        for (int i = 0; i < text.length(); ++i) LittleEndian.append16(out, text.charAt(i));
        LittleEndian.append16(out, 0);
    }

    private static void padToDword(ByteArrayOutputStream out) {
        while (out.size() % 4 != 0) out.write(0);
    }

    private static Block textBlock(String key, String value) {
        Block block = new Block(key);
        ByteArrayOutputStream out = new ByteArrayOutputStream();
        appendText(out, value);
        block.value = out.toByteArray();
        block.valueLength = value.length() + 1;
        block.text = true;
        return block;
    }

    private byte[] fixedFileInfo() {
        int[] n = number == null ? new int[4] : number;
        long high = (long) n[0] << 16 | n[1];
        long low = (long) n[2] << 16 | n[3];
        ByteArrayOutputStream out = new ByteArrayOutputStream();
        LittleEndian.append32(out, 0xFEEF04BDL);  // signature
        LittleEndian.append32(out, 0x00010000L);  // structure version 1.0
        LittleEndian.append32(out, high);         // file version
        LittleEndian.append32(out, low);
        LittleEndian.append32(out, high);         // product version
        LittleEndian.append32(out, low);
        LittleEndian.append32(out, 0x3F);         // flags mask: every defined flag
        LittleEndian.append32(out, 0);            // flags: a release build
        LittleEndian.append32(out, 0x00040004L);  // VOS_NT_WINDOWS32
        LittleEndian.append32(out, 1);            // VFT_APP
        LittleEndian.append32(out, 0);            // subtype
        LittleEndian.append32(out, 0);            // date
        LittleEndian.append32(out, 0);
        return out.toByteArray();
    }

    /** The resource's bytes. */
    byte[] encode() {
        Block table = new Block("040904B0");  // US English, Unicode
        table.text = true;
        String version = "";
        if (number != null) version = number[0] + "." + number[1] + "." + number[2] + "." + number[3];
        String[][] strings = {
            {"CompanyName", company}, {"FileDescription", description}, {"FileVersion", version},
            {"LegalCopyright", copyright}, {"ProductName", product}, {"ProductVersion", version},
        };
        for (String[] s : strings)
            if (!s[1].isEmpty()) table.children.add(textBlock(s[0], s[1]));
        Block stringInfo = new Block("StringFileInfo");
        stringInfo.text = true;
        stringInfo.children.add(table);

        Block translation = new Block("Translation");
        ByteArrayOutputStream value = new ByteArrayOutputStream();
        LittleEndian.append16(value, 0x0409);
        LittleEndian.append16(value, 1200);
        translation.value = value.toByteArray();
        translation.valueLength = 4;
        Block varInfo = new Block("VarFileInfo");
        varInfo.text = true;
        varInfo.children.add(translation);

        Block root = new Block("VS_VERSION_INFO");
        root.value = fixedFileInfo();
        root.valueLength = root.value.length;
        root.children.add(stringInfo);
        root.children.add(varInfo);
        return root.encode();
    }
}
