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

constexpr uint32_t kTeal = 0x008080;   // the panel's colour: one no picture uses
constexpr COLORREF kBackground = RGB(0, 0x80, 0x80), kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0), kYellow = RGB(255, 255, 0);

class ArtworkEnvironment : public testing::Environment {
    void SetUp() override { moduleInstance = GetModuleHandleA(nullptr); }
};
testing::Environment *const environment = testing::AddGlobalTestEnvironment(new ArtworkEnvironment);

// The colour of a picture's figure: the black ranks 231-243, the red 244-256, the suits clubs to spades
// 257-260, the hold marker 261.
COLORREF FillOf(int id)
{
    return id == 261 ? kYellow : (id >= 244 && id <= 256) || id == 258 || id == 259 ? kRed : kBlack;
}

// Three aspects, as tools of different shapes give: square, tall and narrow, wide and short.
const RECT kAspects[] = {{20, 20, 84, 84}, {20, 20, 60, 116}, {20, 20, 140, 64}};

// A picture played on a teal canvas, as a capture; the playback must answer that it drew.
Capture Played(int id, const RECT &r)
{
    Canvas canvas(180, 140, kTeal);
    EXPECT_NE(PlayArtworkInto(canvas.dc, id, r.left, r.top, r.right - r.left, r.bottom - r.top), 0) << "id " << id;
    return CaptureOf(canvas);
}

// Pixels outside the rectangle and the column and row just past it that are no longer the background;
// the white outline of a picture's box may cover that column and row, as a pen does.
int ChangedOutside(const Capture &c, const RECT &r)
{
    return FindInk(c, kEverywhere, [&](int x, int y) {
        bool inside = x >= r.left && x <= r.right && y >= r.top && y <= r.bottom;
        bool edge = x == r.right || y == r.bottom;
        return c.At(x, y) != kBackground && (!inside || (edge && c.At(x, y) != kWhite));
    }).count;
}

// ---- Ranks and suits ----

// Each rank and suit fills its rectangle with a white box and a centred figure of one colour, at every
// aspect, and draws nothing outside it.
TEST(Playback, RanksAndSuitsFillTheirRectangleWithACentredFigure)
{
    for (int id = 231; id <= 260; ++id)
        for (const RECT &r : kAspects) {
            const int w = r.right - r.left, h = r.bottom - r.top;
            SCOPED_TRACE(testing::Message() << "id " << id << ", " << w << " x " << h);
            const Capture shown = Played(id, r);
            const Ink ink = FindColour(shown, FillOf(id), r), white = FindColour(shown, kWhite, r);
            EXPECT_EQ(ink.count + white.count, w * h) << "every pixel is the white box or the figure";
            EXPECT_GT(ink.count, w * h / 12);
            EXPECT_GT(white.count, w * h / 4);
            EXPECT_EQ(ChangedOutside(shown, r), 0);
            EXPECT_NEAR((ink.box.left + ink.box.right) / 2.0 - r.left, w / 2.0, 0.06 * w);
            EXPECT_NEAR((ink.box.top + ink.box.bottom) / 2.0 - r.top, h / 2.0, 0.06 * h);
            EXPECT_GE(ink.box.bottom - ink.box.top, h * 3 / 4) << "figures and suits fill most of the height";
            EXPECT_TRUE(ink.box.left > r.left && ink.box.right < r.right && ink.box.top > r.top &&
                        ink.box.bottom < r.bottom) << "a margin of white all round";
        }
}

// Each red rank is its black rank recoloured, and the black figures and suits differ from one another:
// a swapped or repeated picture shows up here.
TEST(Playback, RedRanksAreTheBlackRanksRecolouredAndEveryFigureDiffers)
{
    for (int rank = 0; rank < 13; ++rank)
        for (const RECT &r : kAspects) {
            std::vector<COLORREF> recoloured = Played(231 + rank, r).pixels;
            std::replace(recoloured.begin(), recoloured.end(), kBlack, kRed);
            EXPECT_EQ(Played(244 + rank, r).pixels, recoloured) << "rank " << rank << ", " << r.right - r.left;
        }
    std::vector<std::vector<COLORREF>> seen;
    for (int id : {231, 232, 233, 234, 235, 236, 237, 238, 239, 240, 241, 242, 243, 257, 258, 259, 260}) {
        std::vector<COLORREF> p = Played(id, RECT{10, 10, 70, 70}).pixels;
        for (COLORREF &v : p)
            v = v == kWhite ? 0 : 1;
        EXPECT_EQ(std::find(seen.begin(), seen.end(), p), seen.end()) << id;
        seen.push_back(p);
    }
}

