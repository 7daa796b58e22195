// artwork_playback_test.cpp: the card pictures played by Windows' own metafile playback, and the type
// bitmap. Their bytes, objects, strings and sizes are checked in the shipped module (check_module.py).
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "panel/artwork.h"
#include "panel/tool.h"
#include "resources/resource_ids.h"
#include "tests/common/test_host.h"

// This program carries the module's resources itself, so it plays the role of the module.
HINSTANCE moduleInstance;
HINSTANCE hostInstance;

namespace {

constexpr uint32_t kBackground = 0x008080;   // teal: a panel colour no picture uses
constexpr uint32_t kWhite = 0xFFFFFF, kBlack = 0x000000, kRed = 0xFF0000, kYellow = 0xFFFF00;

class ArtworkEnvironment : public testing::Environment {
    void SetUp() override { moduleInstance = GetModuleHandleA(nullptr); }
};
testing::Environment *const environment = testing::AddGlobalTestEnvironment(new ArtworkEnvironment);

uint32_t FillOf(int id)
{
    if (id == 261)
        return kYellow;
    if (id >= 257)
        return (id == 258 || id == 259) ? kRed : kBlack;
    return id >= 244 ? kRed : kBlack;
}

struct Rect {
    int x, y, w, h;
};

// Three aspects, as tools of different shapes give: square, tall and narrow, wide and short.
const Rect kAspects[] = {{20, 20, 64, 64}, {20, 20, 40, 96}, {20, 20, 120, 44}};

struct InkBox {
    int count = 0, left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    void Add(int x, int y)
    {
        ++count;
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
};

InkBox FindColour(Canvas &c, const Rect &r, uint32_t colour)
{
    InkBox box;
    for (int y = r.y; y < r.y + r.h; ++y)
        for (int x = r.x; x < r.x + r.w; ++x)
            if (c.At(x, y) == colour)
                box.Add(x, y);
    return box;
}

// Pixels outside [x, x + w] x [y, y + h] that are no longer the background. The white outline of
// a picture's box may cover the column and row just past the rectangle, as a pen does.
int ChangedOutside(Canvas &c, const Rect &r)
{
    int changed = 0;
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) {
            bool inside = x >= r.x && x <= r.x + r.w && y >= r.y && y <= r.y + r.h;
            bool edge = x == r.x + r.w || y == r.y + r.h;
            if (!inside && c.At(x, y) != kBackground)
                ++changed;
            if (inside && edge && c.At(x, y) != kBackground && c.At(x, y) != kWhite)
                ++changed;
        }
    return changed;
}

// ---- Ranks and suits ----

// Each rank and suit fills its rectangle with a white box and a centred figure of one colour, at every
// aspect, and draws nothing outside it.
TEST(Playback, RanksAndSuitsFillTheirRectangleWithACentredFigure)
{
    Canvas canvas(180, 140, kBackground);
    for (int id = 231; id <= 260; ++id)
        for (const Rect &r : kAspects) {
            SCOPED_TRACE(testing::Message() << "id " << id << ", " << r.w << " x " << r.h);
            canvas.Fill(kBackground);
            EXPECT_NE(PlayArtworkInto(canvas.dc, id, r.x, r.y, r.w, r.h), 0);
            InkBox ink = FindColour(canvas, r, FillOf(id)), white = FindColour(canvas, r, kWhite);
            EXPECT_EQ(ink.count + white.count, r.w * r.h) << "every pixel is the white box or the figure";
            EXPECT_GT(ink.count, r.w * r.h / 12);
            EXPECT_GT(white.count, r.w * r.h / 4);
            EXPECT_EQ(ChangedOutside(canvas, r), 0);
            double centreX = (ink.left + ink.right + 1) / 2.0 - r.x, centreY = (ink.top + ink.bottom + 1) / 2.0 - r.y;
            EXPECT_NEAR(centreX / r.w, 0.5, 0.06);
            EXPECT_NEAR(centreY / r.h, 0.5, 0.06);
            EXPECT_GE(ink.bottom - ink.top + 1, r.h * 3 / 4) << "figures and suits fill most of the height";
            EXPECT_TRUE(ink.left > r.x && ink.right < r.x + r.w - 1 && ink.top > r.y && ink.bottom < r.y + r.h - 1)
                << "a margin of white all round";
        }
}

// Each red rank is its black rank recoloured, and the black figures and suits differ from one another:
// a swapped or repeated picture shows up here.
TEST(Playback, RedRanksAreTheBlackRanksRecolouredAndEveryFigureDiffers)
{
    Canvas black(180, 140, kBackground), red(180, 140, kBackground);
    for (int rank = 0; rank < 13; ++rank)
        for (const Rect &r : kAspects) {
            black.Fill(kBackground);
            red.Fill(kBackground);
            PlayArtworkInto(black.dc, 231 + rank, r.x, r.y, r.w, r.h);
            PlayArtworkInto(red.dc, 244 + rank, r.x, r.y, r.w, r.h);
            std::vector<uint32_t> b = black.Pixels(), d = red.Pixels();
            int mismatches = 0;
            for (size_t i = 0; i < b.size(); ++i)
                mismatches += (b[i] == kBlack ? kRed : b[i]) != d[i];
            EXPECT_EQ(mismatches, 0) << "rank " << rank << ", " << r.w << " x " << r.h;
        }
    std::vector<std::vector<uint32_t>> seen;
    for (int id : {231, 232, 233, 234, 235, 236, 237, 238, 239, 240, 241, 242, 243, 257, 258, 259, 260}) {
        black.Fill(kBackground);
        PlayArtworkInto(black.dc, id, 10, 10, 60, 60);
        std::vector<uint32_t> p = black.Pixels();
        for (uint32_t &v : p)
            v = v == kWhite ? 0 : 1;
        EXPECT_EQ(std::find(seen.begin(), seen.end(), p), seen.end()) << id;
        seen.push_back(p);
    }
}

// ---- The hold marker ----

TEST(Playback, HoldMarkerLeavesTheBackgroundAroundTheKey)
{
    Canvas canvas(180, 140, kBackground);
    const Rect aspects[] = {{20, 20, 120, 46}, {20, 20, 60, 60}, {20, 20, 45, 18}, {20, 20, 150, 30}};
    for (const Rect &r : aspects) {
        SCOPED_TRACE(testing::Message() << r.w << " x " << r.h);
        canvas.Fill(kBackground);
        EXPECT_NE(PlayArtworkInto(canvas.dc, IDA_HOLD_MARKER, r.x, r.y, r.w, r.h), 0);
        int background = 0, yellow = 0, black = 0, other = 0;
        for (int y = r.y; y < r.y + r.h; ++y)
            for (int x = r.x; x < r.x + r.w; ++x) {
                uint32_t p = canvas.At(x, y);
                background += p == kBackground;
                yellow += p == kYellow;
                black += p == kBlack;
                other += p != kBackground && p != kYellow && p != kBlack;
            }
        EXPECT_EQ(other, 0);
        EXPECT_GT(background, r.w * r.h / 4) << "the card shows around the key";
        EXPECT_GT(yellow, r.w * r.h / 10);
        EXPECT_GT(black, r.w * r.h / 20);
        EXPECT_EQ(canvas.At(r.x, r.y), kBackground);
        EXPECT_EQ(canvas.At(r.x + r.w - 1, r.y), kBackground);
        EXPECT_EQ(canvas.At(r.x, r.y + r.h - 1), kBackground);
        EXPECT_EQ(ChangedOutside(canvas, r), 0);
        // Yellow both in the ring on the left and the bit on the right.
        EXPECT_GT(FindColour(canvas, Rect{r.x, r.y, r.w / 3, r.h}, kYellow).count, 0);
        EXPECT_GT(FindColour(canvas, Rect{r.x + 2 * r.w / 3, r.y, r.w / 3, r.h}, kYellow).count, 0);
    }
    // Large enough to see through the ring: its middle shows the background.
    canvas.Fill(kBackground);
    PlayArtworkInto(canvas.dc, IDA_HOLD_MARKER, 10, 10, 160, 62);
    int holeX = 10 + 160 * (3712 - 2330) / 7625, holeY = 10 + 62 * 1366 / 2933;
    EXPECT_EQ(canvas.At(holeX, holeY), kBackground);
}

// ---- Failures ----

TEST(Playback, IdsOutsideTheArtworkOrAModuleWithoutItDrawNothing)
{
    Canvas canvas(100, 100, kBackground);
    for (int id : {0, 1, 110, 230, 262, 300, -1, -231, 231 + 65536, 261 + 2 * 65536})
        EXPECT_EQ(PlayArtworkInto(canvas.dc, id, 10, 10, 60, 60), 0) << id;
    HINSTANCE own = moduleInstance;
    moduleInstance = GetModuleHandleA("kernel32.dll");
    EXPECT_EQ(PlayArtworkInto(canvas.dc, 231, 10, 10, 60, 60), 0);
    moduleInstance = own;
    EXPECT_EQ(ChangedOutside(canvas, Rect{0, 0, -1, -1}), 0);
}

// ---- The type bitmap ----

TEST(TypeBitmaps, ColourBitmapShowsTheSuitsInTheirQuarters)
{
    HBITMAP bitmap = LoadBitmapA(moduleInstance, MAKEINTRESOURCEA(IDB_TYPE_COLOR));
    ASSERT_NE(bitmap, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ saved = SelectObject(dc, bitmap);
    const uint32_t ink[2][2] = {{kRed, kBlack}, {kBlack, kRed}};   // diamond, club / spade, heart
    for (int qy = 0; qy < 2; ++qy)
        for (int qx = 0; qx < 2; ++qx) {
            int inked = 0, stray = 0;
            for (int y = 8 * qy; y < 8 * qy + 8; ++y)
                for (int x = 8 * qx; x < 8 * qx + 8; ++x) {
                    COLORREF c = GetPixel(dc, x, y);
                    uint32_t p = GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c);
                    inked += p == ink[qy][qx];
                    stray += p != ink[qy][qx] && p != kWhite;
                }
            EXPECT_GE(inked, 16) << qx << "," << qy;
            EXPECT_EQ(stray, 0) << qx << "," << qy;
        }
    SelectObject(dc, saved);
    DeleteDC(dc);
    DeleteObject(bitmap);
}


} // namespace
