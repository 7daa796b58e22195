// display_test.cpp: display windows: their texts, kept in the record, drawn aligned with a shadow.
#include <cstdlib>
#include <cstring>
#include <string>
#include <gtest/gtest.h>
#include "panel/tool.h"
#include "tests/common/test_host.h"
#include "tests/paint/paint_reference.h"

namespace {

class DisplayWindow : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(host.Ready()); }
    void TearDown() override
    {
        if (tool)
            DestroyWindow(tool);
        host.Pump();
    }
    void CreateTool(int width, int height)
    {
        tool = host.CreateLaidOutTool(width, height);
        ASSERT_NE(tool, nullptr);
        record = ToolRecord(tool);
        ASSERT_NE(record, nullptr);
    }
    HWND Display(int d) const { return record->displayWindows[d]; }
    // Sets a display's text the way the tool does, and lets it repaint.
    void Show(int d, const char *text)
    {
        SendMessageA(Display(d), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
        host.Pump();
    }

    TestHost &host = TestHost::Instance();
    HWND tool = nullptr;
    VideoPokerToolData *record = nullptr;
};

TEST(DisplayTextOrigin, FollowsTheWorkedPlacements)
{
    // The reference's own placement, checked against worked numbers before it judges any pixel.
    struct Case { SIZE client, text; POINT expected[3]; } cases[] = {
        {{146, 21}, {80, 23}, {{4, -1}, {62, -1}, {33, -1}}},
        {{120, 14}, {61, 13}, {{4, 1}, {55, 1}, {30, 1}}},
        {{146, 21}, {81, 23}, {{4, -1}, {61, -1}, {33, -1}}},    // -81 / 2 truncates to -40
        {{146, 21}, {0, 0}, {{4, 10}, {142, 10}, {73, 10}}},
    };
    for (const Case &c : cases)
        for (int d = 0; d < 3; ++d) {
            POINT at = ExpectedTextOrigin(d, c.client, c.text);
            EXPECT_EQ(at.x, c.expected[d].x) << "display " << d << ", text width " << c.text.cx;
            EXPECT_EQ(at.y, c.expected[d].y) << "display " << d << ", text width " << c.text.cx;
        }
}

TEST_F(DisplayWindow, DrawsTextsLeftRightAndCentredWithTheirShadow)
{
    const char *texts[] = {"", "W", "WAGER: 5", "CREDITS: 12345", "Royal Flush : 4000", "Ij", "Il",
                           "Four of a Kind : 125 Four of a Kind : 125"};
    for (SIZE size : {SIZE{300, 175}, SIZE{120, 70}, SIZE{240, 140}}) {
        CreateTool(size.cx, size.cy);
        for (const char *text : texts)
            for (int d = 0; d < 3; ++d) {
                SCOPED_TRACE(testing::Message() << size.cx << "x" << size.cy << " display " << d
                                                << " \"" << text << "\"");
                Show(d, text);
                Capture shown = host.CaptureClient(Display(d));
                EXPECT_TRUE(SameImage(shown, ReferenceDisplay(Display(d), d, record->font, text)));
            }
        DestroyWindow(tool);
        tool = nullptr;
    }
}

TEST_F(DisplayWindow, ShadowLiesOnePixelRightAndDownUnderTheText)
{
    CreateTool(300, 175);
    const char *texts[3] = {"WAGER: 3", "CREDITS: 100", "Two Pair : 10"};
    // Each slip of one pixel, of the shadow or of the whole text, or the shadow drawn last, shows.
    TextVariation slips[8];
    slips[0].shadowOffset = {0, 0};
    slips[1].shadowOffset = {1, 0};
    slips[2].shadowOffset = {0, 1};
    slips[3].shadowOffset = {2, 2};
    slips[4].nudge = {1, 0};
    slips[5].nudge = {-1, 0};
    slips[6].nudge = {0, 1};
    slips[7].shadowLast = true;
    for (int d = 0; d < 3; ++d) {
        SCOPED_TRACE(testing::Message() << "display " << d);
        Show(d, texts[d]);
        Capture shown = host.CaptureClient(Display(d));
        EXPECT_TRUE(SameImage(shown, ReferenceDisplay(Display(d), d, record->font, texts[d])));
        for (const TextVariation &slip : slips)
            EXPECT_FALSE(SameImage(shown, ReferenceDisplay(Display(d), d, record->font, texts[d], slip)))
                << "slip of text (" << slip.nudge.x << "," << slip.nudge.y << "), shadow ("
                << slip.shadowOffset.x << "," << slip.shadowOffset.y << ")"
                << (slip.shadowLast ? ", shadow last" : "");

        // Left with a 4-pixel margin, right with a 4-pixel margin, centred (glyph bearings aside).
        RECT ink = BoundsOfInk(shown, Display(d)), client;
        GetClientRect(Display(d), &client);
        ASSERT_FALSE(IsRectEmpty(&ink));
        if (d == 0) {
            EXPECT_NEAR(ink.left, 4, 2);
        } else if (d == 1) {
            EXPECT_NEAR(ink.right, client.right - 4 + 1, 2);
        } else {
            EXPECT_NEAR(ink.left, client.right - ink.right, 3);
        }
    }
}

