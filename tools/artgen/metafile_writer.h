// metafile_writer.h: builds a 16-bit Windows memory metafile record by record.
#pragma once

#include <cstdint>
#include <vector>

struct Point16 {
    int16_t x, y;
};

typedef std::vector<Point16> Ring;                 // a closed polygon; the last point joins the first

// Record function numbers of the 16-bit metafile format that the artwork uses.
enum : uint16_t {
    RecordEndOfFile = 0x0000,
    RecordSetRop2 = 0x0104,
    RecordSetPolyFillMode = 0x0106,
    RecordSetWindowOrg = 0x020B,
    RecordSetWindowExt = 0x020C,
    RecordSelectObject = 0x012D,
    RecordCreatePen = 0x02FA,
    RecordCreateBrush = 0x02FC,
    RecordPolygon = 0x0324,
    RecordPolyline = 0x0325,
    RecordPolyPolygon = 0x0538,
};

constexpr uint32_t Black = 0x000000, White = 0xFFFFFF;
constexpr uint32_t Red = 0x0000FF, Yellow = 0x00FFFF;   // COLORREF byte order: 0x00BBGGRR

struct MetafileWriter {
    std::vector<uint16_t> words;      // the records so far, without the 9-word header
    uint32_t largestRecord = 0;       // in words
    uint16_t objectCount = 0;         // objects created; none is ever deleted, so slots are 0, 1, ...
};

void SetWindowOrg(MetafileWriter &mf, int x, int y);
void SetWindowExt(MetafileWriter &mf, int x, int y);
void SetRop2(MetafileWriter &mf, uint16_t mode);
void SetPolyFillMode(MetafileWriter &mf, uint16_t mode);
// Each returns the object's slot in the playback's handle table.
uint16_t CreateSolidPen(MetafileWriter &mf, uint32_t colour);
uint16_t CreateNullPen(MetafileWriter &mf);
uint16_t CreateSolidBrush(MetafileWriter &mf, uint32_t colour);
uint16_t CreateNullBrush(MetafileWriter &mf);
void SelectObject(MetafileWriter &mf, uint16_t slot);
void Polygon(MetafileWriter &mf, const Ring &ring);
void Polyline(MetafileWriter &mf, const Ring &points);
void PolyPolygon(MetafileWriter &mf, const std::vector<Ring> &rings);

// The finished file: header, records, end-of-file record; little-endian bytes.
std::vector<uint8_t> FinishMetafile(MetafileWriter &mf);
