// dialogs_test.cpp: the properties page a tool makes on PTM_CREATEPAGE (where it goes, what it shows, which
// tool "New Game" restores), and the About box (its texts, closing, the sequence that reveals its caption).
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>
#include <windows.h>
#include "panel/tool.h"
#include "resources/resource_ids.h"
#include "tests/common/test_host.h"

namespace {

class Dialogs : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(host.Ready()); }
    void TearDown() override
    {
        for (HWND tool : tools)
            DestroyWindow(tool);
    }
    HWND NewTool(int coins)
    {
        tools.push_back(host.CreateLaidOutTool(120, 70, nullptr, 0, 10 + 130 * static_cast<int>(tools.size() % 5)));
        for (int i = 0; i < coins; ++i)
            SendMessageA(tools.back(), WM_COMMAND, IDC_BET_ONE, 0);
        return tools.back();
    }
    HWND Page(HWND tool, HWND parent, int x = 0, int y = 0)
    {
        return reinterpret_cast<HWND>(SendMessageA(tool, PTM_CREATEPAGE, WPARAM(parent), MAKELONG(x, y)));
    }
    static void NewGame(HWND page) { SendMessageA(GetDlgItem(page, IDC_NEW_GAME), BM_CLICK, 0, 0); }
    // The purses of the tools as the player reads them: "wager/credits ...".
    std::string Purses()
    {
        std::string purses;
        for (HWND tool : tools)
            if (IsWindow(tool))
                purses += std::to_string(ToolRecord(tool)->game.wager) + "/" +
                          std::to_string(ToolRecord(tool)->game.credits) + " ";
        return purses;
    }

    TestHost &host = TestHost::Instance();
    ScopedWindow frame{CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 300, 200, 640, 400, nullptr, nullptr,
                                       nullptr, nullptr)};
    std::vector<HWND> tools;
};

TEST_F(Dialogs, PageSitsWhereAskedWithItsTexts)
{
    HWND page = Page(NewTool(3), frame, 17, 40000);
    ASSERT_NE(page, nullptr);
    RECT place, size = {0, 0, 280, 100};
    GetWindowRect(page, &place);
    MapWindowPoints(HWND_DESKTOP, frame, reinterpret_cast<POINT *>(&place), 2);
    MapDialogRect(page, &size);
    EXPECT_TRUE(GetParent(page) == frame && place.left == 17 && place.top == 32767 &&   // positions stop there
                place.right - place.left == size.right && place.bottom - place.top == size.bottom);
    std::string texts = WindowText(GetDlgItem(page, IDC_COINS_PLAYED)) + "|" + WindowText(GetDlgItem(page, IDC_NEW_GAME));
    for (int id = IDC_HAND_NAME_FIRST; id <= IDC_HAND_NAME_LAST; ++id)
        texts += "|" + WindowText(GetDlgItem(page, id));
    // Then the pay table a player reads: each column's header and its cells (the 1-coin cells stand apart).
    for (int header : {1067, 1087, 1097, 1107, 1117}) {
        texts += "|" + WindowText(GetDlgItem(page, header)) + ":";
        for (int row = 0; row < 9; ++row)
            texts += " " + WindowText(GetDlgItem(page, (header == 1067 ? 1077 : header + 1) + row));
    }
    EXPECT_EQ(texts, "Coins Played|New Game|Royal Flush|Straight Flush|Four of a Kind|Full House|Flush|Straight|"
                     "Three of a Kind|Two Pair|Jacks or Better|1: 250 50 25 9 6 4 3 2 1|2: 500 100 50 18 12 8 6 4 2"
                     "|3: 750 150 75 27 18 12 9 6 3|4: 1000 200 100 36 24 16 12 8 4|5: 4000 250 125 45 30 20 15 10 5");
}

