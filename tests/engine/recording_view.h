// recording_view.h: a GameView without windows that records every call and keeps what a tool would show.
#pragma once

#include "engine/game.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>
#include <vector>

// The module's English string table, as far as the engine reads it.
inline const char *EnglishText(int stringId)
{
    switch (stringId) {
    case TextDeal: return "Deal";
    case TextDraw: return "Draw";
    case TextTitle: return "Video Poker";
    case HandNameText(RoyalFlush): return "Royal Flush";
    case HandNameText(StraightFlush): return "Straight Flush";
    case HandNameText(FourOfAKind): return "Four of a Kind";
    case HandNameText(FullHouse): return "Full House";
    case HandNameText(Flush): return "Flush";
    case HandNameText(Straight): return "Straight";
    case HandNameText(ThreeOfAKind): return "Three of a Kind";
    case HandNameText(TwoPair): return "Two Pair";
    case HandNameText(JacksOrBetter): return "Jacks or Better";
    case TextWagerPrefix: return "WAGER: ";
    case TextCreditsPrefix: return "CREDITS: ";
    }
    return nullptr;
}

struct ViewCall {
    enum Kind { Text, Repaint, Enable, Label, Click } kind;
    int target;                       // display, card position, button or string id
    bool flag;                        // erase, or on
    std::string text;

    bool operator==(const ViewCall &other) const
    {
        return kind == other.kind && target == other.target && flag == other.flag && text == other.text;
    }
};

inline ViewCall TextCall(int display, const std::string &text) { return {ViewCall::Text, display, false, text}; }
inline ViewCall RepaintCall(int position, bool erase) { return {ViewCall::Repaint, position, erase, ""}; }
inline ViewCall EnableCall(int button, bool on) { return {ViewCall::Enable, button, on, ""}; }
inline ViewCall LabelCall(int stringId) { return {ViewCall::Label, stringId, false, ""}; }
inline ViewCall ClickCall() { return {ViewCall::Click, 0, false, ""}; }

inline std::ostream &operator<<(std::ostream &out, const ViewCall &call)
{
    static const char *buttons[] = { "+1", "Bet 5", "Deal/Draw" };
    switch (call.kind) {
    case ViewCall::Text: return out << "Text(" << call.target << ", \"" << call.text << "\")";
    case ViewCall::Repaint: return out << "Repaint(" << call.target << (call.flag ? ", erase)" : ", keep)");
    case ViewCall::Enable:
        return out << "Enable(" << (call.target >= 0 && call.target < 3 ? buttons[call.target] : "?")
                   << (call.flag ? ", on)" : ", off)");
    case ViewCall::Label: return out << "Label(" << call.target << ")";
    case ViewCall::Click: return out << "Click()";
    }
    return out;
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

    std::vector<ViewCall> calls;
    std::string displays[3];
    bool enabled[3] = { false, false, false };
    std::string caption;
    std::vector<int> loadedIds;

    void SetDisplayText(int display, const char *text) override
    {
        EXPECT_TRUE(display >= 0 && display < 3) << "display " << display;
        EXPECT_LT(strlen(text), 60u) << "a display keeps at most 59 characters";
        calls.push_back(TextCall(display, text));
        if (display >= 0 && display < 3)
            displays[display] = text;
    }
    void RepaintCard(int position, bool erase) override
    {
        EXPECT_TRUE(position >= 0 && position < HandSize) << "position " << position;
        calls.push_back(RepaintCall(position, erase));
    }
    void EnableButton(int button, bool on) override
    {
        EXPECT_TRUE(button >= 0 && button < 3) << "button " << button;
        calls.push_back(EnableCall(button, on));
        if (button >= 0 && button < 3)
            enabled[button] = on;
    }
    void SetDealDrawLabel(GameText stringId) override
    {
        EXPECT_TRUE(stringId == TextDeal || stringId == TextDraw) << "caption " << stringId;
        calls.push_back(LabelCall(stringId));
        caption = EnglishText(stringId) ? EnglishText(stringId) : "?";
    }
    // Like the real button: a disabled one does not answer the press.
    void ClickDealDraw() override
    {
        EXPECT_EQ(clickDepth_, 0) << "a click inside a click";
        calls.push_back(ClickCall());
        if (!enabled[DealDrawButton])
            return;
        ++clickDepth_;
        DealOrDraw(game_, *this);
        --clickDepth_;
    }
    int LoadText(GameText stringId, char *buffer, int size) override
    {
        loadedIds.push_back(stringId);
        const char *text = EnglishText(stringId);
        EXPECT_NE(text, nullptr) << "string " << stringId << " is not in the table";
        if (!text)
            text = "";
        int length = static_cast<int>(strlen(text));
        if (length > size - 1)
            length = size - 1;
        memcpy(buffer, text, length);
        buffer[length] = '\0';
        return length;
    }

    // What a button press in the tool does, refusing a press on a disabled button as the tool would.
    void Press(int button)
    {
        ASSERT_TRUE(enabled[button]) << "pressed a disabled button " << button;
        if (button == BetOneButton)
            BetOne(game_, *this);
        else if (button == BetFiveButton)
            BetFive(game_, *this);
        else
            DealOrDraw(game_, *this);
    }

    std::vector<ViewCall> TakeCalls()
    {
        std::vector<ViewCall> taken;
        taken.swap(calls);
        return taken;
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

inline int CountDealt(const VideoPokerGame &game)
{
    int count = 0;
    for (int c = 0; c < DeckSize; ++c)
        count += game.dealt[c] != 0;
    return count;
}

inline bool IsInHand(const Card hand[HandSize], Card card)
{
    for (int i = 0; i < HandSize; ++i)
        if (hand[i] == card)
            return true;
    return false;
}
