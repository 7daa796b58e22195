// tool_layout_test.cpp: the proportional layout of a tool's children, its font, and the GDI objects it keeps.
#include "tests/panel/panel_checks.h"

#include <vector>

namespace {

class ToolLayout : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(host.Ready()) << "VideoPoker.dll could not be loaded by its exports"; }
    TestHost &host = TestHost::Instance();
};

struct LayoutCase {
    int width, height;
    int cardX[5];
    Place card;             // x of the first card; y, width and height of every card
    Place betOne, betFive, dealDraw, wager, credits, result;
    LONG fontHeight;
};

const LayoutCase kLayouts[] = {
    {120, 70, {0, 24, 48, 72, 96}, {0, 17, 24, 38},
     {0, 58, 24, 10}, {24, 58, 48, 10}, {72, 58, 48, 10},
     {0, 8, 56, 8}, {60, 8, 56, 8}, {0, 0, 120, 8}, 9},
    {240, 140, {0, 48, 96, 144, 192}, {0, 35, 47, 77},
     {0, 114, 47, 24}, {48, 114, 95, 24}, {144, 114, 95, 24},
     {0, 17, 116, 17}, {120, 17, 116, 17}, {0, 0, 239, 17}, 18},
    {300, 175, {1, 61, 121, 181, 241}, {1, 43, 58, 96},
     {1, 142, 58, 31}, {61, 142, 118, 31}, {181, 142, 118, 31},
     {1, 21, 146, 21}, {151, 21, 146, 21}, {1, 0, 298, 21}, 23},
    // 75 high: 75 x 0.1333... is just below 10 and must still give 10, as a double does.
    {610, 75, {2, 124, 246, 368, 490}, {2, 18, 118, 41},
     {2, 62, 118, 11}, {124, 62, 240, 11}, {368, 62, 240, 11},
     {2, 9, 301, 9}, {307, 9, 301, 9}, {2, 0, 606, 9}, 10},
};

void ExpectLayout(HWND tool, const LayoutCase &c)
{
    for (int i = 0; i < HandSize; ++i)
        EXPECT_EQ(PlaceOf(CardWindow(tool, i)), (Place{c.cardX[i], c.card.y, c.card.width, c.card.height}))
            << "card " << i;
    EXPECT_EQ(PlaceOf(Button(tool, IDC_BET_ONE)), c.betOne) << "+1";
    EXPECT_EQ(PlaceOf(Button(tool, IDC_BET_FIVE)), c.betFive) << "Bet 5";
    EXPECT_EQ(PlaceOf(Button(tool, IDC_DEAL_DRAW)), c.dealDraw) << "Deal/Draw";
    const VideoPokerToolData *record = ToolRecord(tool);
    EXPECT_EQ(PlaceOf(record->displayWindows[0]), c.wager) << "wager display";
    EXPECT_EQ(PlaceOf(record->displayWindows[1]), c.credits) << "credits display";
    EXPECT_EQ(PlaceOf(record->displayWindows[2]), c.result) << "result display";
    for (int id : {IDC_BET_ONE, IDC_BET_FIVE, IDC_DEAL_DRAW}) {
        EXPECT_EQ(FontHeightOf(Button(tool, id)), c.fontHeight) << "font of button " << id;
        EXPECT_EQ(SendMessageA(Button(tool, id), WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(record->font));
    }
}

std::vector<HWND> ChildrenInZOrder(HWND tool)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(tool, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

TEST_F(ToolLayout, ChildrenTakeTheirShareOfTheClientArea)
{
    for (const LayoutCase &c : kLayouts) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        ScopedWindow tool(host.CreateLaidOutTool(c.width, c.height));
        ASSERT_NE(tool.get(), nullptr);
        ExpectLayout(tool, c);
    }
}

TEST_F(ToolLayout, ResizingFollowedByLayoutPlacesChildrenForTheNewSize)
{
    ScopedWindow tool(host.CreateLaidOutTool(300, 175));
    ASSERT_NE(tool.get(), nullptr);
    const std::vector<HWND> zOrder = ChildrenInZOrder(tool);
    for (const LayoutCase &c : kLayouts) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        host.Resize(tool, c.width, c.height);
        ExpectLayout(tool, c);
        EXPECT_EQ(ChildrenInZOrder(tool), zOrder) << "the layout keeps the children's z-order";
    }
}

TEST_F(ToolLayout, ASizeChangeAloneMovesNothing)
{
    ScopedWindow tool(host.CreateLaidOutTool(120, 70));
    ASSERT_NE(tool.get(), nullptr);
    SetWindowPos(tool, nullptr, 0, 0, 300, 175, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    host.Pump();
    ExpectLayout(tool, kLayouts[0]);
}

TEST_F(ToolLayout, LayoutUsesTheClientAreaNotThePlaceOnThePanel)
{
    ScopedWindow tool(host.CreateLaidOutTool(240, 140, nullptr, 0, 211, 97));
    ASSERT_NE(tool.get(), nullptr);
    ExpectLayout(tool, kLayouts[1]);
}

// Counts the GDI objects the tool holds by filling the handle table around it (GetGuiResources answers 0
// under Wine): a layout that forgot to delete its old font, or a paint that leaked one object, shows.
TEST_F(ToolLayout, LayoutsKeepOneFontAndDestructionFreesIt)
{
    HWND tool = host.CreateLaidOutTool(300, 175);
    ASSERT_NE(tool, nullptr);
    // Let the first paints settle whatever the system caches for these windows.
    for (int i = 0; i < 3; ++i) {
        SendMessageA(tool, PTM_LAYOUT, 0, 0);
        RedrawWindow(tool, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        host.Pump();
    }

    const int kHeadroom = 400;
    GdiTableFill fill(kHeadroom);
    ASSERT_TRUE(fill.Filled());
    const int free = fill.CountCreatable();
    ASSERT_GT(free, 100);

    for (int i = 0; i < 10; ++i)
        SendMessageA(tool, PTM_LAYOUT, 0, 0);
    host.Pump();
    EXPECT_EQ(fill.CountCreatable(), free) << "ten layouts must leave exactly one font alive";
    EXPECT_EQ(GetObjectType(ToolRecord(tool)->font), static_cast<DWORD>(OBJ_FONT));

    for (int i = 0; i < 200; ++i) {
        RedrawWindow(tool, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        if (i % 20 == 0)
            SendMessageA(tool, PTM_LAYOUT, 0, 0);
    }
    host.Pump();
    EXPECT_EQ(fill.CountCreatable(), free) << "repaints and layouts must not leak";

    DestroyWindow(tool);
    host.Pump();
    EXPECT_EQ(fill.CountCreatable(), free + 1) << "destroying the tool deletes its font";
}

TEST_F(ToolLayout, EveryLayoutReplacesTheFont)
{
    ScopedWindow tool(host.CreateLaidOutTool(300, 175));
    ASSERT_NE(tool.get(), nullptr);
    HFONT first = ToolRecord(tool)->font;
    SendMessageA(tool, PTM_LAYOUT, 0, 0);
    HFONT second = ToolRecord(tool)->font;
    EXPECT_NE(second, first);
    EXPECT_EQ(GetObjectType(first), 0u) << "the replaced font is deleted";
    EXPECT_EQ(GetObjectType(second), static_cast<DWORD>(OBJ_FONT));
}

} // namespace
