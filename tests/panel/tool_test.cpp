// tool_test.cpp: a tool as a host creates, lays out, plays and destroys it, with its menu and About box.
#include "tests/panel/panel_checks.h"

#include <vector>

namespace {

class Tool : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(host.Ready()) << "VideoPoker.dll could not be loaded by its exports"; }
    TestHost &host = TestHost::Instance();
};

// The eleven children in the record's order: five cards, wager, credits, result, +1, Bet 5, Deal/Draw.
std::vector<HWND> Children(HWND tool)
{
    const VideoPokerToolData *r = ToolRecord(tool);
    std::vector<HWND> children(r->cardWindows, r->cardWindows + HandSize);
    children.insert(children.end(), r->displayWindows, r->displayWindows + DisplayCount);
    children.insert(children.end(), r->buttons, r->buttons + ButtonCount);
    return children;
}

// Every child's place in the tool's client area as "x,y,w,h x,y,w,h ...", and the buttons' font height.
std::string Layout(HWND tool, std::vector<RECT> *places = nullptr)
{
    std::string text;
    for (HWND child : Children(tool)) {
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(HWND_DESKTOP, tool, reinterpret_cast<POINT *>(&r), 2);
        text += std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right - r.left) +
                "," + std::to_string(r.bottom - r.top) + " ";
        if (places)
            places->push_back(r);
    }
    for (HWND button : ToolRecord(tool)->buttons) {
        LOGFONTA font = {};
        HGDIOBJ handle = reinterpret_cast<HGDIOBJ>(SendMessageA(button, WM_GETFONT, 0, 0));
        GetObjectA(handle, sizeof font, &font);
        text += (handle == ToolRecord(tool)->font ? "" : "stray ") + std::string(font.lfFaceName) + " " +
                std::to_string(font.lfHeight) + (font.lfWeight == FW_BOLD ? " bold" : "") + ";";
    }
    return text;
}

TEST_F(Tool, SavedBlocksGiveTheirStateOrAFreshGame)
{
    Bytes midHand = SavedBlock({0, 13, 26, 39, 12}, {1, 0, 1, 0, 0}, false, 3, 50);
    midHand[63] = 0x5A;   // the reserved byte travels with the block
    const Bytes fresh = SavedBlock({47, 48, 49, 50, 51}, {}, true, 0, 100), broke = SavedBlock({0, 1, 2, 3, 4}, {}, true, 0, 4);
    const struct {
        const void *block;
        DWORD size;
        const Bytes &expected;
        std::string face;
    } cases[] = {{nullptr, 0, fresh, ExpectedFace(true, 0, 100, "Video Poker")},
                 {midHand.data(), 71, fresh, ExpectedFace(true, 0, 100, "Video Poker")},
                 {midHand.data(), 72, midHand, ExpectedFace(false, 3, 50, "Video Poker")},
                 {broke.data(), 72, broke, ExpectedFace(true, 0, 4, "Video Poker")}};
    for (const auto &c : cases) {
        ScopedWindow tool(host.CreateTool(RECT{33, 44, 273, 184}, c.block, c.size));
        ASSERT_NE(tool.get(), nullptr);
        EXPECT_EQ(GameBytes(tool), c.expected) << c.size;
        EXPECT_EQ(Face(tool), c.face);
        RECT place;
        GetWindowRect(tool, &place);
        EXPECT_TRUE(GetParent(tool) == host.Panel() && place.left == 33 && place.top == 44 && place.right == 273 &&
                    place.bottom == 184);
    }
}

