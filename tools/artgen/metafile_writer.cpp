// metafile_writer.cpp: record encoding of the 16-bit Windows metafile format.
#include "metafile_writer.h"

namespace {

enum : uint16_t { PenSolid = 0, PenNull = 5, BrushSolid = 0, BrushNull = 1 };

// Appends one record: size in words (32-bit), function, parameters.
void AddRecord(MetafileWriter &mf, uint16_t function, const std::vector<uint16_t> &params)
{
    uint32_t size = 3 + static_cast<uint32_t>(params.size());
    mf.words.push_back(static_cast<uint16_t>(size & 0xFFFF));
    mf.words.push_back(static_cast<uint16_t>(size >> 16));
    mf.words.push_back(function);
    mf.words.insert(mf.words.end(), params.begin(), params.end());
    if (size > mf.largestRecord)
        mf.largestRecord = size;
}

uint16_t Word(int value) { return static_cast<uint16_t>(static_cast<int16_t>(value)); }

void AppendPoints(std::vector<uint16_t> &params, const Ring &points)
{
    for (const Point16 &p : points) {
        params.push_back(Word(p.x));
        params.push_back(Word(p.y));
    }
}

uint16_t CreatePen(MetafileWriter &mf, uint16_t style, uint32_t colour)
{
    // LOGPEN16: style, width as a point (0 = one device pixel at any scale), colour.
    AddRecord(mf, RecordCreatePen, {style, 0, 0, Word(colour & 0xFFFF), Word(colour >> 16)});
    return mf.objectCount++;
}

uint16_t CreateBrush(MetafileWriter &mf, uint16_t style, uint32_t colour)
{
    // LOGBRUSH16: style, colour, hatch.
    AddRecord(mf, RecordCreateBrush, {style, Word(colour & 0xFFFF), Word(colour >> 16), 0});
    return mf.objectCount++;
}

} // namespace

// Both window records carry y before x.
void SetWindowOrg(MetafileWriter &mf, int x, int y) { AddRecord(mf, RecordSetWindowOrg, {Word(y), Word(x)}); }
void SetWindowExt(MetafileWriter &mf, int x, int y) { AddRecord(mf, RecordSetWindowExt, {Word(y), Word(x)}); }
void SetRop2(MetafileWriter &mf, uint16_t mode) { AddRecord(mf, RecordSetRop2, {mode, 0}); }
void SetPolyFillMode(MetafileWriter &mf, uint16_t mode) { AddRecord(mf, RecordSetPolyFillMode, {mode, 0}); }

uint16_t CreateSolidPen(MetafileWriter &mf, uint32_t colour) { return CreatePen(mf, PenSolid, colour); }
uint16_t CreateNullPen(MetafileWriter &mf) { return CreatePen(mf, PenNull, 0); }
uint16_t CreateSolidBrush(MetafileWriter &mf, uint32_t colour) { return CreateBrush(mf, BrushSolid, colour); }
uint16_t CreateNullBrush(MetafileWriter &mf) { return CreateBrush(mf, BrushNull, 0); }

void SelectObject(MetafileWriter &mf, uint16_t slot) { AddRecord(mf, RecordSelectObject, {slot}); }

void Polygon(MetafileWriter &mf, const Ring &ring)
{
    std::vector<uint16_t> params{Word(static_cast<int>(ring.size()))};
    AppendPoints(params, ring);
    AddRecord(mf, RecordPolygon, params);
}

void Polyline(MetafileWriter &mf, const Ring &points)
{
    std::vector<uint16_t> params{Word(static_cast<int>(points.size()))};
    AppendPoints(params, points);
    AddRecord(mf, RecordPolyline, params);
}

void PolyPolygon(MetafileWriter &mf, const std::vector<Ring> &rings)
{
    std::vector<uint16_t> params{Word(static_cast<int>(rings.size()))};
    for (const Ring &ring : rings)
        params.push_back(Word(static_cast<int>(ring.size())));
    for (const Ring &ring : rings)
        AppendPoints(params, ring);
    AddRecord(mf, RecordPolyPolygon, params);
}

std::vector<uint8_t> FinishMetafile(MetafileWriter &mf)
{
    AddRecord(mf, RecordEndOfFile, {});
    const uint32_t totalWords = 9 + static_cast<uint32_t>(mf.words.size());
    std::vector<uint16_t> all = {
        1,                                  // memory metafile
        9,                                  // header size in words
        0x0300,                             // version
        static_cast<uint16_t>(totalWords & 0xFFFF), static_cast<uint16_t>(totalWords >> 16),
        mf.objectCount,
        static_cast<uint16_t>(mf.largestRecord & 0xFFFF), static_cast<uint16_t>(mf.largestRecord >> 16),
        0,                                  // no parameters
    };
    all.insert(all.end(), mf.words.begin(), mf.words.end());
    std::vector<uint8_t> bytes;
    bytes.reserve(all.size() * 2);
    for (uint16_t w : all) {
        bytes.push_back(static_cast<uint8_t>(w & 0xFF));
        bytes.push_back(static_cast<uint8_t>(w >> 8));
    }
    return bytes;
}
