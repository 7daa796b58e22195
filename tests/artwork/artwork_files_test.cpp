// artwork_files_test.cpp: the generated card pictures and bitmaps, read back with our own reader.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include <unistd.h>

#include "artwork_sizes.h"
#include "metafile_reader.h"
#include "panel/artwork.h"

namespace {

constexpr uint32_t kBlack = 0x000000, kWhite = 0xFFFFFF, kRed = 0x0000FF, kYellow = 0x00FFFF;

std::vector<uint8_t> ReadBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ArtworkPath(const std::string &folder, int id) { return folder + "/art" + std::to_string(id) + ".wmf"; }

std::vector<uint8_t> Picture(int id) { return ReadBytes(ArtworkPath(VP_ARTWORK_DIR, id)); }

struct Expected {
    int orgX, orgY, extX, extY;
    uint32_t fill;
};

// The frame and fill colour each picture must carry.
Expected ExpectedFor(int id)
{
    const Expected narrow = {-2978, 2989, 5964, -5961, kBlack}, wide = {-3718, 3715, 7436, -7432, kBlack};
    const Expected suit = {-2978, 2986, 5964, -5958, kBlack};
    if (id == 261)
        return {-3712, 1366, 7625, -2933, kYellow};
    if (id >= 257) {
        Expected e = suit;
        e.fill = (id == 258 || id == 259) ? kRed : kBlack;
        return e;
    }
    bool isRed = id >= 244;
    int rank = (id - 231) % 13;
    Expected e = (rank == 8 || rank == 10) ? wide : narrow;   // the ten and the queen are wider
    e.fill = isRed ? kRed : kBlack;
    return e;
}

struct Parsed {
    std::vector<uint8_t> bytes;
    WmfFile file;
    WmfReplay replay;
};

Parsed Parse(int id)
{
    Parsed p;
    p.bytes = Picture(id);
    std::string error;
    EXPECT_TRUE(ReadWmf(p.bytes, p.file, error)) << id << ": " << error;
    EXPECT_TRUE(ReplayWmf(p.file, p.replay, error)) << id << ": " << error;
    return p;
}

// Even-odd and non-zero winding of a point against a set of rings.
void Classify(const std::vector<std::vector<WmfPoint>> &rings, double x, double y, bool &evenOdd, bool &nonZero)
{
    int crossings = 0, winding = 0;
    for (const auto &ring : rings)
        for (size_t i = 0; i < ring.size(); ++i) {
            const WmfPoint &a = ring[i], &b = ring[(i + 1) % ring.size()];
            if ((a.y <= y) == (b.y <= y))
                continue;
            double cx = a.x + (y - a.y) * (b.x - a.x) / static_cast<double>(b.y - a.y);
            if (cx > x) {
                ++crossings;
                winding += b.y > a.y ? 1 : -1;
            }
        }
    evenOdd = crossings % 2 == 1;
    nonZero = winding != 0;
}

// The ink of a picture's glyph shapes sampled on a grid over its frame (even-odd, as played).
struct InkSample {
    double left = 1, right = 0, top = 1, bottom = 0;   // fractions of the frame, top = 0
    double coverage = 0;
    int fillRuleDisagreements = 0;
};

InkSample SampleInk(const WmfReplay &r, size_t firstShape, int grid)
{
    InkSample s;
    int inked = 0;
    for (int j = 0; j < grid; ++j)
        for (int i = 0; i < grid; ++i) {
            double fx = (i + 0.5) / grid, fy = (j + 0.5) / grid;
            double x = r.windowOrgX + fx * r.windowExtX, y = r.windowOrgY + fy * r.windowExtY;
            bool anyInk = false;
            for (size_t k = firstShape; k < r.shapes.size(); ++k) {
                bool evenOdd, nonZero;
                Classify(r.shapes[k].rings, x, y, evenOdd, nonZero);
                s.fillRuleDisagreements += evenOdd != nonZero;
                anyInk = anyInk || evenOdd;
            }
            if (!anyInk)
                continue;
            ++inked;
            s.left = std::fmin(s.left, fx);
            s.right = std::fmax(s.right, fx);
            s.top = std::fmin(s.top, fy);
            s.bottom = std::fmax(s.bottom, fy);
        }
    s.coverage = static_cast<double>(inked) / (grid * grid);
    return s;
}

bool SameObject(const WmfObject &o, WmfObject::Kind kind, uint16_t style, uint32_t colour)
{
    return o.kind == kind && o.style == style && (style != 0 || o.colour == colour);
}

constexpr uint16_t kSolid = 0, kPenNull = 5, kBrushNull = 1;

// ---- The file format ----

TEST(ArtworkFormat, OnlyTheAllowedRecordKindsInTheirOrder)
{
    const std::set<uint16_t> setup = {WmfCreatePen, WmfCreateBrush, WmfSetRop2, WmfSetPolyFillMode};
    const std::set<uint16_t> drawing = {WmfSelectObject, WmfPolygon, WmfPolyPolygon, WmfPolyline};
    for (int id = 231; id <= 261; ++id) {
        SCOPED_TRACE(id);
        Parsed p = Parse(id);
        const auto &records = p.file.records;
        ASSERT_GE(records.size(), 4u);
        EXPECT_EQ(records[0].function, WmfSetWindowOrg);
        EXPECT_EQ(records[1].function, WmfSetWindowExt);
        size_t i = 2;
        while (i < records.size() && setup.count(records[i].function))
            ++i;
        EXPECT_GT(i, 2u) << "no objects or modes set before drawing";
        for (; i + 1 < records.size(); ++i)
            EXPECT_TRUE(drawing.count(records[i].function)) << "record " << i << " function 0x" << std::hex
                                                            << records[i].function;
        EXPECT_EQ(p.replay.rop2, 13);      // R2_COPYPEN
        EXPECT_EQ(p.replay.fillMode, 1);   // ALTERNATE
    }
}

TEST(ArtworkFormat, FramesAreExactlyTheListedOnes)
{
    for (int id = 231; id <= 261; ++id) {
        SCOPED_TRACE(id);
        Parsed p = Parse(id);
        Expected e = ExpectedFor(id);
        EXPECT_EQ(p.replay.windowOrgX, e.orgX);
        EXPECT_EQ(p.replay.windowOrgY, e.orgY);
        EXPECT_EQ(p.replay.windowExtX, e.extX);
        EXPECT_EQ(p.replay.windowExtY, e.extY);
    }
}

// ---- What the pictures draw ----

TEST(ArtworkContent, OnlyPureBlackRedWhiteAndYellow)
{
    for (int id = 231; id <= 261; ++id) {
        Parsed p = Parse(id);
        for (const WmfObject &o : p.replay.created) {
            bool isNull = o.style == (o.kind == WmfObject::Pen ? kPenNull : kBrushNull);
            EXPECT_TRUE(isNull || o.colour == kBlack || o.colour == kRed || o.colour == kWhite ||
                        o.colour == kYellow) << id << ": colour " << std::hex << o.colour;
            EXPECT_TRUE(isNull || o.style == kSolid) << id;
        }
    }
}

TEST(ArtworkContent, RanksAndSuitsFillAWhiteBoxThenTheGlyphInItsColour)
{
    for (int id = 231; id <= 260; ++id) {
        SCOPED_TRACE(id);
        Parsed p = Parse(id);
        Expected e = ExpectedFor(id);
        const auto &shapes = p.replay.shapes;
        ASSERT_GE(shapes.size(), 2u);
        const WmfShape &box = shapes[0];
        EXPECT_EQ(box.function, WmfPolygon);
        EXPECT_TRUE(SameObject(box.brush, WmfObject::Brush, kSolid, kWhite));
        EXPECT_TRUE(SameObject(box.pen, WmfObject::Pen, kSolid, kWhite)) << "the box is outlined in white";
        ASSERT_EQ(box.rings.size(), 1u);
        std::set<std::pair<int, int>> corners, expected = {
            {e.orgX, e.orgY}, {e.orgX + e.extX, e.orgY}, {e.orgX + e.extX, e.orgY + e.extY}, {e.orgX, e.orgY + e.extY}};
        for (const WmfPoint &pt : box.rings[0])
            corners.insert({pt.x, pt.y});
        EXPECT_EQ(corners, expected);
        for (size_t k = 1; k < shapes.size(); ++k) {
            EXPECT_TRUE(SameObject(shapes[k].brush, WmfObject::Brush, kSolid, e.fill)) << "shape " << k;
            EXPECT_EQ(shapes[k].pen.style, kPenNull) << "glyphs are filled without an outline";
            EXPECT_NE(shapes[k].function, WmfPolyline);
        }
    }
}

TEST(ArtworkContent, RedRanksDifferFromBlackOnesOnlyInTheFillColour)
{
    for (int rank = 0; rank < 13; ++rank) {
        SCOPED_TRACE(rank);
        Parsed black = Parse(231 + rank), red = Parse(244 + rank);
        ASSERT_EQ(black.bytes.size(), red.bytes.size());
        ASSERT_EQ(black.file.records.size(), red.file.records.size());
        int differing = 0;
        for (size_t i = 0; i < black.file.records.size(); ++i) {
            const WmfRecord &b = black.file.records[i], &r = red.file.records[i];
            ASSERT_EQ(b.function, r.function);
            if (b.params == r.params)
                continue;
            ++differing;
            EXPECT_EQ(b.function, WmfCreateBrush);
        }
        EXPECT_EQ(differing, 1);
    }
}

TEST(ArtworkContent, GlyphsStayInsideTheirFrameWithAMargin)
{
    for (int id = 231; id <= 260; ++id) {
        Parsed p = Parse(id);
        Expected e = ExpectedFor(id);
        double marginX = 0.03 * e.extX, marginY = 0.03 * -e.extY;
        for (size_t k = 1; k < p.replay.shapes.size(); ++k)
            for (const auto &ring : p.replay.shapes[k].rings)
                for (const WmfPoint &pt : ring) {
                    EXPECT_GE(pt.x, e.orgX + marginX) << id;
                    EXPECT_LE(pt.x, e.orgX + e.extX - marginX) << id;
                    EXPECT_LE(pt.y, e.orgY - marginY) << id;
                    EXPECT_GE(pt.y, e.orgY + e.extY + marginY) << id;
                }
    }
}

// The fonts mean their outlines under the non-zero rule; the pictures are played with the alternate
// rule, so overlapping contours would punch holes. They must not differ anywhere.
TEST(ArtworkContent, AlternateFillDrawsWhatTheFontMeans)
{
    for (int id = 231; id <= 260; ++id) {
        Parsed p = Parse(id);
        InkSample s = SampleInk(p.replay, 1, 96);
        EXPECT_EQ(s.fillRuleDisagreements, 0) << id;
    }
}

TEST(ArtworkContent, EveryRankIsEquallyTallAndCentred)
{
    std::vector<double> heights;
    for (int id = 231; id <= 243; ++id) {
        SCOPED_TRACE(id);
        InkSample s = SampleInk(Parse(id).replay, 1, 160);
        heights.push_back(s.bottom - s.top);
        EXPECT_NEAR((s.left + s.right) / 2, 0.5, 0.03);
        EXPECT_NEAR((s.top + s.bottom) / 2, 0.5, 0.03);
        EXPECT_GT(s.coverage, 0.12) << "too thin to read";
        EXPECT_LT(s.coverage, 0.55) << "a blot, not a figure";
        EXPECT_LT(s.right - s.left, s.bottom - s.top + 0.02) << "figures are tall and narrow";
    }
    // Flat-topped figures (4, 7, K, A) are shorter than round ones by the font's overshoot.
    for (double h : heights) {
        EXPECT_NEAR(h, heights[0], 0.035);
        EXPECT_GT(h, 0.75);
    }
}

TEST(ArtworkContent, SuitsFillTheirFrameAndAreCentred)
{
    for (int id = 257; id <= 260; ++id) {
        SCOPED_TRACE(id);
        InkSample s = SampleInk(Parse(id).replay, 1, 160);
        EXPECT_NEAR((s.left + s.right) / 2, 0.5, 0.03);
        EXPECT_NEAR((s.top + s.bottom) / 2, 0.5, 0.03);
        EXPECT_GT(std::fmax(s.right - s.left, s.bottom - s.top), 0.75);
        EXPECT_GT(s.coverage, 0.2);
    }
}

TEST(ArtworkContent, HoldMarkerIsAYellowKeyOutlinedInBlackOverItsShadow)
{
    Parsed p = Parse(261);
    Expected e = ExpectedFor(261);
    const auto &shapes = p.replay.shapes;
    ASSERT_GE(shapes.size(), 2u);
    for (const WmfShape &shape : shapes)
        EXPECT_FALSE(SameObject(shape.brush, WmfObject::Brush, kSolid, kWhite)) << "the marker paints no background";
    const WmfShape &shadow = shapes[0], &key = shapes[1];
    EXPECT_TRUE(SameObject(shadow.brush, WmfObject::Brush, kSolid, kBlack));
    EXPECT_EQ(shadow.pen.style, kPenNull);
    EXPECT_TRUE(SameObject(key.brush, WmfObject::Brush, kSolid, kYellow));
    EXPECT_TRUE(SameObject(key.pen, WmfObject::Pen, kSolid, kBlack));
    ASSERT_EQ(shadow.rings.size(), key.rings.size());
    for (size_t r = 0; r < key.rings.size(); ++r) {
        ASSERT_EQ(shadow.rings[r].size(), key.rings[r].size());
        for (size_t i = 0; i < key.rings[r].size(); ++i) {
            EXPECT_EQ(shadow.rings[r][i].x, key.rings[r][i].x + 200);
            EXPECT_EQ(shadow.rings[r][i].y, key.rings[r][i].y - 200);
        }
    }
    for (const WmfShape &shape : shapes)
        for (const auto &ring : shape.rings)
            for (const WmfPoint &pt : ring) {
                EXPECT_GT(pt.x, e.orgX);
                EXPECT_LT(pt.x, e.orgX + e.extX);
                EXPECT_LT(pt.y, e.orgY);
                EXPECT_GT(pt.y, e.orgY + e.extY);
            }
    // Lying on its side: much wider than tall, ring (with a hole) on the left, teeth hanging right.
    InkSample s = SampleInk(p.replay, 1, 200);
    EXPECT_GT(s.right - s.left, 0.85);
    EXPECT_GT(s.bottom - s.top, 0.7);
    bool evenOdd, nonZero;
    double ringX = 0, ringY = 0, ringPoints = 0;
    for (const WmfPoint &pt : key.rings.back()) {    // the hole of the ring
        ringX += pt.x;
        ringY += pt.y;
        ++ringPoints;
    }
    Classify(key.rings, ringX / ringPoints, ringY / ringPoints, evenOdd, nonZero);
    EXPECT_FALSE(evenOdd) << "the ring's hole shows the card";
    EXPECT_LT(ringX / ringPoints, e.orgX + e.extX / 3.0) << "the ring is on the left";
}

// ---- Which picture a card shows ----

// The fill colour a picture paints its glyph with, read from the file.
uint32_t FillColourOf(int id)
{
    Parsed p = Parse(id);
    return p.replay.shapes.size() > 1 ? p.replay.shapes[1].brush.colour : 0xFFFFFFFF;
}

TEST(CardArtwork, ListedCardsUseTheListedPictures)
{
    struct { int card, rankId, suitId; } cases[] = {
        {0, 231, 257}, {13, 244, 258}, {39, 231, 260}, {38, 256, 259}, {51, 243, 260}, {12, 243, 257},
        {26, 244, 259}, {25, 256, 258}, {47, 239, 260},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(RankArtworkOf(static_cast<Card>(c.card)), c.rankId) << c.card;
        EXPECT_EQ(SuitArtworkOf(static_cast<Card>(c.card)), c.suitId) << c.card;
    }
}

TEST(CardArtwork, EveryCardShowsItsRankInTheColourOfItsSuit)
{
    uint32_t suitColour[4];
    for (int suit = 0; suit < 4; ++suit)
        suitColour[suit] = FillColourOf(257 + suit);
    std::vector<int> uses(262, 0);
    for (int card = 0; card < 52; ++card) {
        SCOPED_TRACE(card);
        int rankId = RankArtworkOf(static_cast<Card>(card)), suitId = SuitArtworkOf(static_cast<Card>(card));
        ASSERT_GE(rankId, 231);
        ASSERT_LE(rankId, 256);
        ASSERT_GE(suitId, 257);
        ASSERT_LE(suitId, 260);
        EXPECT_EQ((rankId - 231) % 13, card % 13) << "the picture of the card's own rank";
        EXPECT_EQ(FillColourOf(rankId), suitColour[suitId - 257]);
        ++uses[rankId];
        ++uses[suitId];
    }
    for (int id = 231; id <= 256; ++id)
        EXPECT_EQ(uses[id], 2) << id << ": each rank picture serves two suits";
    for (int id = 257; id <= 260; ++id)
        EXPECT_EQ(uses[id], 13) << id;
}


// ---- The generator ----

int RunArtgen(const std::string &arguments)
{
    std::string command = std::string("\"") + VP_ARTGEN + "\" " + arguments + " 2>/dev/null";
    return std::system(command.c_str());
}

TEST(Artgen, SameInputGivesTheSameBytes)
{
    std::string folder = testing::TempDir() + "artgen_again_" + std::to_string(getpid());
    ASSERT_EQ(std::system(("mkdir -p \"" + folder + "\"").c_str()), 0);
    ASSERT_EQ(RunArtgen("\"" + folder + "\""), 0);
    for (int id = 231; id <= 261; ++id)
        EXPECT_EQ(ReadBytes(ArtworkPath(folder, id)), Picture(id)) << id;
    EXPECT_EQ(ReadBytes(folder + "/artwork_sizes.h"), ReadBytes(std::string(VP_ARTWORK_DIR) + "/artwork_sizes.h"));
    std::system(("rm -rf \"" + folder + "\"").c_str());
}

TEST(Artgen, MissingFontFailsWithoutATableOfSizes)
{
    std::string folder = testing::TempDir() + "artgen_nofont_" + std::to_string(getpid());
    ASSERT_EQ(std::system(("rm -rf \"" + folder + "\" && mkdir -p \"" + folder + "\"").c_str()), 0);
    EXPECT_NE(RunArtgen("\"" + folder + "\" /nonexistent/font.ttf"), 0);
    EXPECT_TRUE(ReadBytes(folder + "/artwork_sizes.h").empty());
    EXPECT_NE(RunArtgen("\"/nonexistent/folder\""), 0);
    std::system(("rm -rf \"" + folder + "\"").c_str());
}

} // namespace
