package org.jarstart.configure;

import java.io.ByteArrayOutputStream;

/** The little-endian numbers of Windows file formats. */
final class LittleEndian {
    private LittleEndian() {}

    static int u16(byte[] b, long at) {
        int i = (int) at;
        return (b[i] & 0xFF) | (b[i + 1] & 0xFF) << 8;
    }

    static long u32(byte[] b, long at) {
        return u16(b, at) | (long) u16(b, at + 2) << 16;
    }

    /** True when [at, at + size) lies inside b. */
    static boolean fits(byte[] b, long at, long size) {
        return at >= 0 && at <= b.length && b.length - at >= size;
    }

    static void put16(byte[] b, long at, long value) {
        b[(int) at] = (byte) value;
        b[(int) at + 1] = (byte) (value >>> 8);
    }

    static void put32(byte[] b, long at, long value) {
        put16(b, at, value & 0xFFFF);
        put16(b, at + 2, (value >>> 16) & 0xFFFF);
    }

    static void append16(ByteArrayOutputStream out, long value) {
        out.write((int) (value & 0xFF));
        out.write((int) ((value >>> 8) & 0xFF));
    }

    static void append32(ByteArrayOutputStream out, long value) {
        append16(out, value & 0xFFFF);
        append16(out, (value >>> 16) & 0xFFFF);
    }

    static long alignUp(long value, long alignment) {
        return (value + alignment - 1) / alignment * alignment;
    }
}
