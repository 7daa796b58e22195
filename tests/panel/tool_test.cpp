// tool_test.cpp: a tool as a host creates, sizes, lays out, plays and destroys it, with its menu.
#include <cstring>
#include <string>
#include <vector>
#include <gtest/gtest.h>
#include "tests/common/test_host.h"
#include "tests/common/hands.h"
#include "panel/tool.h"
#include "resources/resource_ids.h"

namespace {

// A hand waiting for the draw: four twos and the ace of clubs.
const char *const kTwos[HandSize] = {"2C", "2D", "2H", "2S", "AC"};

// What a player sees: the three display lines, the Deal/Draw caption, and which of the buttons work.
std::string Face(HWND tool)
{
    const VideoPokerToolData *r = ToolRecord(tool);
    std::string face = std::string(r->displayTexts[0]) + "|" + r->displayTexts[1] + "|" + r->displayTexts[2] + "|" +
                       WindowText(r->buttons[2]) + "|";
    for (HWND button : r->buttons)
        face += IsWindowEnabled(button) ? "1" : "0";
    return face;
}

// The eleven children in the record's order: five cards, wager, credits, result, +1, Bet 5, Deal/Draw.
std::vector<HWND> Children(HWND tool)
{
    const VideoPokerToolData *r = ToolRecord(tool);
    std::vector<HWND> children(r->cardWindows, r->cardWindows + HandSize);
    children.insert(children.end(), r->displayWindows, r->displayWindows + DisplayCount);
    children.insert(children.end(), r->buttons, r->buttons + ButtonCount);
    return children;
}

// Every child's place in the tool's client area as "x,y,w,h ...", then the buttons' font.
std::string Layout(HWND tool, std::vector<RECT> *places = nullptr)
{
    std::string text;
    for (HWND child : Children(tool)) {
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(HWND_DESKTOP, tool, reinterpret_cast<POINT *>(&r), 2);
        text += std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right - r.left) + "," +
                std::to_string(r.bottom - r.top) + " ";
        if (places)
            places->push_back(r);
    }
    for (HWND button : ToolRecord(tool)->buttons) {
        LOGFONTA font = {};
        HGDIOBJ handle = reinterpret_cast<HGDIOBJ>(SendMessageA(button, WM_GETFONT, 0, 0));
        GetObjectA(handle, sizeof font, &font);
        text += (handle == ToolRecord(tool)->font ? "" : "stray ") + std::string(font.lfFaceName) + " " +
                std::to_string(font.lfHeight) + (font.lfWeight == FW_BOLD ? " bold;" : ";");
    }
    return text;
}

using Tool = OneToolTest;

// The block and its size reach the game (which judges them) and the restored hand shows. The state a host
// saves is the live record itself, and a state set into it refreshes nothing on show.
TEST_F(Tool, SavedBlocksGiveTheirStateOrAFreshGameAndTheStateIsTheLiveRecord)
{
    VideoPokerGame midHand = WaitingHand(kTwos, 3, "x.x..", 50);
    midHand.reserved = 0x5A;   // the reserved byte travels with the block
    const VideoPokerGame other = WaitingHand(kTwos, 4, "..x..", 9);
    const char *const fresh = "WAGER: 0|CREDITS: 100|Video Poker|Deal|110";
    const struct { const void *block; DWORD size; const char *face; } cases[] = {
        {nullptr, 0, fresh}, {&midHand, 71, fresh}, {&midHand, 72, "WAGER: 3|CREDITS: 50|Video Poker|Draw|001"}};
    for (const auto &c : cases) {
        ScopedWindow tool(host.CreateTool(RECT{33, 44, 273, 184}, c.block, c.size));
        ASSERT_NE(tool.get(), nullptr);
        EXPECT_EQ(Face(tool), c.face) << c.size;
        RECT place;
        GetWindowRect(tool, &place);
        EXPECT_TRUE(GetParent(tool) == host.Panel() && place.left == 33 && place.top == 44 && place.right == 273 &&
                    place.bottom == 184);
        if (c.size != 72)
            continue;
        unsigned char *address = nullptr;
        ASSERT_EQ(SendMessageA(tool, PTM_GETSTATE, 0, reinterpret_cast<LPARAM>(&address)), 72);
        EXPECT_EQ(std::vector<uint8_t>(address, address + 72), BytesOf(midHand));
        SendMessageA(ToolRecord(tool)->cardWindows[1], WM_LBUTTONUP, 0, 0);
        EXPECT_EQ(address[1], 1) << "a click shows at the address at once";
        EXPECT_EQ(SendMessageA(tool, PTM_SETSTATE, 0, reinterpret_cast<LPARAM>(&other)), 0);
        host.Pump();
        EXPECT_EQ(std::vector<uint8_t>(address, address + 72), BytesOf(other)) << "set at the same address";
        EXPECT_EQ(Face(tool), c.face) << "displays, caption and buttons keep what they showed";
    }
}

