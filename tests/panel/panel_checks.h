// panel_checks.h: what the tool tests share: saved blocks, what a host can read off a tool, and an
// evaluation of poker hands written apart from the module's.
#pragma once

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <gtest/gtest.h>
#include "tests/common/test_host.h"
#include "panel/tool.h"
#include "resources/resource_ids.h"

// A saved block built byte by byte at the documented offsets.
struct SavedBlock {
    unsigned char bytes[80] = {};   // room for the 73-byte case

    SavedBlock(const std::array<int, 5> &cards, const std::array<int, 5> &held, bool handComplete,
               int wager, int credits)
    {
        for (int i = 0; i < 5; ++i) {
            bytes[i] = static_cast<unsigned char>(held[i]);
            bytes[5 + i] = static_cast<unsigned char>(cards[i]);
            if (!handComplete)
                bytes[10 + cards[i]] = 1;
        }
        bytes[62] = handComplete ? 1 : 0;
        memcpy(bytes + 64, &wager, 4);
        memcpy(bytes + 68, &credits, 4);
    }
};

// The fresh game, written out field by field.
inline std::array<unsigned char, 72> FreshGameBytes()
{
    std::array<unsigned char, 72> bytes = {};
    for (int i = 0; i < 5; ++i)
        bytes[5 + i] = static_cast<unsigned char>(47 + i);
    bytes[62] = 1;
    bytes[68] = 100;
    return bytes;
}

inline std::array<unsigned char, 72> GameBytes(HWND tool)
{
    std::array<unsigned char, 72> bytes = {};
    void *address = nullptr;
    if (SendMessageA(tool, PTM_GETSTATE, 0, reinterpret_cast<LPARAM>(&address)) == 72 && address)
        memcpy(bytes.data(), address, 72);
    return bytes;
}

inline const VideoPokerGame &Game(HWND tool)
{
    return ToolRecord(tool)->game;
}

inline HWND Button(HWND tool, int controlId)
{
    return GetDlgItem(tool, controlId);
}

