#!/usr/bin/python3
# check_module.py: reads the shipped 32-bit VideoPoker.dll with pefile and checks what a host relies on.
#   check_module.py MODULE ARTWORK_SIZES_HEADER [MAX_BYTES]
import re
import struct
import sys

import pefile

SYSTEM_DLLS = {"KERNEL32.DLL", "USER32.DLL", "GDI32.DLL", "MSVCRT.DLL"}
EXPORTS = ["EnumeratePanelTypes", "InitVideoPokerToolType", "VideoPokerToolCleanup", "VideoPokerToolCreate"]
ENGLISH_US = 1033

# Strings: id -> (exact text, or None where only the length is fixed; smallest buffer any user gives).
HAND_NAMES = ["Royal Flush", "Straight Flush", "Four of a Kind", "Full House", "Flush", "Straight",
              "Three of a Kind", "Two Pair", "Jacks or Better"]
STRINGS = {
    114: ("Properties...", 100), 116: ("Video Poker", 20), 118: ("Video Poker Tool for Quorvane", 80),
    120: ("About Video Poker...", 100), 122: (None, 100), 124: (None, 100), 125: ("Arial", 32),
    126: ("+1", 32), 127: ("Bet 5", 32), 128: ("Deal", 32), 129: ("Draw", 32), 130: ("Video Poker", 32),
    140: ("WAGER: ", 32), 141: ("CREDITS: ", 32), 142: ("New Game", 32), 143: ("Coins Played", 32),
}
STRINGS.update({131 + r: (name, 32) for r, name in enumerate(HAND_NAMES)})

PAGE_IDS = {119, 1048, 1050} | set(range(1058, 1067)) | {1067} | set(range(1077, 1086)) \
    | set(range(1087, 1127))
ABOUT_IDS = {1, 115, 121, 123}

WS_POPUP, WS_CHILD, WS_VISIBLE, WS_CAPTION, WS_SYSMENU = 0x80000000, 0x40000000, 0x10000000, 0xC00000, 0x80000
DS_MODALFRAME, DS_3DLOOK, DS_SETFONT = 0x80, 0x4, 0x40

# The 16 colours of the standard VGA palette, in their usual order, as (blue, green, red).
STANDARD_16 = [(0, 0, 0), (0, 0, 128), (0, 128, 0), (0, 128, 128), (128, 0, 0), (128, 0, 128),
               (128, 128, 0), (192, 192, 192), (128, 128, 128), (0, 0, 255), (0, 255, 0), (0, 255, 255),
               (255, 0, 0), (255, 0, 255), (255, 255, 0), (255, 255, 255)]

failures = []


def expect(condition, message):
    if not condition:
        failures.append(message)
    return condition


