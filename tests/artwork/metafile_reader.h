// metafile_reader.h: an independent reader of 16-bit Windows memory metafiles, for checking the artwork.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct WmfHeader {
    uint16_t type, headerWords, version;
    uint32_t totalWords;
    uint16_t objectCount;
    uint32_t largestRecordWords;
    uint16_t parameterCount;
};

struct WmfRecord {
    size_t byteOffset;
    uint32_t words;                  // the record's own size field
    uint16_t function;
    std::vector<uint16_t> params;    // everything after the function number
};

struct WmfFile {
    WmfHeader header;
    std::vector<WmfRecord> records;  // up to and including the end-of-file record
};

// Reads header and records; false with a reason when the bytes are not a well-formed memory metafile
// (short header, a record running past the end or shorter than 3 words, bytes after the end-of-file
// record, no end-of-file record).
bool ReadWmf(const std::vector<uint8_t> &bytes, WmfFile &file, std::string &error);

// ---- What the records do, replayed on a model of the playback's object table ----

struct WmfObject {
    enum Kind { Pen, Brush } kind;
    uint16_t style;                  // PS_* or BS_*
    uint32_t colour;                 // COLORREF, 0x00BBGGRR
};

struct WmfPoint {
    int x, y;
};

// One drawing record with the pen and brush in effect when it was played.
struct WmfShape {
    uint16_t function;               // polygon, poly-polygon or polyline
    std::vector<std::vector<WmfPoint>> rings;
    WmfObject pen, brush;
};

struct WmfReplay {
    int windowOrgX = 0, windowOrgY = 0, windowExtX = 0, windowExtY = 0;
    bool sawOrg = false, sawExt = false;
    int rop2 = 0, fillMode = 0;      // as last set, 0 if never
    std::vector<WmfObject> created;  // in creation order
    std::vector<WmfShape> shapes;
};

// False with a reason when a record refers to an object slot that holds nothing, or a drawing record
// is malformed (counts that do not match its size).
bool ReplayWmf(const WmfFile &file, WmfReplay &replay, std::string &error);

enum : uint16_t {
    WmfEof = 0x0000, WmfSetRop2 = 0x0104, WmfSetPolyFillMode = 0x0106, WmfSetWindowOrg = 0x020B,
    WmfSetWindowExt = 0x020C, WmfSelectObject = 0x012D, WmfCreatePen = 0x02FA, WmfCreateBrush = 0x02FC,
    WmfDeleteObject = 0x01F0, WmfPolygon = 0x0324, WmfPolyline = 0x0325, WmfPolyPolygon = 0x0538,
};