inline std::string WindowText(HWND window)
{
    char text[128] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

inline std::string DisplayText(HWND tool, int display)
{
    return ToolRecord(tool)->displayTexts[display];
}

inline HWND CardWindow(HWND tool, int position)
{
    return ToolRecord(tool)->cardWindows[position];
}

// A user's click: only an enabled button can be clicked.
inline void ClickButton(HWND tool, int controlId)
{
    HWND button = Button(tool, controlId);
    ASSERT_TRUE(IsWindowEnabled(button)) << "button " << controlId << " is disabled";
    SendMessageA(button, BM_CLICK, 0, 0);
    TestHost::Instance().Pump();
}

inline void ClickCard(HWND tool, int position)
{
    SendMessageA(CardWindow(tool, position), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    TestHost::Instance().Pump();
}

// What a player sees on the tool, for comparing whole states at once.
struct ToolFace {
    std::string wager, credits, result, caption;
    bool betOneOn, betFiveOn, dealDrawOn;

    bool operator==(const ToolFace &other) const
    {
        return wager == other.wager && credits == other.credits && result == other.result &&
               caption == other.caption && betOneOn == other.betOneOn && betFiveOn == other.betFiveOn &&
               dealDrawOn == other.dealDrawOn;
    }
};

inline std::ostream &operator<<(std::ostream &out, const ToolFace &face)
{
    return out << "{\"" << face.wager << "\", \"" << face.credits << "\", \"" << face.result << "\", \""
               << face.caption << "\", +1 " << face.betOneOn << ", Bet 5 " << face.betFiveOn
               << ", Deal/Draw " << face.dealDrawOn << "}";
}

inline ToolFace FaceOf(HWND tool)
{
    return ToolFace{DisplayText(tool, 0), DisplayText(tool, 1), DisplayText(tool, 2),
                    WindowText(Button(tool, IDC_DEAL_DRAW)), IsWindowEnabled(Button(tool, IDC_BET_ONE)) != 0,
                    IsWindowEnabled(Button(tool, IDC_BET_FIVE)) != 0,
                    IsWindowEnabled(Button(tool, IDC_DEAL_DRAW)) != 0};
}

// The face a tool must show for a record between or during hands, from the rules of play.
inline ToolFace ExpectedFace(bool handComplete, int wager, int credits, const std::string &result)
{
    return ToolFace{"WAGER: " + std::to_string(wager), "CREDITS: " + std::to_string(credits), result,
                    handComplete ? "Deal" : "Draw", handComplete && credits >= 1,
                    handComplete && credits >= 5, wager != 0 || !handComplete};
}

// Poker hands classified by counting patterns, independently of the module's evaluator.
enum class Hand { Nothing, RoyalFlush, StraightFlush, Four, FullHouse, Flush, Straight, Three, TwoPair, Jacks };

inline Hand ClassifyHand(const std::array<int, 5> &cards)
{
    std::array<int, 5> ranks;
    bool flush = true;
    for (int i = 0; i < 5; ++i) {
        ranks[i] = cards[i] % 13;
        flush = flush && cards[i] / 13 == cards[0] / 13;
    }
    std::sort(ranks.begin(), ranks.end());
    std::array<int, 13> count = {};
    for (int rank : ranks)
        ++count[rank];
    std::array<int, 13> pattern = count;
    std::sort(pattern.begin(), pattern.end(), std::greater<int>());
    bool distinct = pattern[0] == 1;
    bool wheel = ranks == std::array<int, 5>{0, 1, 2, 3, 12};
    bool straight = distinct && (ranks[4] - ranks[0] == 4 || wheel);
    if (straight && flush)
        return ranks[0] == 8 ? Hand::RoyalFlush : Hand::StraightFlush;
    if (pattern[0] == 4)
        return Hand::Four;
    if (pattern[0] == 3 && pattern[1] == 2)
        return Hand::FullHouse;
    if (flush)
        return Hand::Flush;
    if (straight)
        return Hand::Straight;
    if (pattern[0] == 3)
        return Hand::Three;
    if (pattern[0] == 2 && pattern[1] == 2)
        return Hand::TwoPair;
    if (pattern[0] == 2)
        for (int rank = 9; rank <= 12; ++rank)
            if (count[rank] == 2)
                return Hand::Jacks;
    return Hand::Nothing;
}

inline int PayFor(Hand hand, int coins)
{
    static const int perCoin[] = {0, 250, 50, 25, 9, 6, 4, 3, 2, 1};
    if (hand == Hand::RoyalFlush && coins == 5)
        return 4000;
    return perCoin[static_cast<int>(hand)] * coins;
}

inline std::string HandName(Hand hand)
{
    static const char *names[] = {"",          "Royal Flush", "Straight Flush", "Four of a Kind",
                                  "Full House", "Flush",      "Straight",       "Three of a Kind",
                                  "Two Pair",   "Jacks or Better"};
    return names[static_cast<int>(hand)];
}

// The result line after a draw: the hand's name and its payout, or the title for no paying hand.
inline std::string ResultLine(Hand hand, int coins)
{
    if (hand == Hand::Nothing)
        return "Video Poker";
    return HandName(hand) + " : " + std::to_string(PayFor(hand, coins));
}

inline std::array<int, 5> CardsOf(HWND tool)
{
    const VideoPokerGame &game = Game(tool);
    return {game.card[0], game.card[1], game.card[2], game.card[3], game.card[4]};
}

// Where a child window lies in its parent's client area: x, y, width, height.
struct Place {
    int x, y, width, height;
    bool operator==(const Place &other) const
    {
        return x == other.x && y == other.y && width == other.width && height == other.height;
    }
};

inline std::ostream &operator<<(std::ostream &out, const Place &place)
{
    return out << "(" << place.x << ", " << place.y << ") " << place.width << " x " << place.height;
}

inline Place PlaceOf(HWND child)
{
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT *>(&rect), 2);
    return Place{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

inline LONG FontHeightOf(HWND button)
{
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(button, WM_GETFONT, 0, 0));
    LOGFONTA logFont = {};
    if (!font || !GetObjectA(font, sizeof logFont, &logFont))
        return 0;
    return logFont.lfHeight;
}
