// tool_window_test.cpp: the tool window's own messages: paint, context menu, commands, host messages.
#include "tests/panel/panel_checks.h"

#include <cstdio>

namespace {

class ToolWindow : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(host.Ready()) << "VideoPoker.dll could not be loaded by its exports"; }
    TestHost &host = TestHost::Instance();
};

class ToolMenu : public ToolWindow {};

TEST_F(ToolWindow, PaintAsksTheHostForTheToolsWholeClientArea)
{
    ScopedWindow tool(host.CreateLaidOutTool(240, 140, nullptr, 0, 50, 60));
    ASSERT_NE(tool.get(), nullptr);
    host.ClearRecords();
    InvalidateRect(tool, nullptr, TRUE);
    UpdateWindow(tool);
    std::vector<PaintRecord> own;
    for (const PaintRecord &record : host.PaintRequests())
        if (record.painter == tool.get())
            own.push_back(record);
    ASSERT_EQ(own.size(), 1u);
    const PanelPaintRequest &request = own[0].request;
    EXPECT_EQ(request.window, tool.get());
    EXPECT_EQ(request.isChild, 0);
    EXPECT_EQ(request.rect.left, 0);
    EXPECT_EQ(request.rect.top, 0);
    EXPECT_EQ(request.rect.right, 240);
    EXPECT_EQ(request.rect.bottom, 140);
    EXPECT_EQ(request.offset.x, 0);
    EXPECT_EQ(request.offset.y, 0);
}

