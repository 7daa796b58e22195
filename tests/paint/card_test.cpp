// card_test.cpp: card windows painted and clicked inside a real tool, where the placement table puts
// their pictures; the children's background requests.
#include <cstring>
#include <vector>
#include <gtest/gtest.h>
#include "panel/tool.h"
#include "tests/common/test_host.h"
#include "tests/common/hands.h"

// The module's own playback (panel/metafile.cpp) reads the pictures from the module this names.
HINSTANCE moduleInstance;

namespace {

// One row of the card placement table: a tool's client size, the card client it lays out, and where
// the face, its shadow and the three pictures must land in that card.
struct CardGeometry {
    SIZE tool;
    SIZE card;
    RECT shadow;
    RECT face;
    POINT rankOrigin, rankExtent;
    POINT suitOrigin, suitExtent;
    POINT holdOrigin, holdExtent;
};

// Client sizes 24 x 38, 47 x 77 and 58 x 96 come from tool layouts of 120 x 70, 240 x 140, 300 x 175.
const CardGeometry cardGeometries[] = {
    {{120, 70}, {24, 38}, {4, 4, 24, 37}, {0, 0, 20, 33},
     {2, 1}, {16, 15}, {2, 16}, {16, 13}, {2, 15}, {16, 6}},
    {{240, 140}, {47, 77}, {4, 4, 47, 76}, {0, 0, 43, 72},
     {3, 3}, {36, 33}, {3, 36}, {36, 33}, {3, 30}, {36, 14}},
    {{300, 175}, {58, 96}, {4, 4, 58, 95}, {0, 0, 54, 91},
     {4, 4}, {45, 41}, {4, 45}, {45, 42}, {4, 39}, {45, 18}},
};

// A card's pictures as the module plays them over its white face, where the table puts them: the rank
// (231-243 the black two to ace, 244-256 the red ones), the suit (257-260 clubs to spades), and over them
// the hold marker on a held card. A value no card has shows no picture.
Capture ExpectedFace(const CardGeometry &g, int card, bool held)
{
    Canvas canvas(g.card.cx, g.card.cy, 0xFFFFFF);
    moduleInstance = TestHost::Instance().Module();
    const bool isRed = card / 13 == 1 || card / 13 == 2;
    if (card < DeckSize) {
        PlayArtworkInto(canvas.dc, (isRed ? 244 : 231) + card % 13, g.rankOrigin.x, g.rankOrigin.y, g.rankExtent.x,
                        g.rankExtent.y);
        PlayArtworkInto(canvas.dc, 257 + card / 13, g.suitOrigin.x, g.suitOrigin.y, g.suitExtent.x, g.suitExtent.y);
    }
    if (held)
        PlayArtworkInto(canvas.dc, 261, g.holdOrigin.x, g.holdOrigin.y, g.holdExtent.x, g.holdExtent.y);
    return CaptureOf(canvas);
}

// The face inside its frame, across its width, from the top of the rank to the foot of the suit.
RECT PicturesOf(const CardGeometry &g)
{
    return RECT{g.face.left + 1, g.rankOrigin.y, g.face.right - 1, g.suitOrigin.y + g.suitExtent.y};
}

// Identical pixels inside a rectangle of both captures, or how many differ.
::testing::AssertionResult SameInside(const Capture &actual, const Capture &expected, const RECT &area)
{
    int differing = FindInk(actual, area, [&](int x, int y) { return actual.At(x, y) != expected.At(x, y); }).count;
    if (differing == 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << differing << " pixels differ";
}

const COLORREF kBlack = RGB(0, 0, 0), kWhite = RGB(255, 255, 255);
const COLORREF kYellow = RGB(255, 255, 0);

// Both colours, the lowest and the highest rank, every suit; cards 1 and 3 held.
const char *const kHand[HandSize] = {"2C", "2D", "AH", "AS", "TS"};
const char *const kHeld = "x.x..";

VideoPokerGame Dealt(const char *holds = kHeld) { return WaitingHand(kHand, 1, holds, 99); }

using CardWindow = OneToolTest;

TEST_F(CardWindow, PaintsFaceShadowAndPicturesWhereTheGeometryTablePutsThem)
{
    const SystemColour unusualShadow(COLOR_BTNSHADOW, RGB(20, 140, 90));   // not the grey a fixed colour would be
    ASSERT_EQ(GetSysColor(COLOR_BTNSHADOW), RGB(20, 140, 90));
    for (const CardGeometry &g : cardGeometries) {
        SCOPED_TRACE(testing::Message() << "tool " << g.tool.cx << "x" << g.tool.cy);
        VideoPokerGame block = Dealt();
        CreateTool(g.tool.cx, g.tool.cy, block);
        for (int i = 0; i < HandSize; ++i) {
            SCOPED_TRACE(testing::Message() << "card " << i);
            HWND card = record->cardWindows[i];
            const Capture shown = host.CaptureClient(card);
            ASSERT_TRUE(shown.width == g.card.cx && shown.height == g.card.cy) << "the card's client size";

            const int R = g.card.cx, B = g.card.cy;
            // The rounded corners leave the host's background visible at all four corners.
            for (POINT p : {POINT{0, 0}, POINT{R - 1, 0}, POINT{0, B - 1}, POINT{R - 1, B - 1}})
                EXPECT_EQ(shown.At(p.x, p.y), host.BackgroundUnder(card, p.x, p.y)) << p.x << "," << p.y;
            // The shadow shows right of and below the face; the face is white inside a black frame.
            const RECT shadowBox = FindColour(shown, GetSysColor(COLOR_BTNSHADOW)).box;
            EXPECT_TRUE(EqualRect(&shadowBox, &g.shadow)) << "the shadow's place";
            EXPECT_EQ(shown.At(g.face.left, g.face.bottom / 2), kBlack);
            EXPECT_EQ(shown.At(g.face.left + 1, g.face.bottom / 2), kWhite);
            EXPECT_EQ(shown.At(g.face.right / 2, g.face.bottom - 1), kBlack);

            // The pictures in their places, the marker over a held card's.
            EXPECT_TRUE(SameInside(shown, ExpectedFace(g, CardOf(kHand[i]), kHeld[i] == 'x'), PicturesOf(g)));
        }
    }
}

// Every card of the deck shows its own rank's picture in its suit's colour, and its suit's picture; a
// value no card has (only a damaged block holds one: the engine repairs the blocks it takes, so it is
// written into the live record here) shows a blank face, and still its hold marker.
TEST_F(CardWindow, ShowsEveryCardOfTheDeckWithItsOwnPicturesAndNoOtherValue)
{
    const CardGeometry &g = cardGeometries[2];
    CreateTool(g.tool.cx, g.tool.cy, Dealt("....."));
    std::vector<int> cards = {52, 64, 65, 200, 255};   // 64 and 65 would name the hold marker and past it
    for (int card = 0; card < DeckSize; ++card)
        cards.push_back(card);
    for (int card : cards) {
        record->game.card[0] = static_cast<Card>(card);
        record->game.held[0] = card == 200;
        Repaint(record->cardWindows[0]);
        EXPECT_TRUE(SameInside(host.CaptureClient(record->cardWindows[0]), ExpectedFace(g, card, card == 200),
                               PicturesOf(g))) << "card " << card;
    }
}

TEST_F(CardWindow, ClickTogglesTheHoldAndItsMarker)
{
    CreateTool(300, 175, Dealt("....."));
    HWND card = record->cardWindows[3];
    for (bool held : {true, false}) {
        EXPECT_EQ(SendMessageA(card, WM_LBUTTONUP, 0, MAKELPARAM(5, 5)), 0);
        EXPECT_EQ(record->game.held[3], held);
        EXPECT_TRUE(GetUpdateRect(card, nullptr, FALSE)) << "a toggled card is repainted";
        host.Pump();
        EXPECT_EQ(FindColour(host.CaptureClient(card), kYellow).count > 0, held) << "the hold marker shows while held";
    }
    // A double click releases twice: held, then not held again.
    SendMessageA(card, WM_LBUTTONUP, 0, 0);
    SendMessageA(card, WM_LBUTTONDBLCLK, 0, 0);
    SendMessageA(card, WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(record->game.held[3], 0);
}

// The five cards and three displays of a 300 x 175 tool, where the tool lays them out.
struct Child { bool isCard; int index; RECT place; };
const Child kChildren[] = {
    {true, 0, {1, 43, 59, 139}},     {true, 1, {61, 43, 119, 139}},  {true, 2, {121, 43, 179, 139}},
    {true, 3, {181, 43, 239, 139}},  {true, 4, {241, 43, 299, 139}}, {false, 0, {1, 21, 147, 42}},
    {false, 1, {151, 21, 297, 42}},  {false, 2, {1, 0, 299, 21}},
};

using ChildWindows = OneToolTest;

TEST_F(ChildWindows, AskTheHostForTheBackgroundUnderThemselvesOnlyWhenTheyPaint)
{
    CreateTool(300, 175, Dealt());
    auto Of = [&](const Child &c) { return c.isCard ? record->cardWindows[c.index] : record->displayWindows[c.index]; };
    for (const Child &c : kChildren) {
        SCOPED_TRACE(testing::Message() << (c.isCard ? "card " : "display ") << c.index);
        host.ClearRecords();
        Repaint(Of(c));
        ASSERT_EQ(host.PaintRequests().size(), 1u);
        const PanelPaintRequest &asked = host.PaintRequests()[0].request;
        const RECT expected = {0, 0, c.place.right - c.place.left, c.place.bottom - c.place.top};
        EXPECT_TRUE(asked.window == tool && host.PaintRequests()[0].painter == Of(c) && asked.isChild == 1);
        EXPECT_TRUE(EqualRect(&asked.rect, &expected) && asked.offset.x == c.place.left &&
                    asked.offset.y == c.place.top);
        host.ClearRecords();
        EXPECT_EQ(SendMessageA(Of(c), WM_PAINT, 0, 0), 0);
        EXPECT_TRUE(host.PaintRequests().empty()) << "nothing to update, nothing asked";
    }
    // The tool itself asks once for its own client area, as a tool rather than a child.
    host.ClearRecords();
    InvalidateRect(tool, nullptr, TRUE);
    host.Pump();
    const RECT client = {0, 0, 300, 175};
    int asked = 0, right = 0;
    for (const PaintRecord &r : host.PaintRequests()) {
        asked += r.painter == tool;
        right += r.painter == tool && r.request.window == tool && r.request.isChild == 0 &&
                 EqualRect(&r.request.rect, &client) && r.request.offset.x == 0 && r.request.offset.y == 0;
    }
    EXPECT_TRUE(asked == 1 && right == 1);
}

// A card or display the record does not list (made elsewhere, moved under a tool) touches nothing.
TEST_F(ChildWindows, ThatTheRecordDoesNotListAnswerNothing)
{
    CreateTool(120, 70, Dealt());
    const VideoPokerToolData before = *record;
    for (const char *className : {"VideoPokerCard", "VideoPokerDisplay"}) {
        SCOPED_TRACE(className);
        // Once the record is attached, a new child cannot even be created under the tool.
        EXPECT_EQ(CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, tool, nullptr,
                                  host.HostInstance(), nullptr),
                  nullptr);
        HWND stray = CreateWindowExA(0, className, "", WS_CHILD, 0, 0, 10, 10, host.Panel(), nullptr,
                                     host.HostInstance(), nullptr);
        ASSERT_NE(stray, nullptr);
        EXPECT_EQ(SendMessageA(stray, WM_NCHITTEST, 0, 0), HTCLIENT) << "no tool: default processing";
        SetParent(stray, tool);
        EXPECT_EQ(SendMessageA(stray, WM_NCHITTEST, 0, 0), 0);
        host.ClearRecords();
        InvalidateRect(stray, nullptr, TRUE);
        EXPECT_EQ(SendMessageA(stray, WM_PAINT, 0, 0), 0);
        SendMessageA(stray, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("stray"));
        SendMessageA(stray, WM_RBUTTONUP, 0, 0);
        SendMessageA(stray, WM_LBUTTONUP, 0, 0);
        MSG posted;
        EXPECT_TRUE(!PeekMessageA(&posted, tool, WM_RBUTTONUP, WM_RBUTTONUP, PM_NOREMOVE) && host.PaintRequests().empty());
        ValidateRect(stray, nullptr);
        SetParent(stray, host.Panel());
        DestroyWindow(stray);
    }
    EXPECT_EQ(memcmp(&before, record, sizeof before), 0) << "no hold, text or child of the record changed";
}

} // namespace
