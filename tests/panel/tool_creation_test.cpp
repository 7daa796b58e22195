// tool_creation_test.cpp: a tool created from the host's saved blocks: its state, children and faces.
#include "tests/panel/panel_checks.h"

#include <vector>

namespace {

class ToolCreation : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(host.Ready()) << "VideoPoker.dll could not be loaded by its exports"; }
    TestHost &host = TestHost::Instance();
};

enum class BlockPassed { None, Exact, Short, Long, NullWith72 };

struct CreationCase {
    const char *name;
    BlockPassed passed;
    SavedBlock block;
    bool takesBlock;
    ToolFace face;
};

const std::array<int, 5> kMixedCards = {0, 13, 26, 39, 12};
const ToolFace kFreshFace = ExpectedFace(true, 0, 100, "Video Poker");

std::vector<CreationCase> CreationCases()
{
    SavedBlock midHand(kMixedCards, {1, 0, 1, 0, 0}, false, 3, 50);
    midHand.bytes[63] = 0x5A;   // the reserved byte travels with the block
    return {
        {"no block", BlockPassed::None, midHand, false, kFreshFace},
        {"71 bytes", BlockPassed::Short, midHand, false, kFreshFace},
        {"73 bytes", BlockPassed::Long, midHand, false, kFreshFace},
        {"null block of 72", BlockPassed::NullWith72, midHand, false, kFreshFace},
        {"mid-hand", BlockPassed::Exact, midHand, true, ExpectedFace(false, 3, 50, "Video Poker")},
        {"between hands, 3 credits", BlockPassed::Exact, SavedBlock(kMixedCards, {}, true, 0, 3), true,
         ExpectedFace(true, 0, 3, "Video Poker")},
        {"between hands, no credits", BlockPassed::Exact, SavedBlock(kMixedCards, {}, true, 0, 0), true,
         ExpectedFace(true, 0, 0, "Video Poker")},
        {"betting", BlockPassed::Exact, SavedBlock(kMixedCards, {}, true, 2, 10), true,
         ExpectedFace(true, 2, 10, "Video Poker")},
        {"waiting for the draw, 5 coins, empty purse", BlockPassed::Exact,
         SavedBlock(kMixedCards, {}, false, 5, 0), true, ExpectedFace(false, 5, 0, "Video Poker")},
    };
}

TEST_F(ToolCreation, SavedBlocksGiveTheirStateOrAFreshGame)
{
    for (const CreationCase &c : CreationCases()) {
        SCOPED_TRACE(c.name);
        RECT rect = {10, 10, 130, 80};
        const void *block = c.passed == BlockPassed::None || c.passed == BlockPassed::NullWith72
                                ? nullptr
                                : c.block.bytes;
        DWORD size = c.passed == BlockPassed::Short ? 71
                   : c.passed == BlockPassed::Long  ? 73
                   : c.passed == BlockPassed::None  ? 0
                                                    : 72;
        ScopedWindow tool(host.CreateTool(rect, block, size));
        ASSERT_NE(tool.get(), nullptr);
        SendMessageA(tool, PTM_LAYOUT, 0, 0);
        host.Pump();

        std::array<unsigned char, 72> expected = FreshGameBytes();
        if (c.takesBlock)
            memcpy(expected.data(), c.block.bytes, 72);
        EXPECT_EQ(GameBytes(tool), expected);
        EXPECT_EQ(FaceOf(tool), c.face);
        EXPECT_EQ(WindowText(Button(tool, IDC_BET_ONE)), "+1");
        EXPECT_EQ(WindowText(Button(tool, IDC_BET_FIVE)), "Bet 5");
    }
}

// One window as the CBT hook saw it being created.
struct CreatedWindow {
    std::string className;
    std::string text;
    DWORD style;
    DWORD exStyle;
    Place place;
    INT_PTR controlId;
    HWND parent;
    HINSTANCE instance;
    LPVOID createParam;
};

std::vector<CreatedWindow> *createdWindows;