TEST_F(DisplayWindow, TextsComeFromTheSystemCaptionColours)
{
    struct CaptionColours {
        const int elements[2] = {COLOR_ACTIVECAPTION, COLOR_CAPTIONTEXT};
        COLORREF original[2] = {GetSysColor(COLOR_ACTIVECAPTION), GetSysColor(COLOR_CAPTIONTEXT)};
        CaptionColours(COLORREF text, COLORREF shadow)
        {
            COLORREF colours[2] = {text, shadow};
            SetSysColors(2, elements, colours);
        }
        ~CaptionColours() { SetSysColors(2, elements, original); }
    };
    const COLORREF text = RGB(210, 30, 200), shadow = RGB(30, 200, 210);
    CaptionColours changed(text, shadow);
    CreateTool(300, 175);
    Show(2, "Straight Flush : 250");
    Capture shown = host.CaptureClient(Display(2));
    EXPECT_GT(CountColour(shown, RECT{0, 0, shown.width, shown.height}, text), 20);
    EXPECT_GT(CountColour(shown, RECT{0, 0, shown.width, shown.height}, shadow), 20);
    EXPECT_TRUE(SameImage(shown, ReferenceDisplay(Display(2), 2, record->font, "Straight Flush : 250")));
}

TEST_F(DisplayWindow, KeepsAtMostFiftyNineCharactersInTheRecord)
{
    CreateTool(300, 175);
    const std::string seventy = "0123456789abcdefghijABCDEFGHIJ0123456789abcdefghijABCDEFGHIJ0123456789";
    ASSERT_EQ(seventy.size(), 70u);
    const std::string fiftyNine = seventy.substr(0, 59);
    struct Case { const char *text; std::string stored; } cases[] = {
        {seventy.c_str(), fiftyNine},
        {fiftyNine.c_str(), fiftyNine},
        {"short", "short"},
        {"", ""},
        {nullptr, ""},      // a null text stores an empty one
    };
    for (int d = 0; d < 3; ++d)
        for (const Case &c : cases) {
            // A long text first, so a shorter one must clear what follows it.
            memset(record->displayTexts[d], 'x', DisplayTextSize - 1);
            EXPECT_EQ(SendMessageA(Display(d), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(c.text)), TRUE);
            const char *slot = record->displayTexts[d];
            EXPECT_EQ(std::string(slot), c.stored);
            for (int k = static_cast<int>(c.stored.size()); k < DisplayTextSize; ++k)
                EXPECT_EQ(slot[k], 0) << "byte " << k;
            EXPECT_TRUE(GetUpdateRect(Display(d), nullptr, FALSE)) << "a new text is repainted";
            host.Pump();
            EXPECT_TRUE(SameImage(host.CaptureClient(Display(d)),
                                  ReferenceDisplay(Display(d), d, record->font, c.stored)));
        }
}

TEST_F(DisplayWindow, OwnTitleStaysEmptyWhateverItShows)
{
    CreateTool(300, 175);
    char title[80];
    for (int d = 0; d < 3; ++d) {
        EXPECT_GT(lstrlenA(record->displayTexts[d]), 0) << "every display starts with a text";
        EXPECT_EQ(GetWindowTextA(Display(d), title, sizeof title), 0);
        Show(d, "Flush : 30");
        EXPECT_EQ(GetWindowTextA(Display(d), title, sizeof title), 0);
        EXPECT_EQ(GetWindowTextLengthA(Display(d)), 0);
        EXPECT_STREQ(record->displayTexts[d], "Flush : 30");
    }
}

TEST_F(DisplayWindow, DrawsInTheDeviceContextFontWhenTheToolHasNone)
{
    CreateTool(300, 175);
    HFONT font = record->font;
    record->font = nullptr;
    Show(2, "Jacks or Better : 5");
    Capture shown = host.CaptureClient(Display(2));
    record->font = font;
    EXPECT_TRUE(SameImage(shown, ReferenceDisplay(Display(2), 2, nullptr, "Jacks or Better : 5")));
}