TEST_F(Tool, SizesAreAnsweredAtTwelveToSeven)
{
    const struct { LONG minWidth, minHeight, maxWidth, maxHeight, heightGiven; WORD length, width, height; } cases[] = {
        {60, 35, 240, 140, 0, 120, 120, 69},      // 7/12 as a float is just below: one pixel short
        {60, 35, 240, 140, 1, 70, 120, 70},       // 12/7 as a float is just above: exact
        {60, 35, 240, 140, 0, 300, 240, 140},     // the height is held to its maximum, the width follows
        {60, 35, 240, 140, 1, 141, 240, 139},     // the width is held to its maximum, the height follows
        {60, 35, 240, 140, 1, 20, 60, 35},        // below the minimum: the minimum, whatever its aspect
        {60, 35, 240, 200, 0, 250, 250, 145},     // only the derived side meets its maximum
        {0, 0, 100000, 100000, 1, 65535, 46809, 65535},  // 112345 kept to its low 16 bits
        {0, 0, -1, -1, 1, 70, 65535, 38228},      // a negative maximum, compared signed, is always passed
        {70000, 35, 240, 140, 0, 120, 4464, 35},  // the minimum's low 16 bits
    };
    ScopedWindow tool(host.CreateLaidOutTool(300, 175));
    for (const auto &c : cases) {
        PanelSizeRequest request = {c.minWidth, c.minHeight, c.maxWidth, c.maxHeight, c.heightGiven, c.length};
        const PanelSizeRequest copy = request;
        for (UINT message : {PTM_ADJUSTSIZE1, PTM_ADJUSTSIZE2, PTM_ADJUSTSIZE3})
            EXPECT_EQ(DWORD(SendMessageA(tool, message, 0, LPARAM(&request))), DWORD(MAKELONG(c.width, c.height)))
                << "message " << message << ", length " << c.length << (c.heightGiven ? " high" : " wide");
        EXPECT_EQ(memcmp(&request, &copy, sizeof request), 0) << "the request is only read";
    }
    EXPECT_EQ(SendMessageA(tool, PTM_GETDEFAULTSIZE, 123, 456), MAKELONG(120, 70));
}

// Known answers at the default size and a large one; at any size the shape a player expects.
TEST_F(Tool, ChildrenFitInOrderAndALayoutAgainMovesNothing)
{
    const struct { int width, height; const char *layout; } cases[] = {
        {120, 70, "0,17,24,38 24,17,24,38 48,17,24,38 72,17,24,38 96,17,24,38 0,8,56,8 60,8,56,8 0,0,120,8 "
                  "0,58,24,10 24,58,48,10 72,58,48,10 Arial 9 bold;Arial 9 bold;Arial 9 bold;"},
        {610, 75, "2,18,118,41 124,18,118,41 246,18,118,41 368,18,118,41 490,18,118,41 2,9,301,9 307,9,301,9 "
                  "2,0,606,9 2,62,118,11 124,62,240,11 368,62,240,11 Arial 10 bold;Arial 10 bold;Arial 10 bold;"},
        {60, 35, nullptr}, {299, 174, nullptr}, {37, 200, nullptr}};
    ScopedWindow moved(host.CreateLaidOutTool(200, 100, nullptr, 0, 211, 97));
    for (const auto &c : cases) {
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

// Buttons as a player clicks them, on a fresh tool or a given hand: 1 "+1", 5 "Bet 5", D "Deal/Draw". Each
// reaches its own part of the game, whose rules are the engine's tests' (the cards' clicks are the card
// test's).
TEST_F(Tool, ButtonsReachTheGame)
{
    const char *const jackHand[HandSize] = {"JC", "JD", "2C", "4D", "6H"};
    const VideoPokerGame jacks = WaitingHand(jackHand, 4, "xxxxx", 10);
    const struct { const VideoPokerGame *block; const char *clicks, *face; } cases[] = {
        {nullptr, "1", "WAGER: 1|CREDITS: 99|Video Poker|Deal|111"},
        {nullptr, "15", "WAGER: 5|CREDITS: 95|Video Poker|Draw|001"},      // Bet 5 tops up and deals
        {nullptr, "11111", "WAGER: 5|CREDITS: 95|Video Poker|Draw|001"},   // so does the fifth "+1"
        {&jacks, "D", "WAGER: 0|CREDITS: 14|Jacks or Better : 4|Deal|110"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.clicks);
        ScopedWindow tool(host.CreateLaidOutTool(240, 140, c.block, c.block ? sizeof *c.block : 0));
        for (const char *click = c.clicks; *click; ++click) {
            SendMessageA(GetDlgItem(tool, *click == '1' ? IDC_BET_ONE : *click == '5' ? IDC_BET_FIVE : IDC_DEAL_DRAW),
                         BM_CLICK, 0, 0);
            host.Pump();
        }
        EXPECT_EQ(Face(tool), c.face);
    }
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
    const struct { const char *className; int nth, slot; } cases[] = {
        {"VideoPokerCard", 2, 2}, {"VideoPokerDisplay", 0, 5}, {"Button", 2, 10}};
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
