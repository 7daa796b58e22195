// display_test.cpp: display windows: their texts, kept in the record, drawn aligned with a shadow.
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
        tool = nullptr;
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
    ::testing::AssertionResult ShowsAsDrawn(int d, const std::string &text, HFONT font)
    {
        return SameImage(host.CaptureClient(Display(d)), ReferenceDisplay(Display(d), d, font, text));
    }

    TestHost &host = TestHost::Instance();
    HWND tool = nullptr;
    VideoPokerToolData *record = nullptr;
};

TEST_F(DisplayWindow, DrawsTextsLeftRightAndCentredWithTheirShadow)
{
    const char *texts[] = {"", "W", "CREDITS: 12345", "Royal Flush : 4000", "Ij",
                           "Four of a Kind : 125 Four of a Kind : 125"};
    for (SIZE size : {SIZE{300, 175}, SIZE{120, 70}, SIZE{240, 140}}) {
        CreateTool(size.cx, size.cy);
        for (const char *text : texts)
            for (int d = 0; d < 3; ++d) {
                SCOPED_TRACE(testing::Message() << size.cx << "x" << size.cy << " display " << d
                                                << " \"" << text << "\"");
                Show(d, text);
                EXPECT_TRUE(ShowsAsDrawn(d, text, record->font));
            }
        TearDown();
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
    EXPECT_TRUE(ShowsAsDrawn(2, "Straight Flush : 250", record->font));
    // A tool whose font could not be made draws in the device context's own.
    HFONT font = record->font;
    record->font = nullptr;
    Show(2, "Jacks or Better : 5");
    EXPECT_TRUE(ShowsAsDrawn(2, "Jacks or Better : 5", nullptr));
    record->font = font;
}

TEST_F(DisplayWindow, KeepsAtMostFiftyNineCharactersInTheRecordAndNoTitle)
{
    CreateTool(300, 175);
    const std::string seventy = "0123456789abcdefghijABCDEFGHIJ0123456789abcdefghijABCDEFGHIJ0123456789";
    const std::string fiftyNine = seventy.substr(0, 59);
    struct Case { const char *text; std::string stored; } cases[] = {
        {seventy.c_str(), fiftyNine}, {fiftyNine.c_str(), fiftyNine}, {"short", "short"}, {"", ""},
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
            EXPECT_EQ(GetWindowTextLengthA(Display(d)), 0) << "the text is the record's, not the window's";
            EXPECT_TRUE(GetUpdateRect(Display(d), nullptr, FALSE)) << "a new text is repainted";
            host.Pump();
            EXPECT_TRUE(ShowsAsDrawn(d, c.stored, record->font));
        }
}

} // namespace