def check_header(pe):
    expect(pe.FILE_HEADER.Machine == pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_I386"], "machine is not i386")
    expect(pe.OPTIONAL_HEADER.Magic == pefile.OPTIONAL_HEADER_MAGIC_PE, "not a PE32 image")
    expect(pe.FILE_HEADER.Characteristics & pefile.IMAGE_CHARACTERISTICS["IMAGE_FILE_DLL"], "not a DLL")
    # Stripped: no COFF symbols and no debug sections left behind.
    expect(pe.FILE_HEADER.PointerToSymbolTable == 0 and pe.FILE_HEADER.NumberOfSymbols == 0,
           "the module carries a symbol table (not stripped)")
    debug = [s.Name.rstrip(b"\0").decode() for s in pe.sections if s.Name.startswith(b".debug")]
    expect(not debug, "debug sections left in the module: %s" % debug)


def check_exports(pe):
    if not expect(hasattr(pe, "DIRECTORY_ENTRY_EXPORT"), "no export table"):
        return
    table = pe.DIRECTORY_ENTRY_EXPORT
    expect(table.name == b"VideoPoker.dll", "export module name is %r" % table.name)
    found = [((s.name or b"").decode(), s.ordinal) for s in table.symbols]
    wanted = [(name, ordinal) for ordinal, name in enumerate(sorted(EXPORTS), start=1)]
    expect(sorted(found, key=lambda e: e[1]) == wanted, "exports are %s, expected %s" % (found, wanted))


def check_imports(pe):
    pe.parse_data_directories()
    names = {entry.dll.decode().upper() for entry in getattr(pe, "DIRECTORY_ENTRY_IMPORT", [])}
    expect(names <= SYSTEM_DLLS, "imports from non-system DLLs: %s" % sorted(names - SYSTEM_DLLS))
    expect({"KERNEL32.DLL", "USER32.DLL", "GDI32.DLL"} <= names, "missing system imports: %s" % sorted(names))
    expect(not hasattr(pe, "DIRECTORY_ENTRY_DELAY_IMPORT"), "delay-loaded imports present")


def resource_leaves(pe):
    """Yields (type, id, language, bytes) for every resource; type is an int or a name."""
    for type_entry in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        kind = str(type_entry.name) if type_entry.name is not None else type_entry.id
        for name_entry in type_entry.directory.entries:
            ident = str(name_entry.name) if name_entry.name is not None else name_entry.id
            for lang_entry in name_entry.directory.entries:
                data = lang_entry.data.struct
                yield kind, ident, lang_entry.id, pe.get_data(data.OffsetToData, data.Size)


def decode_string_block(block_id, data):
    strings, offset = {}, 0
    for index in range(16):
        (length,) = struct.unpack_from("<H", data, offset)
        offset += 2
        if length:
            strings[(block_id - 1) * 16 + index] = data[offset:offset + 2 * length].decode("utf-16-le")
        offset += 2 * length
    return strings


def check_strings(blocks):
    strings = {}
    for block_id, data in blocks.items():
        strings.update(decode_string_block(block_id, data))
    expect(set(strings) == set(STRINGS), "string ids %s, expected %s" % (sorted(strings), sorted(STRINGS)))
    for ident, (text, buffer) in STRINGS.items():
        actual = strings.get(ident)
        if actual is None:
            continue
        if text is not None:
            expect(actual == text, "string %d is %r, expected %r" % (ident, actual, text))
        expect(0 < len(actual.encode("cp1252", "replace")) < buffer,
               "string %d (%r) does not fit its %d-byte buffer" % (ident, actual, buffer))


def parse_sizes_header(path):
    text = open(path).read()
    body = re.search(r"\{([^}]*)\}", text)
    if not body:
        return []
    return [int(n) for n in re.findall(r"\b\d+\b", re.sub(r"/\*.*?\*/|//[^\n]*", "", body.group(1), flags=re.S))]


def check_metafiles(metafiles, sizes):
    expect(sorted(metafiles) == list(range(231, 262)), "METAFILE ids %s, expected 231..261" % sorted(metafiles))
    expect(len(sizes) == 31, "the table of sizes has %d entries, expected 31" % len(sizes))
    for ident, data in sorted(metafiles.items()):
        if 231 <= ident <= 261 and len(sizes) == 31:
            expect(len(data) == sizes[ident - 231],
                   "METAFILE %d is %d bytes, the table says %d" % (ident, len(data), sizes[ident - 231]))
        kind, header_words, version, size_words = struct.unpack_from("<HHHI", data, 0)
        expect((kind, header_words, version) == (1, 9, 0x300), "METAFILE %d: not a memory metafile header" % ident)
        expect(size_words * 2 == len(data), "METAFILE %d: header size %d words for %d bytes"
               % (ident, size_words, len(data)))
        expect(data[-6:] == b"\x03\x00\x00\x00\x00\x00", "METAFILE %d does not end with the end record" % ident)
        objects = created_objects(data)
        fills = {0x00FFFF, 0x000000} if ident == 261 else {0x0000FF if 244 <= ident <= 256 or ident in (258, 259)
                                                          else 0x000000}
        wanted = {("brush", 1, None), ("pen", 0, 0x000000), ("pen", 5, None), ("brush", 0, 0xFFFFFF)}
        wanted |= {("brush", 0, colour) for colour in fills}
        expect(wanted <= objects, "METAFILE %d lacks objects %s" % (ident, sorted(wanted - objects, key=str)))


def created_objects(data):
    """The pens and brushes a metafile creates, as (kind, style, colour or None for a null object)."""
    objects, offset = set(), 18
    while offset + 6 <= len(data):
        size_words, function = struct.unpack_from("<IH", data, offset)
        if size_words < 3:
            break
        if function == 0x02FA:      # CreatePenIndirect: style, width point, colour
            style, = struct.unpack_from("<H", data, offset + 6)
            colour, = struct.unpack_from("<I", data, offset + 12)
            objects.add(("pen", style, None if style == 5 else colour))
        elif function == 0x02FC:    # CreateBrushIndirect: style, colour, hatch
            style, colour = struct.unpack_from("<HI", data, offset + 6)
            objects.add(("brush", style, None if style == 1 else colour))
        offset += size_words * 2
    return objects


def check_bitmaps(bitmaps):
    expect(sorted(bitmaps) == [110, 111], "bitmap ids %s, expected 110 and 111" % sorted(bitmaps))
    for ident, bits in ((110, 4), (111, 1)):
        data = bitmaps.get(ident)
        if data is None:
            continue
        size, width, height, planes, depth = struct.unpack_from("<IiiHH", data, 0)
        expect((size, width, abs(height), planes, depth) == (40, 16, 16, 1, bits),
               "bitmap %d is %dx%d at %d bits, expected 16x16 at %d" % (ident, width, height, depth, bits))
        palette = [tuple(data[40 + 4 * i:43 + 4 * i]) for i in range(1 << bits)]
        if ident == 110:
            expect(palette == STANDARD_16, "bitmap 110 does not use the standard 16-colour palette")
        else:
            expect(palette == [(0, 0, 0), (255, 255, 255)], "bitmap 111's palette is not black and white")
            rows = data[40 + 8:]
            expect(len(rows) >= 16 * 4 and not any(rows[:16 * 4]), "bitmap 111 has bits set")


def read_sz_or_ord(data, offset):
    (first,) = struct.unpack_from("<H", data, offset)
    if first == 0xFFFF:
        return struct.unpack_from("<H", data, offset + 2)[0], offset + 4
    end = offset
    while struct.unpack_from("<H", data, end)[0] != 0:
        end += 2
    return data[offset:end].decode("utf-16-le"), end + 2


def parse_dialog(data):
    """Returns the template's fields and its controls from a standard or an extended template."""
    extended = data[:4] == b"\x01\x00\xff\xff"
    if extended:
        _, exstyle, style, count, x, y, cx, cy = struct.unpack_from("<IIIHhhhh", data, 4)
        offset = 26
    else:
        style, exstyle, count, x, y, cx, cy = struct.unpack_from("<IIHhhhh", data, 0)
        offset = 18
    dialog = dict(extended=extended, style=style, exstyle=exstyle, rect=(x, y, cx, cy), font=None)
    dialog["menu"], offset = read_sz_or_ord(data, offset)
    dialog["class"], offset = read_sz_or_ord(data, offset)
    dialog["caption"], offset = read_sz_or_ord(data, offset)
    if style & DS_SETFONT:
        if extended:
            points, weight, italic, charset = struct.unpack_from("<HHBB", data, offset)
            offset += 6
        else:
            (points,) = struct.unpack_from("<H", data, offset)
            weight = italic = charset = None    # the standard template names only size and face
            offset += 2
        face, offset = read_sz_or_ord(data, offset)
        dialog["font"] = (points, face, weight, italic, charset)
    controls = []
    for _ in range(count):
        offset = (offset + 3) & ~3
        if extended:
            help_id, ex, st, x, y, cx, cy, ident = struct.unpack_from("<IIIhhhhI", data, offset)
            offset += 24
        else:
            st, ex, x, y, cx, cy, ident = struct.unpack_from("<IIhhhhH", data, offset)
            help_id = 0
            offset += 18
        kind, offset = read_sz_or_ord(data, offset)
        text, offset = read_sz_or_ord(data, offset)
        (extra,) = struct.unpack_from("<H", data, offset)
        offset += 2 + extra
        controls.append(dict(id=ident, kind=kind, text=text, style=st, exstyle=ex, rect=(x, y, cx, cy),
                             help=help_id))
    return dialog, controls


def check_dialogs(dialogs):
    expect(sorted(dialogs) == [112, 125], "dialog ids %s, expected 112 and 125" % sorted(dialogs))
    if 112 in dialogs:
        page, controls = parse_dialog(dialogs[112])
        expect(page["extended"], "dialog 112 is not an extended template")
        expect(page["style"] == WS_CHILD | WS_VISIBLE | DS_SETFONT, "dialog 112 style %#x" % page["style"])
        expect(page["rect"] == (5, 10, 280, 100), "dialog 112 at %s" % (page["rect"],))
        expect(page["caption"] == "" and page["menu"] == "" and page["class"] == "",
               "dialog 112 has a caption, menu or class of its own")
        expect(page["font"] == (8, "MS Sans Serif", 0, 0, 1), "dialog 112 font %s" % (page["font"],))
        expect(len(controls) == 62, "dialog 112 has %d controls, expected 62" % len(controls))
        expect({c["id"] for c in controls} == PAGE_IDS, "dialog 112 control ids differ from the page's")
        expect(not any(c["help"] for c in controls), "a control of dialog 112 carries a help id")
    if 125 in dialogs:
        about, controls = parse_dialog(dialogs[125])
        expect(not about["extended"], "dialog 125 is not a standard template")
        wanted = WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_3DLOOK | DS_SETFONT
        expect(about["style"] == wanted, "dialog 125 style %#x, expected %#x" % (about["style"], wanted))
        expect(about["exstyle"] == 0, "dialog 125 has an extended style")
        expect(about["rect"] == (0, 0, 186, 94), "dialog 125 at %s" % (about["rect"],))
        expect(about["caption"] == "About Poker", "dialog 125 caption %r" % about["caption"])
        expect(about["font"][:2] == (8, "MS Sans Serif"), "dialog 125 font %s" % (about["font"],))
        expect(len(controls) == 4, "dialog 125 has %d controls, expected 4" % len(controls))
        expect({c["id"] for c in controls} == ABOUT_IDS, "dialog 125 control ids differ from the About box's")


def check_version(pe):
    if not expect(hasattr(pe, "VS_FIXEDFILEINFO"), "no version record"):
        return
    fixed = pe.VS_FIXEDFILEINFO[0]
    expect((fixed.FileVersionMS, fixed.FileVersionLS) == (0x10000, 1), "file version is not 1.0.0.1")
    expect((fixed.ProductVersionMS, fixed.ProductVersionLS) == (0x10000, 1), "product version is not 1.0.0.1")
    expect(fixed.FileType == 2, "version file type %d is not a DLL" % fixed.FileType)
    tables = [t.LangID for info in pe.FileInfo[0] if info.Key == b"StringFileInfo" for t in info.StringTable]
    expect(b"040904b0" in [t.lower() for t in tables], "no US English Unicode string block: %s" % tables)


def check_resources(pe, sizes):
    strings, metafiles, bitmaps, dialogs, versions, others = {}, {}, {}, {}, [], []
    for kind, ident, language, data in resource_leaves(pe):
        expect(language == ENGLISH_US, "resource %s/%s has language %d" % (kind, ident, language))
        if kind == pefile.RESOURCE_TYPE["RT_STRING"]:
            strings[ident] = data
        elif kind == "METAFILE":
            metafiles[ident] = data
        elif kind == pefile.RESOURCE_TYPE["RT_BITMAP"]:
            bitmaps[ident] = data
        elif kind == pefile.RESOURCE_TYPE["RT_DIALOG"]:
            dialogs[ident] = data
        elif kind == pefile.RESOURCE_TYPE["RT_VERSION"]:
            versions.append(ident)
        else:
            others.append((kind, ident))
    expect(not others, "resources outside the catalog: %s" % others)
    expect(versions == [1], "version records %s, expected one with id 1" % versions)
    check_strings(strings)
    check_metafiles(metafiles, sizes)
    check_bitmaps(bitmaps)
    check_dialogs(dialogs)
    check_version(pe)


def main():
    if len(sys.argv) < 3:
        print("usage: check_module.py MODULE ARTWORK_SIZES_HEADER [MAX_BYTES]")
        return 2
    path, sizes_header = sys.argv[1], sys.argv[2]
    max_bytes = int(sys.argv[3]) if len(sys.argv) > 3 else 96 * 1024
    raw = open(path, "rb").read()
    print("%s: %d bytes (%.1f KiB)" % (path, len(raw), len(raw) / 1024))
    expect(len(raw) <= max_bytes, "the module is %d bytes, over the limit of %d" % (len(raw), max_bytes))
    # The About box's hidden caption is stored scrambled: nobody finds it by reading the file.
    for encoding in ("ascii", "utf-16-le"):
        expect("Royal flush at dawn".encode(encoding) not in raw, "the hidden caption is readable (%s)" % encoding)
    pe = pefile.PE(data=raw)
    check_header(pe)
    check_exports(pe)
    check_imports(pe)
    if expect(hasattr(pe, "DIRECTORY_ENTRY_RESOURCE"), "no resources"):
        check_resources(pe, parse_sizes_header(sizes_header))
    for failure in failures:
        print("FAIL: " + failure)
    print("%d problem(s)" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
