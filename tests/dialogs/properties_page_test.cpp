// properties_page_test.cpp: the page a tool makes on PTM_CREATEPAGE: where it goes, the pay table it shows,
// and which tool "New Game" restores, also after tools come and go.
#include <gtest/gtest.h>

#include <string>
#include <vector>
#include <windows.h>
#include "host/host_messages.h"
#include "panel/tool.h"
#include "resources/resource_ids.h"
#include "tests/common/test_host.h"

namespace {

class PropertiesPage : public ::testing::Test {
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
    // What the player sees of the purse: the wager and credits lines.
    static std::string Purse(HWND tool)
    {
        const VideoPokerToolData *data = ToolRecord(tool);
        return std::string(data->displayTexts[0]) + ", " + data->displayTexts[1];
    }

    TestHost &host = TestHost::Instance();
    ScopedWindow frame{CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 300, 200, 640, 400, nullptr, nullptr,
                                       nullptr, nullptr)};
    std::vector<HWND> tools;
};

// The pay table's rows read from the top, each coin count's column from the left.
TEST_F(PropertiesPage, SitsWhereAskedAndShowsThePayTable)
{
    HWND page = Page(NewTool(3), frame, 17, 40000);
    ASSERT_NE(page, nullptr);
    RECT place, size = {0, 0, 280, 100};
    GetWindowRect(page, &place);
    MapWindowPoints(HWND_DESKTOP, frame, reinterpret_cast<POINT *>(&place), 2);
    MapDialogRect(page, &size);
    EXPECT_TRUE(GetParent(page) == frame && place.left == 17 && place.top == 32767 &&   // positions stop there
                place.right - place.left == size.right && place.bottom - place.top == size.bottom);
    std::string table = WindowText(GetDlgItem(page, 1050));
    const int headings[] = {1067, 1087, 1097, 1107, 1117}, firstCells[] = {1077, 1088, 1098, 1108, 1118};
    int lastTop = -1;
    for (int row = -1; row < 9; ++row) {
        RECT name;
        GetWindowRect(GetDlgItem(page, 1058 + row), &name);
        table += "\n" + (row < 0 ? "" : WindowText(GetDlgItem(page, 1058 + row)));
        for (int column = 1; column <= 5; ++column) {
            HWND cell = GetDlgItem(page, row < 0 ? headings[column - 1] : firstCells[column - 1] + row);
            RECT at;
            GetWindowRect(cell, &at);
            table += " " + WindowText(cell);
            EXPECT_TRUE(row < 0 || (at.top == name.top && at.top > lastTop)) << row << ", " << column;
        }
        lastTop = row < 0 ? lastTop : name.top;
    }
    EXPECT_EQ(table, "Coins Played\n 1 2 3 4 5\nRoyal Flush 250 500 750 1000 4000\nStraight Flush 50 100 150 200 250"
                     "\nFour of a Kind 25 50 75 100 125\nFull House 9 18 27 36 45\nFlush 6 12 18 24 30"
                     "\nStraight 4 8 12 16 20\nThree of a Kind 3 6 9 12 15\nTwo Pair 2 4 6 8 10"
                     "\nJacks or Better 1 2 3 4 5");
    EXPECT_EQ(WindowText(GetDlgItem(page, IDC_NEW_GAME)) + "|" + WindowText(GetDlgItem(page, IDM_ABOUT)),
              "New Game|About Poker...");
}

TEST_F(PropertiesPage, NewGameResetsThePurseOfTheToolThatAskedLast)
{
    HWND first = NewTool(1), second = NewTool(2);
    HWND page = Page(first, frame);
    ASSERT_NE(page, nullptr);
    DestroyWindow(NewTool(0));   // another tool going leaves the target alone
    NewGame(page);
    EXPECT_EQ(Purse(first) + "; " + Purse(second), "WAGER: 0, CREDITS: 100; WAGER: 2, CREDITS: 98");
    SendMessageA(first, WM_COMMAND, IDC_BET_ONE, 0);
    ASSERT_NE(Page(second, frame, 0, 120), nullptr);
    NewGame(page);   // an earlier page serves the latest request
    EXPECT_EQ(Purse(first) + "; " + Purse(second), "WAGER: 1, CREDITS: 99; WAGER: 0, CREDITS: 100");
    EXPECT_EQ(Page(first, HWND(1)), nullptr);
    NewGame(page);   // a request that made no page still chose its tool
    for (WORD command : {IDOK, IDCANCEL, 1050, 4242})
        SendMessageA(page, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
    EXPECT_EQ(Purse(first) + "; " + Purse(second), "WAGER: 0, CREDITS: 100; WAGER: 0, CREDITS: 100");
    EXPECT_TRUE(IsWindow(page) && FindOpenDialog() == nullptr) << "other commands change nothing";
}

TEST_F(PropertiesPage, PageOfADestroyedToolDoesNothing)
{
    HWND doomed = NewTool(0);
    HWND page = Page(doomed, frame);
    VideoPokerToolData *freed = ToolRecord(doomed);
    DestroyWindow(doomed);
    // A page still pointing at the freed record would write where a new tool's record may now lie.
    HWND reuser = nullptr;
    for (int i = 0; i < 4 && !reuser; ++i)
        reuser = ToolRecord(NewTool(1)) == freed ? tools.back() : nullptr;
    if (!reuser)
        GTEST_SKIP() << "no new record took the freed one's memory, so a stale page could not show";
    NewGame(page);
    EXPECT_EQ(Purse(reuser), "WAGER: 1, CREDITS: 99");
    ASSERT_NE(Page(reuser, frame, 0, 150), nullptr);
    NewGame(page);
    EXPECT_EQ(Purse(reuser), "WAGER: 0, CREDITS: 100") << "the page serves again once a live tool asks";
}

}  // namespace
