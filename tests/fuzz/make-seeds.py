#!/usr/bin/env python3
"""Writes the seed corpus of each fuzz target into corpus/<target>/.

The seeds are small, real-looking inputs: command lines a shortcut would
pass, -version outputs of old and new runtimes, VM options files with CR LF
line ends, property texts, and a hand-made minimal 32-bit GUI executable
with an import table. Run again after changing it; the files are kept in
the repository so the fuzzers need no Python.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def put(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    if isinstance(data, str):
        data = data.encode("latin-1")
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def command_lines():
    lines = {
        "empty": "",
        "console": "-c",
        "debug": "/d",
        "console-debug": "-c -d",
        "trailing-blank": "-d ",
        "arguments": "-c -p input.txt --verbose",
        "arguments-quoted": '/d /p "C:\\Program Files\\data" -x',
        "unknown-letter": "-x -c",
        "two-letters": "-cd",
        "prefix-at-end": "-c -",
        "quote": '"-c"',
        "tab": "-c\t-d",
        "many-blanks": "   -c    -d   ",
    }
    for name, text in lines.items():
        put("launcher_options", name, text)


def vm_options():
    files = {
        "crlf": "-Xmx512m\r\n-Dapp.home=C:\\App\r\n",
        "lf-no-final": "-Xms64m\n-Xmx256m",
        "empty": "",
        "blank-lines": "\n\n-Dx=1\n\n",
        "nul": "-Xmx1g\x00-Dhidden=1\n-Dnext=2\n",
        "long-line": "-D" + "a" * 4100 + "\n-Dafter=1\n",
        "exact-line": "-D" + "b" * 4093 + "\n-Dafter=1\n",
        "ctrl-z": "-Xmx1g\r\n\x1a-Dafter=1\r\n",
    }
    for name, text in files.items():
        put("vm_options", name, text)


def versions():
    outputs = {
        "legacy-crlf": 'java version "1.6.0_03"\r\nJava(TM) SE Runtime Environment (build 1.6.0_03-b05)\r\n',
        "modern": 'openjdk version "17.0.15" 2025-04-15\nOpenJDK Runtime Environment (build 17.0.15+6)\n',
        "legacy-open": 'openjdk version "1.8.0_392"\nOpenJDK Runtime Environment\n',
        "picked-up": 'Picked up _JAVA_OPTIONS: -Dx="a b"\njava version "1.4.2_19"\n',
        "no-quote": 'java version "1.7.0\r\nmore\n',
        "early-access": 'openjdk version "21-ea" 2023-09-19\n',
        "huge-component": 'java version "99999999999999999999.1"\n',
        # Pairs for the comparison: minimum, version, third (length-prefixed
        # by the data provider from the end).
        "pair": "1.6\x001.8.0_202\x0011.0.2",
    }
    for name, text in outputs.items():
        put("version", name, text)


def properties():
    texts = {
        "int": "3",
        "int-with-tail": "  -42 seconds",
        "not-number": "true",
        "empty": "",
        "nul-inside": "7\x00ignored",
        "near-first-buffer": "x" * 253,
        "at-first-buffer": "y" * 254,
        "grown": "-Xmx512m " * 60,
        "overflow": "99999999999999",
        "class-path": "lib\\app.jar;lib\\util.jar",
    }
    for name, text in texts.items():
        put("properties", name, text)


def dialog_templates():
    # The data provider reads integers from the end and strings from the
    # front; any bytes make a template, these only vary the lengths.
    put("dialog_template", "short", b"Java not found\x00\x01" + b"\x00" * 8)
    put("dialog_template", "accented", "Démarrage impossible\\\x80\x99 text".encode("latin-1") + b"\x07\x00\x8c\x00")
    put("dialog_template", "long-caption", b"C" * 300 + b"\\" + b"T" * 200 + b"\x03\x40\x00\x96\x00")


def minimal_pe():
    """A 32-bit GUI image: DOS header, PE header, one section holding an
    import table for two DLLs."""
    section_rva = 0x1000
    file_align = 0x200
    # The .idata content: two descriptors and the terminator, then the
    # names and empty thunk lists.
    names = [b"KERNEL32.dll\x00", b"USER32.dll\x00"]
    descriptors_size = 20 * 3
    thunk_offset = descriptors_size
    names_offset = thunk_offset + 8 * len(names)
    idata = bytearray()
    name_rvas = []
    at = names_offset
    for n in names:
        name_rvas.append(section_rva + at)
        at += len(n)
    for i in range(len(names)):
        thunk_rva = section_rva + thunk_offset + 8 * i
        idata += struct.pack("<IIIII", thunk_rva, 0, 0, name_rvas[i], thunk_rva)
    idata += b"\x00" * 20
    idata += b"\x00" * (8 * len(names))
    for n in names:
        idata += n
    raw_size = (len(idata) + file_align - 1) // file_align * file_align

    dos = bytearray(64)
    dos[0:2] = b"MZ"
    struct.pack_into("<I", dos, 0x3C, 64)
    optional_size = 224
    file_header = struct.pack("<HHIIIHH", 0x14C, 1, 0, 0, 0, optional_size, 0x0102)
    optional = bytearray(optional_size)
    struct.pack_into("<H", optional, 0, 0x10B)
    struct.pack_into("<I", optional, 16, section_rva)          # entry point
    struct.pack_into("<I", optional, 28, 0x400000)             # image base
    struct.pack_into("<II", optional, 32, 0x1000, file_align)  # alignments
    struct.pack_into("<H", optional, 40, 4)                    # OS version
    struct.pack_into("<I", optional, 56, section_rva + 0x1000) # image size
    struct.pack_into("<I", optional, 60, file_align)           # headers size
    struct.pack_into("<H", optional, 68, 2)                    # GUI
    struct.pack_into("<I", optional, 92, 16)                   # directories
    struct.pack_into("<II", optional, 96 + 8, section_rva, len(idata))
    section = struct.pack("<8sIIIIIIHHI", b".idata", len(idata), section_rva, raw_size, file_align,
                          0, 0, 0, 0, 0xC0000040)
    # The same section moved to address 0 with its raw pointer lowered by
    # the old address modulo 2^32: a 32-bit sum lands on the same bytes, the
    # true offset lies 4 GiB beyond the file.
    wrapped = struct.pack("<8sIIIIIIHHI", b".idata", len(idata) + section_rva, 0, raw_size + section_rva,
                          (file_align - section_rva) & 0xFFFFFFFF, 0, 0, 0, 0, 0xC0000040)
    for name, table in (("minimal-gui", section), ("regression-wrapped-raw-pointer", wrapped)):
        headers = dos + b"PE\x00\x00" + file_header + optional + table
        headers += b"\x00" * (file_align - len(headers))
        image = headers + idata + b"\x00" * (raw_size - len(idata))
        put("pe_image", name, bytes(image))
    put("pe_image", "truncated", bytes(image[:300]))

    # Then a resource section after the imports, for the writer's round
    # trip: a string block 7 (neutral) and a named type LOGO/1 (US English).
    rsrc_rva = section_rva + 0x1000
    def directory(entries):
        named = sum(1 for name, _ in entries if name & 0x80000000)
        out = struct.pack("<IIHHHH", 0, 0, 0, 0, named, len(entries) - named)
        for name, target in entries:
            out += struct.pack("<II", name, target)
        return out
    # root (2 entries) 32 bytes at 0; type dirs at 32 and 56; name dirs at 80
    # and 104; data entries at 128 and 144; the name "LOGO" at 160; data at 176.
    tree = directory([(0x80000000 | 160, 0x80000000 | 32), (6, 0x80000000 | 56)])
    tree += directory([(1, 0x80000000 | 80)]) + directory([(7, 0x80000000 | 104)])
    tree += directory([(0x409, 128)]) + directory([(0, 144)])
    strings = b"\x03\x00a\x00b\x00c\x00" + b"\x00\x00" * 15
    tree += struct.pack("<IIII", rsrc_rva + 176, 4, 0, 0) + struct.pack("<IIII", rsrc_rva + 184, len(strings), 0, 0)
    tree += struct.pack("<H", 4) + "LOGO".encode("utf-16-le") + b"\x00" * 6
    tree += b"\x89PNG" + b"\x00" * 4 + strings

    def with_tree(tree):
        rsrc_raw = (len(tree) + file_align - 1) // file_align * file_align
        rsrc = struct.pack("<8sIIIIIIHHI", b".rsrc", len(tree), rsrc_rva, rsrc_raw, file_align + raw_size,
                           0, 0, 0, 0, 0x40000040)
        two = bytearray(file_header)
        struct.pack_into("<H", two, 2, 2)
        optional2 = bytearray(optional)
        struct.pack_into("<I", optional2, 56, rsrc_rva + ((rsrc_raw + 0xFFF) & ~0xFFF))
        struct.pack_into("<II", optional2, 96 + 16, rsrc_rva, len(tree))
        headers = dos + b"PE\x00\x00" + bytes(two) + optional2 + section + rsrc
        headers += b"\x00" * (file_align - len(headers))
        return headers + idata + b"\x00" * (raw_size - len(idata)) + tree + b"\x00" * (rsrc_raw - len(tree))
    put("pe_image", "with-resources", bytes(with_tree(tree)))

    # Three levels of N entries, every entry of a level pointing at the one
    # directory (or data entry) below: a small file that names N^3
    # resources unless shared parts are refused.
    n = 300
    level = 16 + 8 * n
    data_entry = 3 * level
    shared = directory([(k + 1, 0x80000000 | level) for k in range(n)])
    shared += directory([(k + 1, 0x80000000 | 2 * level) for k in range(n)])
    shared += directory([(k, data_entry) for k in range(n)])
    shared += struct.pack("<IIII", rsrc_rva + data_entry + 16, 4, 0, 0) + b"data"
    put("pe_image", "regression-shared-directory", bytes(with_tree(shared)))
    put("pe_image", "not-an-image", "#!/bin/sh\necho hello\n")


def string_blocks():
    def block(strings):
        out = b""
        for i in range(16):
            s = strings[i] if i < len(strings) else ""
            units = s.encode("utf-16-le")
            out += struct.pack("<H", len(units) // 2) + units
        return out

    put("string_block", "properties", block(["", "", "app.jar", "", "1.6", "Main", "", "", "", "3"]))
    put("string_block", "empty", block([]))
    put("string_block", "windres-padded", block(["a", "b"]) + b"\x00" * 6)
    put("string_block", "truncated", block(["abcdef"])[:5])


def bitmap_files():
    def bmp(width, height, bits, colours):
        row = ((width * bits + 31) // 32) * 4
        pixels = b"\x55" * (row * abs(height))
        offset = 14 + 40 + 4 * colours
        info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(pixels), 2835, 2835, colours, 0)
        head = b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset)
        return head + info + b"\0\0\0\0" * colours + pixels

    put("bitmap_file", "mono-40x30", bmp(40, 30, 1, 2))
    put("bitmap_file", "rgb-3x2-top-down", bmp(3, -2, 24, 0))
    put("bitmap_file", "cut-in-rows", bmp(40, 30, 1, 2)[:151])
    put("bitmap_file", "core-header", b"BM" + struct.pack("<IHHI", 26 + 6, 0, 0, 26) +
        struct.pack("<IHHHH", 12, 2, 1, 1, 24) + b"\0" * 6)
    put("bitmap_file", "gif", b"GIF89a\x01\x00\x01\x00\x00\x00\x00;")


if __name__ == "__main__":
    command_lines()
    vm_options()
    versions()
    properties()
    dialog_templates()
    minimal_pe()
    string_blocks()
    bitmap_files()
