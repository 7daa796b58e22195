// panel_checks.h: what the tool tests share: saved blocks, and what a host or a player can read off a tool.
#pragma once

#include <array>
#include <cstring>
#include <string>
#include <gtest/gtest.h>
#include "tests/common/test_host.h"
#include "panel/tool.h"
#include "resources/resource_ids.h"

using Bytes = std::array<unsigned char, 72>;

// A saved block built byte by byte at the documented offsets; mid-hand, the cards are marked dealt.
inline Bytes SavedBlock(const std::array<int, 5> &cards, const std::array<int, 5> &held, bool handComplete,
                        int wager, int credits)
{
    Bytes bytes = {};
    for (int i = 0; i < 5; ++i) {
        bytes[i] = static_cast<unsigned char>(held[i]);
        bytes[5 + i] = static_cast<unsigned char>(cards[i]);
        bytes[10 + cards[i]] = !handComplete;
    }
    bytes[62] = handComplete;
    memcpy(&bytes[64], &wager, 4);
    memcpy(&bytes[68], &credits, 4);
    return bytes;
}

inline Bytes GameBytes(HWND tool)
{
    Bytes bytes = {};
    void *address = nullptr;
    if (SendMessageA(tool, PTM_GETSTATE, 0, reinterpret_cast<LPARAM>(&address)) == 72 && address)
        memcpy(bytes.data(), address, 72);
    return bytes;
}

// What a player sees: the three display lines, the buttons' captions, and which of them work.
inline std::string Face(HWND tool)
{
    const VideoPokerToolData *record = ToolRecord(tool);
    std::string face = std::string(record->displayTexts[0]) + "|" + record->displayTexts[1] + "|" +
                       record->displayTexts[2] + "|", enabled;
    for (int id : {IDC_BET_ONE, IDC_BET_FIVE, IDC_DEAL_DRAW}) {
        face += WindowText(GetDlgItem(tool, id)) + "|";
        enabled += IsWindowEnabled(GetDlgItem(tool, id)) ? "1" : "0";
    }
    return face + enabled;
}

// The face a tool must show for a record between or during hands, from the rules of play.
inline std::string ExpectedFace(bool handComplete, int wager, int credits, const std::string &result)
{
    return "WAGER: " + std::to_string(wager) + "|CREDITS: " + std::to_string(credits) + "|" + result + "|+1|Bet 5|" +
           (handComplete ? "Deal|" : "Draw|") + (handComplete && credits >= 1 ? "1" : "0") +
           (handComplete && credits >= 5 ? "1" : "0") + (wager != 0 || !handComplete ? "1" : "0");
}