TEST_F(ToolWindow, HostBackgroundShowsBetweenTheChildren)
{
    ScopedWindow tool(host.CreateLaidOutTool(300, 175, nullptr, 0, 40, 30));
    ASSERT_NE(tool.get(), nullptr);
    RedrawWindow(tool, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    host.Pump();
    // Between the result line and the wager display nothing lies; nor in the gap between two cards.
    const POINT gaps[] = {{149, 30}, {0, 100}, {299, 100}, {60, 60}};
    for (POINT gap : gaps)
        EXPECT_EQ(host.ReadPixel(tool, gap.x, gap.y), host.BackgroundUnder(tool, gap.x, gap.y))
            << "at (" << gap.x << ", " << gap.y << ")";
}

TEST_F(ToolWindow, PaintWithNothingToRepaintAsksNothing)
{
    ScopedWindow tool(host.CreateLaidOutTool(120, 70));
    ASSERT_NE(tool.get(), nullptr);
    host.Pump();
    host.ClearRecords();
    EXPECT_EQ(SendMessageA(tool, WM_PAINT, 0, 0), 0);
    EXPECT_TRUE(host.PaintRequests().empty());
}

TEST_F(ToolWindow, UnknownCommandsChangeNothing)
{
    SavedBlock block({0, 13, 26, 39, 12}, {0, 1, 0, 0, 0}, false, 3, 40);
    ScopedWindow tool(host.CreateLaidOutTool(120, 70, block.bytes, 72));
    ASSERT_NE(tool.get(), nullptr);
    const std::array<unsigned char, 72> bytes = GameBytes(tool);
    const ToolFace face = FaceOf(tool);
    host.ClearRecords();
    for (WPARAM command : {0, 112, 114, 118, 120, 261, 265, 1048, 0x7FFF})
        EXPECT_EQ(SendMessageA(tool, WM_COMMAND, command, 0), 0) << "command " << command;
    host.Pump();
    EXPECT_EQ(GameBytes(tool), bytes);
    EXPECT_EQ(FaceOf(tool), face);
    EXPECT_TRUE(host.HostMessages().empty());
}

TEST_F(ToolWindow, CommandsLookOnlyAtTheLowWord)
{
    ScopedWindow tool(host.CreateLaidOutTool(120, 70));
    ASSERT_NE(tool.get(), nullptr);
    SendMessageA(tool, WM_COMMAND, MAKEWPARAM(IDC_BET_ONE, 1), 0);   // as an accelerator would send it
    SendMessageA(tool, WM_COMMAND, MAKEWPARAM(IDC_BET_ONE, BN_DOUBLECLICKED), 0);
    host.Pump();
    EXPECT_EQ(FaceOf(tool), ExpectedFace(true, 2, 98, "Video Poker"));
}

TEST_F(ToolWindow, PropertiesCommandAsksTheHostOnce)
{
    ScopedWindow tool(host.CreateLaidOutTool(120, 70));
    ASSERT_NE(tool.get(), nullptr);
    host.ClearRecords();
    EXPECT_EQ(SendMessageA(tool, WM_COMMAND, IDM_PROPERTIES, 0), 0);
    ASSERT_EQ(host.HostMessages().size(), 1u);
    EXPECT_EQ(host.HostMessages()[0].message, static_cast<UINT>(PTM_SHOWPROPERTIES));
    EXPECT_EQ(host.HostMessages()[0].wParam, reinterpret_cast<WPARAM>(tool.get()));
    EXPECT_EQ(host.HostMessages()[0].lParam, 0);
}

TEST_F(ToolWindow, MessagesBetweenTheHostRangesGoToTheDefaultHandling)
{
    ScopedWindow tool(host.CreateLaidOutTool(120, 70));
    ASSERT_NE(tool.get(), nullptr);
    const std::array<unsigned char, 72> bytes = GameBytes(tool);
    host.ClearRecords();
    for (UINT message = PTM_ADJUSTSIZE3 + 1; message < PTM_LAYOUT; ++message) {
        void *slot = &slot;
        EXPECT_EQ(SendMessageA(tool, message, 0, reinterpret_cast<LPARAM>(&slot)), 0) << message;
        EXPECT_EQ(slot, &slot) << message;
    }
    host.Pump();
    EXPECT_EQ(GameBytes(tool), bytes);
    EXPECT_TRUE(host.HostMessages().empty()) << "the tool's messages to the host are not answered to it";
}

// A window of the tool's class that no creation finished: it carries no record.
HWND BareToolWindow(TestHost &host)
{
    return CreateWindowExA(0, "VideoPokerTool", "", WS_CHILD | WS_VISIBLE, 0, 0, 120, 70, host.Panel(),
                           nullptr, host.HostInstance(), nullptr);
}

TEST_F(ToolWindow, WithoutARecordHostMessagesTouchNothing)
{
    ScopedWindow bare(BareToolWindow(host));
    ASSERT_NE(bare.get(), nullptr);
    ASSERT_EQ(GetWindowLongPtrA(bare, 0), 0);

    void *slot = &slot;
    EXPECT_EQ(SendMessageA(bare, PTM_GETSTATE, 0, reinterpret_cast<LPARAM>(&slot)), 0);
    EXPECT_EQ(slot, &slot) << "no address is handed out";
    SavedBlock block({0, 1, 2, 3, 4}, {}, true, 0, 7);
    const SavedBlock copy = block;
    EXPECT_EQ(SendMessageA(bare, PTM_SETSTATE, 0, reinterpret_cast<LPARAM>(block.bytes)), 0);
    EXPECT_EQ(memcmp(block.bytes, copy.bytes, sizeof block.bytes), 0);
    EXPECT_EQ(SendMessageA(bare, PTM_LAYOUT, 0, 0), 0);
    for (WPARAM command : {IDC_BET_ONE, IDC_BET_FIVE, IDC_DEAL_DRAW})
        EXPECT_EQ(SendMessageA(bare, WM_COMMAND, command, 0), 0);
    EXPECT_EQ(SendMessageA(bare, PTM_GETDEFAULTSIZE, 0, 0), MAKELONG(120, 70));
    EXPECT_EQ(GetWindowLongPtrA(bare, 0), 0);
}

TEST_F(ToolMenu, OpensWhereTheToolWasClickedWithThreeItems)
{
    ScopedWindow tool(host.CreateLaidOutTool(300, 175, nullptr, 0, 120, 90));
    ASSERT_NE(tool.get(), nullptr);
    const POINT click = {150, 35};
    MenuRecord menu = OpenContextMenu(tool, click);
    ASSERT_TRUE(menu.opened);
    POINT screen = click;
    ClientToScreen(tool, &screen);
    EXPECT_EQ(menu.windowRect.left, screen.x);
    EXPECT_EQ(menu.windowRect.top, screen.y);
    ASSERT_EQ(menu.items.size(), 3u);
    EXPECT_EQ(menu.items[0].id, static_cast<UINT>(IDM_ABOUT));
    EXPECT_EQ(menu.items[0].text, "About Video Poker...");
    EXPECT_TRUE(menu.items[1].type & MFT_SEPARATOR);
    EXPECT_EQ(menu.items[1].id, 0u);
    EXPECT_EQ(menu.items[2].id, static_cast<UINT>(IDM_PROPERTIES));
    EXPECT_EQ(menu.items[2].text, "Properties...");
    EXPECT_EQ(FindWindowA("#32768", nullptr) && IsWindowVisible(FindWindowA("#32768", nullptr)), false)
        << "the menu is gone after it was cancelled";
}

TEST_F(ToolMenu, CardsAndDisplaysOpenTheToolsMenuAtTheSamePoint)
{
    ScopedWindow tool(host.CreateLaidOutTool(300, 175, nullptr, 0, 120, 90));
    ASSERT_NE(tool.get(), nullptr);
    const VideoPokerToolData *record = ToolRecord(tool);
    const HWND children[] = {record->cardWindows[0], record->cardWindows[3], record->displayWindows[0],
                             record->displayWindows[1], record->displayWindows[2]};
    for (HWND child : children) {
        const POINT click = {7, 5};
        MenuRecord menu = OpenContextMenu(child, click);
        ASSERT_TRUE(menu.opened);
        POINT screen = click;
        ClientToScreen(child, &screen);
        EXPECT_EQ(menu.windowRect.left, screen.x);
        EXPECT_EQ(menu.windowRect.top, screen.y);
        ASSERT_EQ(menu.items.size(), 3u);
        EXPECT_EQ(menu.items[0].id, static_cast<UINT>(IDM_ABOUT));
        EXPECT_EQ(menu.items[2].id, static_cast<UINT>(IDM_PROPERTIES));
    }
}

TEST_F(ToolMenu, ChoosingPropertiesSendsExactlyOneRequestToTheHost)
{
    ScopedWindow tool(host.CreateLaidOutTool(240, 140, nullptr, 0, 100, 100));
    ASSERT_NE(tool.get(), nullptr);
    host.ClearRecords();
    MenuRecord menu = OpenContextMenu(CardWindow(tool, 2), POINT{10, 10}, 2);
    ASSERT_TRUE(menu.opened);
    ASSERT_EQ(host.ShowPropertiesCount(), 1u);
    for (const HostMessageRecord &message : host.HostMessages()) {
        if (message.message != PTM_SHOWPROPERTIES)
            continue;
        EXPECT_EQ(message.wParam, reinterpret_cast<WPARAM>(tool.get()));
        EXPECT_EQ(message.lParam, 0);
    }
}

TEST_F(ToolMenu, CancellingChangesNothing)
{
    ScopedWindow tool(host.CreateLaidOutTool(240, 140, nullptr, 0, 100, 100));
    ASSERT_NE(tool.get(), nullptr);
    const std::array<unsigned char, 72> bytes = GameBytes(tool);
    host.ClearRecords();
    ASSERT_TRUE(OpenContextMenu(tool, POINT{20, 20}).opened);
    EXPECT_EQ(host.ShowPropertiesCount(), 0u);
    EXPECT_EQ(GameBytes(tool), bytes);
}

// A properties page can outlive its tool; once the tool is gone, "New Game" on it must reach nothing.
TEST_F(ToolWindow, APageOutlivingItsToolForgetsIt)
{
    HWND first = host.CreateLaidOutTool(120, 70);
    ASSERT_NE(first, nullptr);
    const void *firstRecord = ToolRecord(first);
    ScopedWindow page(reinterpret_cast<HWND>(
        SendMessageA(first, PTM_CREATEPAGE, reinterpret_cast<WPARAM>(host.Panel()), MAKELONG(400, 300))));
    ASSERT_NE(page.get(), nullptr);
    DestroyWindow(first);

    // The next tool most likely takes the freed record's memory: a stale page would reset its purse.
    SavedBlock block({0, 1, 2, 3, 4}, {}, true, 0, 7);
    ScopedWindow second(host.CreateLaidOutTool(120, 70, block.bytes, 72));
    ASSERT_NE(second.get(), nullptr);
    if (ToolRecord(second) != firstRecord)
        std::printf("note: the second record did not reuse the first one's memory\n");
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_NEW_GAME, BN_CLICKED), 0);
    host.Pump();
    EXPECT_EQ(Game(second).credits, 7);
    EXPECT_EQ(DisplayText(second, 1), "CREDITS: 7");
}

} // namespace
