// metafile_reader.cpp: the checking reader; written from the file format, not from the generator.
#include "metafile_reader.h"

namespace {

uint16_t WordAt(const std::vector<uint8_t> &b, size_t at) { return static_cast<uint16_t>(b[at] | b[at + 1] << 8); }
uint32_t DwordAt(const std::vector<uint8_t> &b, size_t at) { return WordAt(b, at) | static_cast<uint32_t>(WordAt(b, at + 2)) << 16; }
int Signed(uint16_t w) { return static_cast<int16_t>(w); }

bool ReadPoints(const std::vector<uint16_t> &p, size_t at, size_t count, std::vector<WmfPoint> &out)
{
    if (at + 2 * count > p.size())
        return false;
    for (size_t i = 0; i < count; ++i)
        out.push_back(WmfPoint{Signed(p[at + 2 * i]), Signed(p[at + 2 * i + 1])});
    return true;
}

} // namespace

bool ReadWmf(const std::vector<uint8_t> &bytes, WmfFile &file, std::string &error)
{
    file = WmfFile{};
    if (bytes.size() < 18) {
        error = "shorter than a header";
        return false;
    }
    WmfHeader &h = file.header;
    h.type = WordAt(bytes, 0);
    h.headerWords = WordAt(bytes, 2);
    h.version = WordAt(bytes, 4);
    h.totalWords = DwordAt(bytes, 6);
    h.objectCount = WordAt(bytes, 10);
    h.largestRecordWords = DwordAt(bytes, 12);
    h.parameterCount = WordAt(bytes, 16);
    size_t at = 2 * static_cast<size_t>(h.headerWords);
    if (h.headerWords < 9 || at > bytes.size()) {
        error = "header size out of range";
        return false;
    }
    while (at < bytes.size()) {
        if (at + 6 > bytes.size()) {
            error = "record header cut off at byte " + std::to_string(at);
            return false;
        }
        WmfRecord r;
        r.byteOffset = at;
        r.words = DwordAt(bytes, at);
        r.function = WordAt(bytes, at + 4);
        if (r.words < 3 || at + 2 * static_cast<size_t>(r.words) > bytes.size()) {
            error = "record at byte " + std::to_string(at) + " has a bad size " + std::to_string(r.words);
            return false;
        }
        for (size_t i = 3; i < r.words; ++i)
            r.params.push_back(WordAt(bytes, at + 2 * i));
        at += 2 * static_cast<size_t>(r.words);
        file.records.push_back(r);
        if (r.function == WmfEof) {
            if (at != bytes.size()) {
                error = "bytes after the end-of-file record";
                return false;
            }
            return true;
        }
    }
    error = "no end-of-file record";
    return false;
}

bool ReplayWmf(const WmfFile &file, WmfReplay &replay, std::string &error)
{
    replay = WmfReplay{};
    std::vector<int> table(file.header.objectCount, -1);   // slot -> index into created
    WmfObject noPen{WmfObject::Pen, 0, 0}, noBrush{WmfObject::Brush, 0, 0xFFFFFF};   // a DC's defaults
    WmfObject pen = noPen, brush = noBrush;
    for (const WmfRecord &r : file.records) {
        const std::vector<uint16_t> &p = r.params;
        switch (r.function) {
        case WmfSetWindowOrg:
        case WmfSetWindowExt:
            if (p.size() < 2) {
                error = "short window record";
                return false;
            }
            if (r.function == WmfSetWindowOrg) {
                replay.windowOrgY = Signed(p[0]);
                replay.windowOrgX = Signed(p[1]);
                replay.sawOrg = true;
            } else {
                replay.windowExtY = Signed(p[0]);
                replay.windowExtX = Signed(p[1]);
                replay.sawExt = true;
            }
            break;
        case WmfSetRop2:
        case WmfSetPolyFillMode:
            if (p.empty()) {
                error = "mode record without a mode";
                return false;
            }
            (r.function == WmfSetRop2 ? replay.rop2 : replay.fillMode) = p[0];
            break;
        case WmfCreatePen:
        case WmfCreateBrush: {
            bool isPen = r.function == WmfCreatePen;
            if (p.size() < (isPen ? 5u : 4u)) {
                error = "short object record";
                return false;
            }
            WmfObject object{isPen ? WmfObject::Pen : WmfObject::Brush, p[0],
                             isPen ? (p[3] | static_cast<uint32_t>(p[4]) << 16)
                                   : (p[1] | static_cast<uint32_t>(p[2]) << 16)};
            size_t slot = 0;   // the playback takes the lowest free slot
            while (slot < table.size() && table[slot] >= 0)
                ++slot;
            if (slot == table.size()) {
                error = "more objects than the header's object count";
                return false;
            }
            table[slot] = static_cast<int>(replay.created.size());
            replay.created.push_back(object);
            break;
        }
        case WmfSelectObject:
        case WmfDeleteObject: {
            if (p.empty() || p[0] >= table.size() || table[p[0]] < 0) {
                error = "record names an empty object slot";
                return false;
            }
            const WmfObject &object = replay.created[table[p[0]]];
            if (r.function == WmfDeleteObject)
                table[p[0]] = -1;
            else
                (object.kind == WmfObject::Pen ? pen : brush) = object;
            break;
        }
        case WmfPolygon:
        case WmfPolyline:
        case WmfPolyPolygon: {
            WmfShape shape{r.function, {}, pen, brush};
            bool ok = !p.empty();
            if (ok && r.function != WmfPolyPolygon) {
                shape.rings.emplace_back();
                ok = p.size() == 1 + 2 * static_cast<size_t>(p[0]) && ReadPoints(p, 1, p[0], shape.rings[0]);
            } else if (ok) {
                size_t polygons = p[0], at = 1 + polygons, total = 0;
                ok = p.size() >= at;
                for (size_t i = 0; ok && i < polygons; ++i) {
                    shape.rings.emplace_back();
                    ok = ReadPoints(p, at + 2 * total, p[1 + i], shape.rings.back());
                    total += p[1 + i];
                }
                ok = ok && p.size() == at + 2 * total;
            }
            if (!ok) {
                error = "drawing record whose counts do not match its size";
                return false;
            }
            replay.shapes.push_back(shape);
            break;
        }
        default:
            break;   // judged by the caller
        }
    }
    return true;
}