// ---- The hold marker ----

TEST(Playback, HoldMarkerLeavesTheBackgroundAroundTheKey)
{
    const RECT aspects[] = {{20, 20, 140, 66}, {20, 20, 80, 80}, {20, 20, 65, 38}, {20, 20, 170, 50}};
    for (const RECT &r : aspects) {
        const int w = r.right - r.left, h = r.bottom - r.top;
        SCOPED_TRACE(testing::Message() << w << " x " << h);
        const Capture shown = Played(IDA_HOLD_MARKER, r);
        const int background = FindColour(shown, kBackground, r).count, yellow = FindColour(shown, kYellow, r).count;
        const int black = FindColour(shown, kBlack, r).count;
        EXPECT_EQ(background + yellow + black, w * h) << "nothing but the key's two colours";
        EXPECT_GT(background, w * h / 4) << "the card shows around the key";
        EXPECT_GT(yellow, w * h / 10);
        EXPECT_GT(black, w * h / 20);
        EXPECT_EQ(shown.At(r.left, r.top), kBackground);
        EXPECT_EQ(shown.At(r.right - 1, r.top), kBackground);
        EXPECT_EQ(shown.At(r.left, r.bottom - 1), kBackground);
        EXPECT_EQ(ChangedOutside(shown, r), 0);
        // Yellow both in the ring on the left and the bit on the right.
        EXPECT_GT(FindColour(shown, kYellow, RECT{r.left, r.top, r.left + w / 3, r.bottom}).count, 0);
        EXPECT_GT(FindColour(shown, kYellow, RECT{r.right - w / 3, r.top, r.right, r.bottom}).count, 0);
    }
    // Large enough to see through the ring: its middle shows the background.
    const Capture large = Played(IDA_HOLD_MARKER, RECT{10, 10, 170, 72});
    EXPECT_EQ(large.At(10 + 160 * (3712 - 2330) / 7625, 10 + 62 * 1366 / 2933), kBackground);
}

// ---- Failures ----

TEST(Playback, IdsOutsideTheArtworkOrAModuleWithoutItDrawNothing)
{
    Canvas canvas(100, 100, kTeal);
    for (int id : {0, 1, 110, 230, 262, 300, -1, -231, 231 + 65536, 261 + 2 * 65536})
        EXPECT_EQ(PlayArtworkInto(canvas.dc, id, 10, 10, 60, 60), 0) << id;
    HINSTANCE own = moduleInstance;
    moduleInstance = GetModuleHandleA("kernel32.dll");
    EXPECT_EQ(PlayArtworkInto(canvas.dc, 231, 10, 10, 60, 60), 0);
    moduleInstance = own;
    EXPECT_EQ(ChangedOutside(CaptureOf(canvas), RECT{0, 0, -1, -1}), 0);
}

// ---- The type bitmap ----

TEST(TypeBitmaps, ColourBitmapShowsTheSuitsInTheirQuarters)
{
    HBITMAP bitmap = LoadBitmapA(moduleInstance, MAKEINTRESOURCEA(IDB_TYPE_COLOR));
    ASSERT_NE(bitmap, nullptr);
    Canvas canvas(16, 16);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ saved = SelectObject(dc, bitmap);
    BitBlt(canvas.dc, 0, 0, 16, 16, dc, 0, 0, SRCCOPY);
    SelectObject(dc, saved);
    DeleteDC(dc);
    DeleteObject(bitmap);
    const Capture shown = CaptureOf(canvas);
    const COLORREF ink[4] = {kRed, kBlack, kBlack, kRed};   // diamond, club / spade, heart
    for (int q = 0; q < 4; ++q) {
        const RECT quarter = {8 * (q % 2), 8 * (q / 2), 8 * (q % 2) + 8, 8 * (q / 2) + 8};
        const int inked = FindColour(shown, ink[q], quarter).count;
        EXPECT_GE(inked, 16) << "quarter " << q;
        EXPECT_EQ(inked + FindColour(shown, kWhite, quarter).count, 64) << "nothing stray in quarter " << q;
    }
}

} // namespace