TEST_F(Dialogs, NewGameResetsThePurseOfTheToolThatAskedLastAndNoCommandDoes)
{
    HWND first = NewTool(1), second = NewTool(2);
    // A host forwarding its own command ids, or any control notifying the tool, must not reach a purse:
    // only the tool's own five commands act.
    const VideoPokerGame before = ToolRecord(second)->game;
    for (int id = 0; id < 4096; ++id) {
        if (id == IDM_PROPERTIES || id == IDM_ABOUT || (id >= IDC_BET_ONE && id <= IDC_DEAL_DRAW))
            continue;
        for (WORD code : {WORD(BN_CLICKED), WORD(1), WORD(0xFFFF)})
            ASSERT_EQ(SendMessageA(second, WM_COMMAND, MAKEWPARAM(id, code), LPARAM(code ? HWND(frame) : nullptr)), 0) << id;
    }
    EXPECT_EQ(memcmp(&before, &ToolRecord(second)->game, sizeof before), 0) << "a command changed the game";
    HWND page = Page(first, frame);
    ASSERT_NE(page, nullptr);
    DestroyWindow(NewTool(0));   // another tool going leaves the target alone
    NewGame(page);
    EXPECT_EQ(Purses(), "0/100 2/98 ");
    SendMessageA(first, WM_COMMAND, IDC_BET_ONE, 0);
    ASSERT_NE(Page(second, frame, 0, 120), nullptr);
    NewGame(page);   // an earlier page serves the latest request
    EXPECT_EQ(Purses(), "1/99 0/100 ");
    EXPECT_EQ(Page(first, HWND(1)), nullptr);
    NewGame(page);   // a request that made no page still chose its tool
    for (WORD command : {IDOK, IDCANCEL, 1050, 4242})
        SendMessageA(page, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
    EXPECT_EQ(Purses(), "0/100 0/100 ") << "other commands change nothing";
    EXPECT_TRUE(IsWindow(page) && FindOpenDialog() == nullptr);

    // A page still pointing at a freed record would write where a new tool's record may now lie.
    VideoPokerToolData *freed = ToolRecord(first);
    DestroyWindow(first);
    HWND reuser = nullptr;
    for (int i = 0; i < 4 && !reuser; ++i)
        reuser = ToolRecord(NewTool(1)) == freed ? tools.back() : nullptr;
    if (!reuser)
        GTEST_SKIP() << "no new record took the freed one's memory, so a stale page could not show";
    NewGame(page);
    EXPECT_EQ(ToolRecord(reuser)->game.credits, 99) << "the page of a destroyed tool does nothing";
    ASSERT_NE(Page(reuser, frame, 0, 150), nullptr);
    NewGame(page);
    EXPECT_EQ(ToolRecord(reuser)->game.credits, 100) << "the page serves again once a live tool asks";
}

TEST_F(Dialogs, AboutBoxOpensFromTheMenuAndThePageAndAnyCommandClosesIt)
{
    SetCursorPos(1020, 760);   // away from where the dialogs open, so no real movement reaches them
    HWND tool = NewTool(0);
    HWND page = Page(tool, frame, 4, 4);
    std::string texts;
    RECT card = {};
    // The box runs a modal loop inside the tool's own handler: the last one sees the host lay its tool out
    // again and destroy it meanwhile, and still closes.
    const struct { HWND from; int command; } closes[] = {{tool, IDOK}, {page, IDCANCEL}, {tool, 4242}};
    for (const auto &close : closes) {
        INT_PTR shown = 0;
        const HWND owner = GetAncestor(close.from, GA_ROOT);
        ModalRun run = DriveModal([&] { SendMessageA(close.from, WM_COMMAND, IDM_ABOUT, 0); }, [&](HWND dialog) {
            for (int id : {IDC_ABOUT_NAME, IDC_ABOUT_COPYRIGHT, IDC_ABOUT_AUTHOR})
                texts += WindowText(GetDlgItem(dialog, id)) + "|";
            texts += WindowText(dialog) + "\n";
            shown = GetWindowLongPtrA(dialog, DWLP_DLGPROC);
            if (close.command == 4242) {
                host.Resize(tool, 300, 175);
                GetClientRect(ToolRecord(tool)->cardWindows[0], &card);
                DestroyWindow(tool);
            }
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(close.command, 7), 0);
        });
        EXPECT_TRUE(run.opened && run.closedByScript && shown && run.owner == owner && IsWindowEnabled(owner))
            << close.command;
    }
    const std::string once =
        "Video Poker|Copyright (C) 2026 the VideoPoker authors|Written by the VideoPoker team|About Video Poker...\n";
    EXPECT_EQ(texts, once + once + once);
    EXPECT_TRUE(card.right == 58 && !IsWindow(tool) && FindOpenDialog() == nullptr)
        << "laid out to the new size, then destroyed, while the box was open";
}

// R right double-click, L left double-click, M mouse movement; the answer is the caption shown after each
// script ("hidden" or "normal"), which is then put back.
TEST_F(Dialogs, AboutBoxRevealsItsHiddenCaptionOnlyForTheSequenceInOrder)
{
    HWND tool = NewTool(0);
    std::string seen;
    auto play = [&](HWND dialog, const char *script) {
        const std::string normal = WindowText(dialog);
        for (const char *step = script; *step; ++step)
            SendMessageA(dialog, *step == 'R' ? WM_RBUTTONDBLCLK : *step == 'L' ? WM_LBUTTONDBLCLK : WM_MOUSEMOVE, 0,
                         MAKELPARAM(30, 20));
        const std::string caption = WindowText(dialog);
        SetWindowTextA(dialog, normal.c_str());
        seen += caption == "Royal flush at dawn!" ? "hidden " : caption == normal ? "normal " : caption + " ";
    };
    // Movement first does not matter, movement between starts over, a left first is ignored, the same
    // button twice starts over, after a reveal it starts again, and the next opening carries it on.
    const char *scripts[] = {"MRLRL", "MRLMRL", "MRLRML", "MLRLRL", "MRRLRL", "MRLLRL", "MRLRL", "RL"};
    DriveModal([&] { SendMessageA(tool, WM_COMMAND, IDM_ABOUT, 0); }, [&](HWND dialog) {
        for (const char *script : scripts)
            play(dialog, script);
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    DriveModal([&] { SendMessageA(tool, WM_COMMAND, IDM_ABOUT, 0); }, [&](HWND dialog) {
        play(dialog, "RL");
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(seen, "hidden normal normal hidden normal normal hidden normal hidden ");
}

}  // namespace