TEST_F(DisplayWindow, AsksTheHostForTheBackgroundUnderItself)
{
    CreateTool(300, 175);
    // Displays of a 300 x 175 tool: wager at (1, 21), credits at (151, 21), result at (1, 0).
    const POINT origin[3] = {{1, 21}, {151, 21}, {1, 0}};
    const SIZE size[3] = {{146, 21}, {146, 21}, {298, 21}};
    for (int d = 0; d < 3; ++d) {
        host.ClearRecords();
        Show(d, "Three of a Kind : 15");
        ASSERT_EQ(host.PaintRequests().size(), 1u);
        const PaintRecord &asked = host.PaintRequests()[0];
        EXPECT_EQ(asked.request.window, tool);
        EXPECT_EQ(asked.painter, Display(d));
        EXPECT_EQ(asked.request.isChild, 1);
        EXPECT_EQ(asked.request.rect.left, 0);
        EXPECT_EQ(asked.request.rect.top, 0);
        EXPECT_EQ(asked.request.rect.right, size[d].cx);
        EXPECT_EQ(asked.request.rect.bottom, size[d].cy);
        EXPECT_EQ(asked.request.offset.x, origin[d].x);
        EXPECT_EQ(asked.request.offset.y, origin[d].y);
    }
    host.ClearRecords();
    for (int d = 0; d < 3; ++d)
        EXPECT_EQ(SendMessageA(Display(d), WM_PAINT, 0, 0), 0);
    EXPECT_TRUE(host.PaintRequests().empty()) << "nothing to update, nothing asked";
}

TEST_F(DisplayWindow, RightClickIsPostedToTheToolAtTheSamePoint)
{
    CreateTool(300, 175);
    host.Pump();
    const POINT origin[3] = {{1, 21}, {151, 21}, {1, 0}};
    for (int d = 0; d < 3; ++d)
        for (POINT p : {POINT{0, 0}, POINT{7, 3}, POINT{145, 20}}) {
            EXPECT_EQ(SendMessageA(Display(d), WM_RBUTTONUP, MK_CONTROL, MAKELPARAM(p.x, p.y)), 0);
            MSG posted;
            ASSERT_TRUE(PeekMessageA(&posted, tool, WM_RBUTTONUP, WM_RBUTTONUP, PM_REMOVE));
            EXPECT_EQ(posted.wParam, WPARAM(MK_CONTROL));
            EXPECT_EQ(LOWORD(posted.lParam), origin[d].x + p.x);
            EXPECT_EQ(HIWORD(posted.lParam), origin[d].y + p.y);
        }
    MenuRecord fromDisplay = OpenContextMenu(Display(1), POINT{30, 10});
    MenuRecord fromTool = OpenContextMenu(tool, POINT{151 + 30, 21 + 10});
    ASSERT_TRUE(fromDisplay.opened);
    ASSERT_TRUE(fromTool.opened);
    EXPECT_TRUE(EqualRect(&fromDisplay.windowRect, &fromTool.windowRect));
}

TEST_F(DisplayWindow, WithoutARecordTakesTextsButKeepsNone)
{
    HWND lone = CreateWindowExA(0, "VideoPokerDisplay", "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 10, host.Panel(),
                                nullptr, host.HostInstance(), nullptr);
    ASSERT_NE(lone, nullptr);
    EXPECT_EQ(SendMessageA(lone, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("CREDITS: 100")), TRUE);
    EXPECT_EQ(GetWindowTextLengthA(lone), 0);
    EXPECT_EQ(SendMessageA(lone, WM_NCHITTEST, 0, 0), HTCLIENT) << "default processing";
    DestroyWindow(lone);
}

TEST_F(DisplayWindow, WindowsTheRecordDoesNotListAnswerNothing)
{
    CreateTool(120, 70);
    EXPECT_EQ(CreateWindowExA(0, "VideoPokerDisplay", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, tool, nullptr,
                              host.HostInstance(), nullptr),
              nullptr);
    HWND stray = CreateWindowExA(0, "VideoPokerDisplay", "", WS_CHILD, 0, 0, 10, 10, host.Panel(), nullptr,
                                 host.HostInstance(), nullptr);
    ASSERT_NE(stray, nullptr);
    SetParent(stray, tool);
    std::string before[3];
    for (int d = 0; d < 3; ++d)
        before[d] = record->displayTexts[d];
    EXPECT_EQ(SendMessageA(stray, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("stray")), 0);
    EXPECT_EQ(SendMessageA(stray, WM_NCHITTEST, 0, 0), 0);
    SendMessageA(stray, WM_RBUTTONUP, 0, 0);
    MSG posted;
    EXPECT_FALSE(PeekMessageA(&posted, tool, WM_RBUTTONUP, WM_RBUTTONUP, PM_NOREMOVE));
    for (int d = 0; d < 3; ++d)
        EXPECT_EQ(record->displayTexts[d], before[d]);
    SetParent(stray, host.Panel());
    DestroyWindow(stray);
}

} // namespace
