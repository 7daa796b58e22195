// display_test.cpp: display windows: their texts, kept in the record, drawn aligned with a shadow.
#include <cstring>
#include <string>
#include <gtest/gtest.h>
#include "panel/tool.h"
#include "tests/common/test_host.h"

namespace {

// Caption colours no background or artwork uses, so every pixel of a display tells what drew it.
const COLORREF kText = RGB(210, 30, 200), kShadow = RGB(30, 200, 210);

class DisplayWindow : public OneToolTest {
protected:
    const SystemColour textColour{COLOR_ACTIVECAPTION, kText}, shadowColour{COLOR_CAPTIONTEXT, kShadow};
    HWND Display(int d) const { return record->displayWindows[d]; }
    // Sets a display's text the way the tool does, lets it repaint and captures it.
    Capture Show(int d, const char *text)
    {
        SendMessageA(Display(d), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
        host.Pump();
        return host.CaptureClient(Display(d));
    }

    // The box of what is written (every pixel that is not the host's background), after checking that
    // the shadow lies one pixel right of and below the text: no shadow pixel without ink up and left of it,
    // no text pixel without ink down and right (so none on the box's last row either). Text edges may be
    // smoothed, so only pixels of the pure colours are judged.
    RECT InkBox(int d, const Capture &shown)
    {
        auto ink = [&](int x, int y) {   // past the edges counts as ink: what lies there cannot be judged
            return x < 0 || y < 0 || x >= shown.width || y >= shown.height ||
                   shown.At(x, y) != host.BackgroundUnder(Display(d), x, y);
        };
        const RECT box = FindInk(shown, kEverywhere, ink).box;
        EXPECT_EQ(FindInk(shown, box, [&](int x, int y) { return shown.At(x, y) == kShadow && !ink(x - 1, y - 1); })
                      .count, 0) << "a shadow without its text";
        EXPECT_EQ(FindInk(shown, box, [&](int x, int y) { return shown.At(x, y) == kText && !ink(x + 1, y + 1); })
                      .count, 0) << "text without its shadow";
        bothColoursShown = FindColour(shown, kText).count > 0 && FindColour(shown, kShadow).count > 0;
        return box;   // empty when nothing is written
    }

    bool bothColoursShown = false;   // of the last InkBox: small glyphs may be all smoothed edge
};

// "III" has the same bearing on both sides, so its ink lies as far from the left edge in the wager
// display as from the right edge in the credits display (but for the shadow's column), and in the
// middle of the result line.
TEST_F(DisplayWindow, TextsSitLeftRightAndCentredInTheToolsFontWithTheirShadow)
{
    int inkHeight[2] = {};
    for (SIZE size : {SIZE{120, 70}, SIZE{300, 175}}) {
        SCOPED_TRACE(testing::Message() << size.cx << "x" << size.cy);
        CreateTool(size.cx, size.cy);
        RECT box[3];
        for (int d = 0; d < 3; ++d) {
            box[d] = InkBox(d, Show(d, "III"));
            ASSERT_FALSE(IsRectEmpty(&box[d])) << "display " << d << " shows nothing";
        }
        const int width = host.CaptureClient(Display(1)).width, line = host.CaptureClient(Display(2)).width;
        EXPECT_GE(box[0].left, 4) << "the margin";
        EXPECT_EQ(box[0].left, width - box[1].right + 1) << "margins alike but for the shadow's column";
        EXPECT_LE(std::abs(box[2].left + box[2].right - line), 1) << "centred";
        EXPECT_TRUE(box[0].top == box[1].top && box[1].top == box[2].top) << "one baseline";
        const int height = host.CaptureClient(Display(0)).height;
        EXPECT_LE(std::abs(box[0].top + box[0].bottom - height), 3) << "centred in the height";
        inkHeight[size.cx > 200] = box[0].bottom - box[0].top;
        for (int d = 0; d < 3; ++d) {
            InkBox(d, Show(d, "Four of a Kind : 125 Four of a Kind : 125"));   // longer than the display
            EXPECT_TRUE(bothColoursShown) << "text and shadow in their own system colours, display " << d;
        }
    }
    EXPECT_GT(inkHeight[1], inkHeight[0]) << "the text follows the font laid out for the size";

    // A tool whose font could not be made still writes, in the device context's own font.
    HFONT font = record->font;
    record->font = nullptr;
    const RECT box = InkBox(2, Show(2, "Jacks or Better : 5"));
    EXPECT_FALSE(IsRectEmpty(&box));
    record->font = font;
}

TEST_F(DisplayWindow, KeepsAtMostFiftyNineCharactersInTheRecordAndNoTitle)
{
    CreateTool(300, 175);
    const std::string seventy = "0123456789abcdefghijABCDEFGHIJ0123456789abcdefghijABCDEFGHIJ0123456789";
    // A null text stores an empty one.
    struct Case { const char *text; std::string stored; } cases[] = {
        {seventy.c_str(), seventy.substr(0, 59)}, {"short", "short"}, {nullptr, ""}};
    for (int d = 0; d < 3; ++d)
        for (const Case &c : cases) {
            // A long text first, so a shorter one must clear what follows it.
            memset(record->displayTexts[d], 'x', DisplayTextSize - 1);
            EXPECT_EQ(SendMessageA(Display(d), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(c.text)), TRUE);
            EXPECT_EQ(std::string(record->displayTexts[d], DisplayTextSize),
                      c.stored + std::string(DisplayTextSize - c.stored.size(), '\0')) << "the rest cleared";
            EXPECT_EQ(GetWindowTextLengthA(Display(d)), 0) << "the text is the record's, not the window's";
            EXPECT_TRUE(GetUpdateRect(Display(d), nullptr, FALSE)) << "a new text is repainted";
            host.Pump();
            const Capture shown = host.CaptureClient(Display(d)), stored = Show(d, c.stored.c_str());
            EXPECT_EQ(shown.pixels, stored.pixels) << "what shows is what the record keeps";
            const RECT box = InkBox(d, shown);
            EXPECT_EQ(IsRectEmpty(&box), c.stored.empty());
        }
}

} // namespace