// The sizes hosts most often give, one where 75 * 2 / 15 falls just short of 10 as a double, and at any
// size the shape a player expects.
TEST_F(Tool, LayoutKnownAnswersAndShape)
{
    const struct {
        int width, height;
        const char *layout;
    } known[] = {
        {120, 70, "0,17,24,38 24,17,24,38 48,17,24,38 72,17,24,38 96,17,24,38 0,8,56,8 60,8,56,8 0,0,120,8 "
                  "0,58,24,10 24,58,48,10 72,58,48,10 Arial 9 bold;Arial 9 bold;Arial 9 bold;"},
        {300, 175, "1,43,58,96 61,43,58,96 121,43,58,96 181,43,58,96 241,43,58,96 1,21,146,21 151,21,146,21 "
                   "1,0,298,21 1,142,58,31 61,142,118,31 181,142,118,31 Arial 23 bold;Arial 23 bold;Arial 23 bold;"},
        {610, 75, "2,18,118,41 124,18,118,41 246,18,118,41 368,18,118,41 490,18,118,41 2,9,301,9 307,9,301,9 "
                  "2,0,606,9 2,62,118,11 124,62,240,11 368,62,240,11 Arial 10 bold;Arial 10 bold;Arial 10 bold;"},
        {60, 35, nullptr}, {299, 174, nullptr}, {37, 200, nullptr}, {1000, 583, nullptr}};
    ScopedWindow moved(host.CreateLaidOutTool(200, 100, nullptr, 0, 211, 97));
    for (const auto &c : known) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        ScopedWindow tool(host.CreateLaidOutTool(c.width, c.height));
        host.Resize(moved, c.width, c.height);   // elsewhere on the panel, and laid out before
        std::vector<RECT> p;
        const std::string layout = Layout(tool, &p);
        EXPECT_EQ(Layout(moved), layout);
        if (c.layout)
            EXPECT_EQ(layout, c.layout);
        for (int i = 0; i < 11; ++i)
            EXPECT_TRUE(p[i].left >= 0 && p[i].top >= 0 && p[i].right <= c.width && p[i].bottom <= c.height &&
                        p[i].right > p[i].left && p[i].bottom > p[i].top) << "child " << i << " inside";
        for (int i = 1; i < 5; ++i)
            EXPECT_TRUE(p[i].top == p[0].top && p[i].bottom == p[0].bottom && p[i - 1].right <= p[i].left &&
                        p[i].right - p[i].left == p[0].right - p[0].left) << "cards in a row, card " << i;
        EXPECT_TRUE(p[7].bottom <= p[5].top && p[5].right <= p[6].left && p[6].bottom <= p[0].top &&
                    p[0].bottom <= p[8].top && p[8].right <= p[9].left && p[9].right <= p[10].left);
        SendMessageA(tool, PTM_LAYOUT, 0, 0);
        EXPECT_EQ(Layout(tool), layout) << "PTM_LAYOUT again moves nothing";
        SetWindowPos(tool, nullptr, 0, 0, c.width + 50, c.height + 30, SWP_NOMOVE | SWP_NOZORDER);
        host.Pump();
        EXPECT_EQ(Layout(tool), layout) << "a size change alone moves nothing";
    }
}

