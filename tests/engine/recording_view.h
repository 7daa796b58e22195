// recording_view.h: a GameView without windows that keeps what a tool would show.
#pragma once

#include "engine/game.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

// The module's English string table, as far as the engine reads it, in the order of GameText.
inline const char *EnglishText(GameText text)
{
    static const char *const texts[] = {"Video Poker", "Royal Flush", "Straight Flush", "Four of a Kind",
        "Full House", "Flush", "Straight", "Three of a Kind", "Two Pair", "Jacks or Better", "WAGER: ", "CREDITS: ",
        "Deal", "Draw"};
    return text >= TextTitle && text <= TextDraw ? texts[text] : nullptr;
}

// The five seeded deals the tests need come from a clock they set; it counts its readings, since
// every seeding reads it once.
struct TestClock {
    static int64_t seconds;
    static int reads;
    static int64_t Read() { ++reads; return seconds; }
};
inline int64_t TestClock::seconds = 1000000;
inline int TestClock::reads = 0;

class RecordingView : public GameView {
public:
    explicit RecordingView(VideoPokerGame &game) : game_(game) {}

    std::string displays[3];
    bool enabled[3] = { false, false, false };
    std::string caption;
    std::string repaints;              // each card repaint as its position, "e" after it when erased

    void SetDisplayText(int display, const char *text) override
    {
        ASSERT_TRUE(display >= 0 && display < 3) << "display " << display;
        EXPECT_LT(strlen(text), 60u) << "a display keeps at most 59 characters";
        displays[display] = text;
    }
    void RepaintCard(int position, bool erase) override
    {
        EXPECT_TRUE(position >= 0 && position < HandSize) << "position " << position;
        repaints += std::to_string(position) + (erase ? "e " : " ");
    }
    void EnableButton(int button, bool on) override
    {
        ASSERT_TRUE(button >= 0 && button < 3) << "button " << button;
        enabled[button] = on;
    }
    void SetDealDrawLabel(GameText label) override
    {
        EXPECT_TRUE(label == TextDeal || label == TextDraw) << "caption " << label;
        caption = EnglishText(label) ? EnglishText(label) : "?";
    }
    // Like the real button: a disabled one does not answer the press.
    void ClickDealDraw() override
    {
        EXPECT_EQ(clickDepth_, 0) << "a click inside a click";
        if (!enabled[DealDrawButton])
            return;
        ++clickDepth_;
        DealOrDraw(game_, *this);
        --clickDepth_;
    }
    int LoadText(GameText text, char *buffer, int size) override
    {
        EXPECT_NE(EnglishText(text), nullptr) << "text " << text << " is not in the table";
        std::string words = std::string(EnglishText(text) ? EnglishText(text) : "") + padding;
        int length = std::min(static_cast<int>(words.size()), size - 1);
        memcpy(buffer, words.data(), length);
        buffer[length] = '\0';
        return length;
    }
    std::string padding;               // put after every text, to overrun the tool's buffers

    // What a button press in the tool does, refusing a press on a disabled button as the tool would.
    void Press(int button)
    {
        ASSERT_TRUE(enabled[button]) << "pressed a disabled button " << button;
        (button == BetOneButton ? BetOne : button == BetFiveButton ? BetFive : DealOrDraw)(game_, *this);
    }

private:
    VideoPokerGame &game_;
    int clickDepth_ = 0;
};

// Every test of play reads a clock it controls; the real clock comes back afterwards.
class WithTestClock : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestClock::seconds = 1000000;
        TestClock::reads = 0;
        SetGameClock(TestClock::Read);
    }
    void TearDown() override { SetGameClock(nullptr); }
};