LRESULT CALLBACK RecordCreation(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && createdWindows) {
        const CREATESTRUCTA &cs = *reinterpret_cast<CBT_CREATEWNDA *>(lParam)->lpcs;
        char className[64] = {};
        GetClassNameA(reinterpret_cast<HWND>(wParam), className, sizeof className);
        std::string text = cs.lpszName && !IS_INTRESOURCE(cs.lpszName) ? cs.lpszName : "";
        createdWindows->push_back(CreatedWindow{className, text, static_cast<DWORD>(cs.style), cs.dwExStyle,
                                                Place{cs.x, cs.y, cs.cx, cs.cy},
                                                reinterpret_cast<INT_PTR>(cs.hMenu), cs.hwndParent,
                                                cs.hInstance, cs.lpCreateParams});
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::vector<CreatedWindow> CreateWatched(TestHost &host, const RECT &rect, HWND *tool)
{
    std::vector<CreatedWindow> created;
    createdWindows = &created;
    HHOOK hook = SetWindowsHookExA(WH_CBT, RecordCreation, nullptr, GetCurrentThreadId());
    *tool = host.CreateTool(rect);
    UnhookWindowsHookEx(hook);
    createdWindows = nullptr;
    return created;
}

TEST_F(ToolCreation, ChildrenAreMadeInOrderWithTheirStylesAndProvisionalPlaces)
{
    // L 7, T 11, R 130, B 82: width 123, height 71; a fifth of the width is 24.6.
    const RECT rect = {7, 11, 130, 82};
    const DWORD child = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    struct Expected {
        const char *className;
        const char *text;
        DWORD style;
        Place place;
        INT_PTR controlId;
    } expected[] = {
        {"VideoPokerTool", "", child, {7, 11, 123, 71}, 0},
        {"VideoPokerCard", "", child, {7, 11, 123, 42}, 0},
        {"VideoPokerCard", "", child, {31, 11, 123, 42}, 0},
        {"VideoPokerCard", "", child, {56, 11, 123, 42}, 0},
        {"VideoPokerCard", "", child, {80, 11, 123, 42}, 0},
        {"VideoPokerCard", "", child, {105, 11, 123, 42}, 0},
        {"VideoPokerDisplay", "", child, {7, 8, 61, 7}, 0},
        {"VideoPokerDisplay", "", child, {61, 8, 61, 7}, 0},
        {"VideoPokerDisplay", "", child, {7, 11, 130, 35}, 0},
        {"Button", "+1", WS_CHILD | WS_VISIBLE, {7, 11, 130, 82}, 262},
        {"Button", "Bet 5", WS_CHILD | WS_VISIBLE, {7, 11, 130, 82}, 263},
        {"Button", "Deal", WS_CHILD | WS_VISIBLE, {7, 11, 130, 82}, 264},
    };
    HWND toolWindow = nullptr;
    std::vector<CreatedWindow> created = CreateWatched(host, rect, &toolWindow);
    ScopedWindow tool(toolWindow);
    ASSERT_NE(tool.get(), nullptr);
    ASSERT_EQ(created.size(), std::size(expected));
    for (size_t i = 0; i < created.size(); ++i) {
        SCOPED_TRACE("window " + std::to_string(i) + ", " + created[i].className);
        EXPECT_EQ(created[i].className, expected[i].className);
        EXPECT_EQ(created[i].text, expected[i].text);
        EXPECT_EQ(created[i].style, expected[i].style);
        EXPECT_EQ(created[i].exStyle, 0u);
        EXPECT_EQ(created[i].place, expected[i].place);
        EXPECT_EQ(created[i].controlId, expected[i].controlId);
        EXPECT_EQ(created[i].parent, i == 0 ? host.Panel() : tool.get());
        EXPECT_EQ(created[i].instance, host.HostInstance());
        EXPECT_EQ(created[i].createParam, nullptr);
    }
}

TEST_F(ToolCreation, RecordListsEveryChildAndHoldsTheFirstTexts)
{
    ScopedWindow tool(host.CreateTool(RECT{10, 20, 250, 160}));
    ASSERT_NE(tool.get(), nullptr);
    VideoPokerToolData *record = ToolRecord(tool);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->toolWindow, tool.get());
    EXPECT_EQ(static_cast<void *>(record), static_cast<void *>(&record->game));

    std::vector<HWND> children;
    for (HWND child = GetWindow(tool, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    EXPECT_EQ(children.size(), 11u);
    auto isChild = [&](HWND window) {
        return std::find(children.begin(), children.end(), window) != children.end();
    };
    for (int i = 0; i < HandSize; ++i) {
        EXPECT_TRUE(isChild(record->cardWindows[i])) << "card " << i;
        EXPECT_EQ(GetDlgCtrlID(record->cardWindows[i]), 0);
    }
    for (int d = 0; d < DisplayCount; ++d) {
        EXPECT_TRUE(isChild(record->displayWindows[d])) << "display " << d;
        EXPECT_EQ(WindowText(record->displayWindows[d]), "") << "a display's own title stays empty";
    }
    const int ids[ButtonCount] = {IDC_BET_ONE, IDC_BET_FIVE, IDC_DEAL_DRAW};
    for (int b = 0; b < ButtonCount; ++b)
        EXPECT_EQ(record->buttons[b], Button(tool, ids[b]));
    EXPECT_STREQ(record->displayTexts[0], "WAGER: 0");
    EXPECT_STREQ(record->displayTexts[1], "CREDITS: 100");
    EXPECT_STREQ(record->displayTexts[2], "Video Poker");
}

TEST_F(ToolCreation, FirstFontFollowsTheRectangleBottomAndWaitsForTheLayout)
{
    // The bottom of the host's rectangle, not the height, sets the first font: 160 / 7 is 22.
    ScopedWindow tool(host.CreateTool(RECT{10, 20, 250, 160}));
    ASSERT_NE(tool.get(), nullptr);
    HFONT font = ToolRecord(tool)->font;
    ASSERT_NE(font, nullptr);
    LOGFONTA logFont = {};
    ASSERT_TRUE(GetObjectA(font, sizeof logFont, &logFont));
    EXPECT_EQ(logFont.lfHeight, 22);
    EXPECT_EQ(logFont.lfWidth, 0);
    EXPECT_EQ(logFont.lfWeight, 700);
    EXPECT_FALSE(logFont.lfItalic || logFont.lfUnderline || logFont.lfStrikeOut);
    EXPECT_EQ(logFont.lfCharSet, ANSI_CHARSET);
    EXPECT_EQ(logFont.lfOutPrecision, OUT_TT_ONLY_PRECIS);
    EXPECT_EQ(logFont.lfQuality, PROOF_QUALITY);
    EXPECT_STREQ(logFont.lfFaceName, "Arial");
    for (int id : {IDC_BET_ONE, IDC_BET_FIVE, IDC_DEAL_DRAW})
        EXPECT_EQ(SendMessageA(Button(tool, id), WM_GETFONT, 0, 0), 0) << "button " << id;
}

TEST_F(ToolCreation, ToolSitsAtTheHostsRectangle)
{
    ScopedWindow tool(host.CreateTool(RECT{33, 44, 273, 184}));
    ASSERT_NE(tool.get(), nullptr);
    EXPECT_EQ(GetParent(tool), host.Panel());
    EXPECT_EQ(PlaceOf(tool), (Place{33, 44, 240, 140}));
    RECT client;
    GetClientRect(tool, &client);
    EXPECT_EQ(client.right, 240);
    EXPECT_EQ(client.bottom, 140);
    EXPECT_EQ(GetWindowLongA(tool, GWL_EXSTYLE), 0);
}

WNDPROC originalCardProc;
std::vector<LONG_PTR> *wordsAtChildDestruction;

// A card window subclassed by the test: it notes the tool's extra word when it is destroyed.
LRESULT CALLBACK WatchCardDestruction(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY && wordsAtChildDestruction)
        wordsAtChildDestruction->push_back(GetWindowLongPtrA(GetParent(window), 0));
    return CallWindowProcA(originalCardProc, window, message, wParam, lParam);
}

TEST_F(ToolCreation, DestroyingTheToolDetachesItsRecordBeforeTheChildrenGo)
{
    HWND tool = host.CreateLaidOutTool(120, 70);
    ASSERT_NE(tool, nullptr);
    EXPECT_EQ(reinterpret_cast<VideoPokerToolData *>(GetWindowLongPtrA(tool, 0)), ToolRecord(tool));
    std::vector<LONG_PTR> words;
    wordsAtChildDestruction = &words;
    for (int i = 0; i < HandSize; ++i)
        originalCardProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
            CardWindow(tool, i), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WatchCardDestruction)));
    DestroyWindow(tool);
    wordsAtChildDestruction = nullptr;
    host.Pump();
    EXPECT_EQ(words, std::vector<LONG_PTR>(HandSize, 0));
    EXPECT_FALSE(IsWindow(tool));
}

} // namespace
