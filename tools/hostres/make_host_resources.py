#!/usr/bin/env python3
"""make_host_resources: writes the reference host's icon and resource script.
   make_host_resources.py MODULE_RC OUT_DIR
The version is read from the module's version record, so the host and the module always carry the same one.
The icon is drawn here: a card with a red diamond on green felt, at 16, 32 and 48 pixels."""
import re
import struct
import sys

FELT = (0x1e, 0x6b, 0x34)
EDGE = (0x30, 0x30, 0x30)
CARD = (0xff, 0xff, 0xff)
RED = (0xd0, 0x10, 0x10)


def read_version(rc_text):
    match = re.search(r'^\s*FILEVERSION\s+(\d+)\s*,\s*(\d+)\s*,\s*(\d+)\s*,\s*(\d+)', rc_text, re.M)
    if not match:
        raise SystemExit('make_host_resources: no FILEVERSION line in the module\'s resource script')
    return tuple(int(part) for part in match.groups())


def pixel(size, x, y):
    """Colour at (x, y), top row 0, or None where the icon is transparent."""
    u, v = (x + 0.5) / size, (y + 0.5) / size
    # Rounded felt square behind a card standing slightly right of centre.
    corner = 0.18
    cu, cv = min(max(u, corner), 1 - corner), min(max(v, corner), 1 - corner)
    if (u - cu) ** 2 + (v - cv) ** 2 > corner ** 2:
        return None
    left, right, top, bottom = 0.22, 0.78, 0.1, 0.9
    if not (left <= u <= right and top <= v <= bottom):
        return FELT
    line = max(1.0 / size, 0.04)
    if u < left + line or u > right - line or v < top + line or v > bottom - line:
        return EDGE
    if abs(u - 0.5) / 0.2 + abs(v - 0.5) / 0.3 <= 1:
        return RED
    return CARD


def icon_image(size):
    """One icon image: BITMAPINFOHEADER, 32-bit BGRA rows bottom up, then the AND mask."""
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colours = bytearray()
    mask = bytearray()
    mask_stride = ((size + 31) // 32) * 4
    for y in reversed(range(size)):
        row_mask = bytearray(mask_stride)
        for x in range(size):
            colour = pixel(size, x, y)
            if colour is None:
                colours += b'\0\0\0\0'
                row_mask[x // 8] |= 0x80 >> (x % 8)
            else:
                colours += bytes((colour[2], colour[1], colour[0], 0xff))
        mask += row_mask
    return header + bytes(colours) + bytes(mask)


def icon_file(sizes):
    images = [icon_image(size) for size in sizes]
    data = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(sizes, images):
        data += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return data + b''.join(images)


RC = '''// Made by tools/hostres/make_host_resources.py: the host's icon and version record.
#include <windows.h>

LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US

1 ICON "quorvane.ico"

VS_VERSION_INFO VERSIONINFO
FILEVERSION     {commas}
PRODUCTVERSION  {commas}
FILEFLAGSMASK   VS_FFI_FILEFLAGSMASK
FILEFLAGS       0
FILEOS          VOS_NT_WINDOWS32
FILETYPE        VFT_APP
FILESUBTYPE     VFT2_UNKNOWN
BEGIN
    BLOCK "StringFileInfo"
    BEGIN
        BLOCK "040904B0"
        BEGIN
            VALUE "CompanyName",        "The VideoPoker authors"
            VALUE "FileDescription",    "Quorvane, the panel host for Video Poker"
            VALUE "FileVersion",        "{dots}"
            VALUE "InternalName",       "quorvane"
            VALUE "LegalCopyright",     "Copyright (C) 2026 the VideoPoker authors"
            VALUE "OriginalFilename",   "quorvane.exe"
            VALUE "ProductName",        "Video Poker"
            VALUE "ProductVersion",     "{dots}"
        END
    END
    BLOCK "VarFileInfo"
    BEGIN
        VALUE "Translation", 0x409, 1200
    END
END
'''


def write_if_changed(path, data):
    try:
        with open(path, 'rb') as old:
            if old.read() == data:
                return
    except OSError:
        pass
    with open(path, 'wb') as new:
        new.write(data)


def main():
    if len(sys.argv) != 3:
        raise SystemExit('usage: make_host_resources.py MODULE_RC OUT_DIR')
    with open(sys.argv[1], encoding='utf-8') as rc:
        version = read_version(rc.read())
    out = sys.argv[2]
    write_if_changed(out + '/quorvane.ico', icon_file([16, 32, 48]))
    text = RC.format(commas=', '.join(map(str, version)), dots='.'.join(map(str, version)))
    write_if_changed(out + '/quorvane.rc', text.encode('utf-8'))


main()