// Counts the GDI objects the tool holds by filling the handle table around it (GetGuiResources answers 0
// under Wine): a layout that forgot to delete its old font, or a paint that leaked one object, shows.
TEST_F(Tool, LayoutsKeepOneFontAndDestructionFreesIt)
{
    HWND tool = host.CreateLaidOutTool(300, 175);
    for (int i = 0; i < 104; ++i) {   // the first paints settle whatever the system caches
        RedrawWindow(tool, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        SendMessageA(tool, PTM_LAYOUT, 0, 0);
    }
    GdiTableFill fill(400);
    ASSERT_TRUE(fill.Filled());
    const int free = fill.CountCreatable();
    for (int i = 0; i < 100; ++i) {
        RedrawWindow(tool, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        SendMessageA(tool, PTM_LAYOUT, 0, 0);
    }
    host.Pump();
    EXPECT_EQ(fill.CountCreatable(), free) << "layouts and repaints must leave exactly one font alive";
    DestroyWindow(tool);
    EXPECT_EQ(fill.CountCreatable(), free + 1) << "destroying the tool deletes its font";
}

// Clicks as a player makes them: 1 "+1", 5 "Bet 5", D "Deal/Draw", a..e a card (a hold toggles).
TEST_F(Tool, PlayThroughTheButtonsAndCards)
{
    const Bytes fresh = SavedBlock({47, 48, 49, 50, 51}, {}, true, 0, 100);
    const Bytes royal = SavedBlock({47, 48, 49, 50, 51}, {1, 1, 1, 1, 1}, false, 5, 0);
    const Bytes tens = SavedBlock({8, 21, 0, 15, 30}, {1, 1, 1, 1, 1}, false, 5, 0);
    const Bytes jacks = SavedBlock({9, 22, 0, 15, 30}, {1, 1, 1, 1, 1}, false, 4, 10);
    const Bytes dealt = SavedBlock({0, 13, 26, 39, 12}, {}, false, 1, 10);
    const struct {
        const Bytes &block;
        const char *clicks;
        std::string face, held;
        bool sameCards;   // no card was dealt or drawn afresh
    } cases[] = {
        {fresh, "111", ExpectedFace(true, 3, 97, "Video Poker"), "00000", true},
        {fresh, "111D", ExpectedFace(false, 3, 97, "Video Poker"), "00000", false},
        {fresh, "11111", ExpectedFace(false, 5, 95, "Video Poker"), "00000", false},   // the fifth coin deals
        {fresh, "115", ExpectedFace(false, 5, 95, "Video Poker"), "00000", false},     // Bet 5 tops up and deals
        {fresh, "b1b", ExpectedFace(true, 1, 99, "Video Poker"), "00000", true},      // no holds between hands
        {dealt, "aabd", ExpectedFace(false, 1, 10, "Video Poker"), "01010", true},
        {royal, "D", ExpectedFace(true, 0, 4000, "Royal Flush : 4000"), "00000", true},
        {tens, "D", ExpectedFace(true, 0, 0, "Video Poker"), "00000", true},           // broke: every button off
        {jacks, "D1", ExpectedFace(true, 1, 13, "Jacks or Better : 4"), "00000", true},  // it stays until a deal
        {jacks, "D1D", ExpectedFace(false, 1, 13, "Video Poker"), "00000", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.clicks);
        ScopedWindow tool(host.CreateLaidOutTool(240, 140, c.block.data(), 72));
        const VideoPokerGame &game = ToolRecord(tool)->game;
        const std::array<int, 5> before = {game.card[0], game.card[1], game.card[2], game.card[3], game.card[4]};
        for (const char *click = c.clicks; *click; ++click) {
            if (*click >= 'a')
                SendMessageA(ToolRecord(tool)->cardWindows[*click - 'a'], WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
            else
                SendMessageA(GetDlgItem(tool, *click == '1' ? IDC_BET_ONE : *click == '5' ? IDC_BET_FIVE
                                                                                           : IDC_DEAL_DRAW),
                             BM_CLICK, 0, 0);
            host.Pump();
        }
        EXPECT_EQ(Face(tool), c.face);
        std::string held;
        for (int i = 0; i < HandSize; ++i) {
            held += game.held[i] ? "1" : "0";
            if (c.sameCards)
                EXPECT_EQ(game.card[i], before[i]) << "card " << i << " held or not drawn";
            for (int j = 0; j < HandSize && (!game.handComplete || c.block == fresh); ++j)
                EXPECT_TRUE(i == j || game.card[i] != game.card[j]) << "a card dealt twice";
        }
        EXPECT_EQ(held, c.held);
    }
}

TEST_F(Tool, DrawKeepsTheHeldCardsAndReplacesTheRest)
{
    ScopedWindow tool(host.CreateLaidOutTool(120, 70, SavedBlock({0, 13, 26, 39, 12}, {1, 0, 0, 1, 0}, false, 1, 10).data(), 72));
    SendMessageA(GetDlgItem(tool, IDC_DEAL_DRAW), BM_CLICK, 0, 0);
    const VideoPokerGame &game = ToolRecord(tool)->game;
    EXPECT_TRUE(game.card[0] == 0 && game.card[3] == 39);
    for (int i : {1, 2, 4})
        EXPECT_TRUE(game.card[i] != 0 && game.card[i] != 13 && game.card[i] != 26 && game.card[i] != 39 &&
                    game.card[i] != 12 && game.card[i] < DeckSize) << "card " << i << " came from the deck";
}

TEST_F(Tool, MenuOpensWhereClickedAndItsItemsWorkWhileTheToolIsLaidOutOrDestroyed)
{
    HWND tool = host.CreateLaidOutTool(120, 70, nullptr, 0, 120, 90);
    for (HWND window : {tool, ToolRecord(tool)->cardWindows[3], ToolRecord(tool)->displayWindows[2]}) {
        host.ClearRecords();
        MenuRecord menu = OpenContextMenu(window, POINT{7, 5}, -1, [&] { host.Resize(tool, 300, 175); });
        POINT screen = {7, 5};
        ClientToScreen(window, &screen);
        EXPECT_TRUE(menu.opened && menu.windowRect.left == screen.x && menu.windowRect.top == screen.y);
        ASSERT_EQ(menu.items.size(), 3u);
        EXPECT_TRUE(menu.items[0].id == IDM_ABOUT && menu.items[0].text == "About Video Poker..." &&
                    (menu.items[1].type & MFT_SEPARATOR) && menu.items[2].id == IDM_PROPERTIES &&
                    menu.items[2].text == "Properties...");
        EXPECT_TRUE(host.HostMessages().empty()) << "cancelled";
    }
    EXPECT_EQ(Layout(tool).substr(0, 11), "1,43,58,96 ") << "laid out while the menu was open";
    ASSERT_TRUE(OpenContextMenu(tool, POINT{10, 10}, 2).opened);
    ASSERT_EQ(host.HostMessages().size(), 1u);
    EXPECT_TRUE(host.HostMessages()[0].message == PTM_SHOWPROPERTIES && host.HostMessages()[0].wParam == WPARAM(tool));

    HGDIOBJ font = ToolRecord(tool)->font;
    host.ClearRecords();
    ASSERT_TRUE(OpenContextMenu(tool, POINT{5, 5}, 2, [&] { DestroyWindow(tool); }).opened);
    EXPECT_TRUE(!IsWindow(tool) && GetObjectType(font) == 0) << "the tool and its font are gone";
    EXPECT_TRUE(host.HostMessages().empty()) << "a choice after the tool went reaches nothing";
}

// The About box runs a modal loop inside the tool's own handler; the host may lay the tool out or destroy
// it meanwhile, and the box still closes.
TEST_F(Tool, LaidOutOrDestroyedWhileItsAboutBoxIsOpen)
{
    HWND tool = host.CreateLaidOutTool(120, 70);
    HGDIOBJ font = nullptr;
    std::string layout;
    ModalRun run = DriveModal([&] { SendMessageA(tool, WM_COMMAND, IDM_ABOUT, 0); }, [&](HWND dialog) {
        host.Resize(tool, 300, 175);
        layout = Layout(tool).substr(0, 11);
        font = ToolRecord(tool)->font;
        DestroyWindow(tool);
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    EXPECT_TRUE(run.opened && run.closedByScript);
    EXPECT_EQ(layout, "1,43,58,96 ") << "laid out while the box was open";
    EXPECT_TRUE(!IsWindow(tool) && GetObjectType(font) == 0) << "the tool and its font are gone";
    EXPECT_TRUE(FindOpenDialog() == nullptr && IsWindowEnabled(host.Panel()));
}

HHOOK refuseHook;
const char *refusedClass;
int refuseNth;

LRESULT CALLBACK RefuseOneChild(int code, WPARAM wParam, LPARAM lParam)
{
    char name[64] = "";
    GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof name);
    if (code == HCBT_CREATEWND && _stricmp(name, refusedClass) == 0 && refuseNth-- == 0)
        return 1;
    return CallNextHookEx(refuseHook, code, wParam, lParam);
}

// A child window or font that cannot be made leaves its slot empty; the rest of the tool plays on.
TEST_F(Tool, CreationGoesOnWithoutAChildOrTheFont)
{
    const struct {
        const char *className;
        int nth, slot;
    } cases[] = {{"VideoPokerCard", 2, 2}, {"VideoPokerDisplay", 0, 5}, {"Button", 2, 10}, {"Button", 0, 8}};
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.className) + " " + std::to_string(c.nth));
        refusedClass = c.className;
        refuseNth = c.nth;
        refuseHook = SetWindowsHookExA(WH_CBT, RefuseOneChild, nullptr, GetCurrentThreadId());
        ScopedWindow tool(host.CreateTool(RECT{10, 10, 130, 80}));
        UnhookWindowsHookEx(refuseHook);
        ASSERT_NE(tool.get(), nullptr);
        EXPECT_EQ(Children(tool)[c.slot], nullptr);
        host.Resize(tool, 300, 175);
        for (int command : {IDC_BET_ONE, IDC_DEAL_DRAW, IDC_DEAL_DRAW})
            SendMessageA(tool, WM_COMMAND, command, 0);
        host.Pump();
        EXPECT_TRUE(ToolRecord(tool)->game.handComplete && ToolRecord(tool)->game.wager == 0) << "a hand was played";
    }
    ScopedWindow tool;
    {
        GdiTableFill fill(0);
        ASSERT_TRUE(fill.Filled());
        tool.window_ = host.CreateLaidOutTool(120, 70);
        ASSERT_NE(tool.get(), nullptr);
        SendMessageA(tool, WM_COMMAND, IDC_BET_ONE, 0);
        EXPECT_EQ(ToolRecord(tool)->game.wager, 1);
    }
    host.Resize(tool, 240, 140);
    EXPECT_EQ(Layout(tool).substr(Layout(tool).find("Arial")), "Arial 18 bold;Arial 18 bold;Arial 18 bold;")
        << "the next layout makes the font";
}

} // namespace
