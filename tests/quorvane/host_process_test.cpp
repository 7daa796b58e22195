// host_process_test.cpp: the host program run for real: tools restored from the panel file, hands played
// through the tools' own buttons, the panel kept across runs, saves that survive being killed, damaged
// files, resizing by dragging, properties, and the screenshot.
#include <gtest/gtest.h>

#include <windowsx.h>
#include <algorithm>
#include <cstring>
#include <random>

#include "tests/quorvane/host_driver.h"

namespace {

constexpr int PlusOneId = 262, BetFiveId = 263, DealDrawId = 264;
constexpr int NewGameId = 1048;

VideoPokerGame BetweenHands(int32_t credits, Card first)
{
    VideoPokerGame g = {};
    for (int i = 0; i < HandSize; ++i)
        g.card[i] = static_cast<Card>(first + i);
    g.handComplete = 1;
    g.credits = credits;
    return g;
}

// Four aces held and the king of clubs to be drawn, three coins bet: the draw makes four of a kind.
VideoPokerGame FourAcesWaiting()
{
    VideoPokerGame g = {};
    const Card cards[HandSize] = {12, 25, 38, 51, 11};
    for (int i = 0; i < HandSize; ++i) {
        g.card[i] = cards[i];
        g.dealt[cards[i]] = 1;
        g.held[i] = i < 4;
    }
    g.handComplete = 0;
    g.wager = 3;
    g.credits = 40;
    return g;
}

SavedPanel ThreeToolPanel()
{
    SavedPanel p;
    p.hasWindow = true;
    p.window = {40, 30, 900, 640, false};
    p.tools.push_back(PokerTool(20, 40, 360, 210, BetweenHands(77, 0)));
    p.tools.push_back(PokerTool(420, 40, 300, 175, FourAcesWaiting()));
    p.tools.push_back(PokerTool(20, 320, 240, 140, BetweenHands(3, 20)));
    return p;
}

const SavedTool *SavedAt(const SavedPanel &panel, int x, int y)
{
    for (const SavedTool &t : panel.tools)
        if (t.x == x && t.y == y)
            return &t;
    return nullptr;
}

std::string Args(const std::string &config, const std::string &more = "")
{
    return "--config \"" + config + "\" --unattended " + more;
}

void Click(HWND button)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_NORMAL, 20000, &result);
}

bool Enabled(HWND tool, int id)
{
    return IsWindowEnabled(ToolButton(tool, id)) != FALSE;
}

int Width(const RECT &r) { return r.right - r.left; }
int Height(const RECT &r) { return r.bottom - r.top; }

// The cards of a tool, left to right, in the tool's client coordinates.
std::vector<RECT> CardRects(HWND tool)
{
    std::vector<RECT> cards;
    for (HWND child = GetWindow(tool, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[64] = {};
        GetClassNameA(child, name, sizeof name);
        if (strcmp(name, "VideoPokerCard") != 0)
            continue;
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, tool, reinterpret_cast<POINT *>(&r), 2);
        cards.push_back(r);
    }
    std::sort(cards.begin(), cards.end(), [](const RECT &a, const RECT &b) { return a.left < b.left; });
    return cards;
}

// The children stand where the tool's layout puts them for its present size: the host has sent
// PTM_LAYOUT after the last change of size.
void ExpectLaidOut(HWND tool, const char *when)
{
    RECT client;
    GetClientRect(tool, &client);
    int W = client.right, H = client.bottom;
    std::vector<RECT> cards = CardRects(tool);
    ASSERT_EQ(cards.size(), 5u) << when;
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(cards[i].left, (W * i) / 5 + W / 300) << when << ", card " << i << ", size " << W << "x" << H;
        EXPECT_EQ(cards[i].top, H / 4) << when << ", card " << i;
        EXPECT_EQ(Width(cards[i]), W / 5 - W / 150) << when << ", card " << i;
        EXPECT_EQ(Height(cards[i]), (11 * H) / 20) << when << ", card " << i;
    }
    RECT deal;
    GetWindowRect(ToolButton(tool, DealDrawId), &deal);
    MapWindowPoints(nullptr, tool, reinterpret_cast<POINT *>(&deal), 2);
    EXPECT_EQ(deal.left, 3 * (W / 5) + W / 300) << when;
    EXPECT_EQ(deal.top, H - H / 5 + 2) << when;
    EXPECT_EQ(Height(deal), H / 5 - 4) << when;
}

bool KeepsAspect(const RECT &r)
{
    int off = Height(r) * 12 - Width(r) * 7;
    return off <= 12 && off >= -12;
}

bool AtMinimum(const RECT &r)
{
    return Width(r) == HostSizeLimits.minWidth && Height(r) == HostSizeLimits.minHeight;
}

// ---------------------------------------------------------------------------------------------

TEST(HostPersistence, ToolsComeBackPlayAndKeepTheirGamesAcrossRuns)
{
    std::string folder = FreshTestFolder("persistence");
    std::string config = folder + "\\panel.cfg";
    SavedPanel start = ThreeToolPanel();
    ASSERT_TRUE(WritePanel(config, start));

    HostRun run;
    ASSERT_TRUE(run.Start(Args(config)));
    ASSERT_EQ(run.Tools().size(), 3u);
    HWND a = run.ToolAt(20, 40), b = run.ToolAt(420, 40), c = run.ToolAt(20, 320);
    ASSERT_TRUE(a && b && c) << "every tool at its saved place";
    EXPECT_EQ(Width(run.PanelRect(a)), 360);
    EXPECT_EQ(Height(run.PanelRect(b)), 175);
    EXPECT_EQ(Width(run.PanelRect(c)), 240);
    ExpectLaidOut(a, "restored");
    ExpectLaidOut(c, "restored");

    // Each tool shows the state of its own block.
    EXPECT_TRUE(Enabled(a, PlusOneId) && Enabled(a, BetFiveId) && !Enabled(a, DealDrawId));
    EXPECT_EQ(WindowText(ToolButton(b, DealDrawId)), "Draw");
    EXPECT_TRUE(!Enabled(b, PlusOneId) && !Enabled(b, BetFiveId) && Enabled(b, DealDrawId));
    EXPECT_TRUE(Enabled(c, PlusOneId) && !Enabled(c, BetFiveId) && !Enabled(c, DealDrawId));
    run.Command(CmdSaveNow);
    PanelFileReport report;
    SavedPanel saved = ReadPanel(config, &report);
    EXPECT_TRUE(report.Clean());
    for (const SavedTool &original : start.tools) {
        const SavedTool *now = SavedAt(saved, original.x, original.y);
        ASSERT_TRUE(now);
        EXPECT_EQ(now->state, original.state) << "the tool handed back the very block it was given";
    }

    // Draw on the four aces: no explicit save, the host keeps the hand by itself.
    Click(ToolButton(b, DealDrawId));
    EXPECT_EQ(WindowText(ToolButton(b, DealDrawId)), "Deal");
    VideoPokerGame drawn = {};
    ASSERT_TRUE(WaitFor(
        [&] {
            SavedPanel p = ReadPanel(config, nullptr);
            const SavedTool *t = SavedAt(p, 420, 40);
            drawn = t ? GameOf(t->state) : VideoPokerGame{};
            return t && drawn.handComplete == 1;
        },
        15000))
        << "the hand reached the panel file within seconds";
    EXPECT_EQ(drawn.credits, 40 + PayoutFor(FourOfAKind, 3));
    EXPECT_EQ(drawn.wager, 0);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(drawn.card[i], FourAcesWaiting().card[i]) << "held card " << i;
    EXPECT_NE(drawn.card[4], 11) << "the king was replaced";

    // A whole hand on the first tool: Bet 5 deals, Draw completes.
    Click(ToolButton(a, BetFiveId));
    EXPECT_EQ(WindowText(ToolButton(a, DealDrawId)), "Draw");
    Click(ToolButton(a, DealDrawId));
    EXPECT_EQ(WindowText(ToolButton(a, DealDrawId)), "Deal");

    PostMessageA(run.main, WM_CLOSE, 0, 0);
    DWORD code = 1;
    ASSERT_TRUE(run.WaitExit(20000, &code));
    EXPECT_EQ(code, 0u);
    SavedPanel atExit = ReadPanel(config, &report);
    EXPECT_TRUE(report.Clean());
    ASSERT_EQ(atExit.tools.size(), 3u);
    VideoPokerGame played = GameOf(SavedAt(atExit, 20, 40)->state);
    EXPECT_EQ(played.handComplete, 1);
    EXPECT_EQ(played.wager, 0);
    EXPECT_EQ(played.credits, 77 - 5 + PayoutFor(EvaluateHand(played), 5));
    EXPECT_EQ(SavedAt(atExit, 20, 320)->state, start.tools[2].state) << "an untouched tool is unchanged";

    // The next run starts where this one ended.
    HostRun again;
    ASSERT_TRUE(again.Start(Args(config)));
    ASSERT_EQ(again.Tools().size(), 3u);
    HWND b2 = again.ToolAt(420, 40);
    ASSERT_TRUE(b2);
    EXPECT_EQ(WindowText(ToolButton(b2, DealDrawId)), "Deal");
    EXPECT_TRUE(Enabled(b2, PlusOneId) && Enabled(b2, BetFiveId));
    again.Command(CmdSaveNow);
    SavedPanel second = ReadPanel(config, &report);
    for (const SavedTool &t : atExit.tools) {
        const SavedTool *now = SavedAt(second, t.x, t.y);
        ASSERT_TRUE(now);
        EXPECT_EQ(now->state, t.state);
    }
    PostMessageA(again.main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(again.WaitExit(20000, &code));
    EXPECT_EQ(code, 0u);
}

TEST(HostPersistence, KillingTheHostWhileItSavesLeavesTheOldOrTheNewFile)
{
    std::string folder = FreshTestFolder("killed");
    std::string config = folder + "\\panel.cfg";
    SavedPanel start = ThreeToolPanel();
    ASSERT_TRUE(WritePanel(config, start));
    std::mt19937 random(20240611);
    uint32_t lastGeneration = 0;
    for (int round = 0; round < 12; ++round) {
        HostRun run;
        ASSERT_TRUE(run.Start(Args(config, "--save-loop 0")));
        // Once the saves are under way, any moment will do.
        ASSERT_TRUE(WaitFor([&] { return ReadPanel(config, nullptr).generation > lastGeneration; }, 20000));
        Sleep(random() % 200);
        run.Kill();
        PanelFileReport report;
        SavedPanel after = ReadPanel(config, &report);
        ASSERT_TRUE(report.Clean()) << "round " << round << ": the file is whole";
        ASSERT_EQ(after.tools.size(), 3u) << "round " << round;
        for (size_t i = 0; i < 3; ++i)
            EXPECT_EQ(after.tools[i], start.tools[i]) << "round " << round << ", tool " << i;
        EXPECT_GE(after.generation, lastGeneration) << "never an older file than one already seen";
        lastGeneration = after.generation;
    }
}

TEST(HostRecovery, ADamagedToolLineCostsOnlyThatToolAndIsReported)
{
    std::string folder = FreshTestFolder("damaged");
    std::string config = folder + "\\panel.cfg";
    SavedPanel start = ThreeToolPanel();
    std::string text = FormatPanelFile(start);
    size_t second = text.find("tool\t", text.find("tool\t") + 1);
    size_t hex = text.find("\t", text.find("\t175\t", second) + 1) + 20;
    text[hex] = text[hex] == '0' ? '1' : '0';          // one digit of the second tool's block
    ASSERT_TRUE(WriteText(config, text));

    HostRun run;
    ASSERT_TRUE(run.Start(Args(config)));
    std::string status = run.Status();
    EXPECT_NE(status.find("damaged"), std::string::npos) << status;
    EXPECT_NE(status.find("1 tool could not be read"), std::string::npos) << status;
    std::string aside;
    ASSERT_TRUE(ReadText(config + ".bad", &aside));
    EXPECT_EQ(aside, text) << "the damaged file is kept for inspection";

    ASSERT_EQ(run.Tools().size(), 3u) << "the damaged tool starts fresh";
    EXPECT_TRUE(run.ToolAt(20, 40) && run.ToolAt(20, 320));
    EXPECT_FALSE(run.ToolAt(420, 40)) << "nothing of the damaged line is trusted, its place included";
    run.Command(CmdSaveNow);
    PanelFileReport report;
    SavedPanel saved = ReadPanel(config, &report);
    EXPECT_TRUE(report.Clean());
    ASSERT_EQ(saved.tools.size(), 3u);
    EXPECT_EQ(SavedAt(saved, 20, 40)->state, start.tools[0].state);
    EXPECT_EQ(SavedAt(saved, 20, 320)->state, start.tools[2].state);
    int fresh = 0;
    for (const SavedTool &t : saved.tools) {
        if ((t.x == 20 && t.y == 40) || (t.x == 20 && t.y == 320))
            continue;
        ++fresh;
        EXPECT_EQ(t.width, 120);
        EXPECT_EQ(t.height, 70);
        EXPECT_EQ(GameOf(t.state).credits, 100);
    }
    EXPECT_EQ(fresh, 1);
}

// A tool placed out of sight or larger than the panel comes back where it can be seen and grabbed,
// keeps its game, and is saved at its new place; a tool in reach stays where it was.
TEST(HostRecovery, ToolsOutOfReachAreBroughtOntoThePanel)
{
    std::string config = FreshTestFolder("reach") + "\\panel.cfg";
    SavedPanel start = ThreeToolPanel();
    start.tools[1].x = start.tools[1].y = -32768;
    start.tools[2].width = start.tools[2].height = 8192;
    ASSERT_TRUE(WritePanel(config, start));

    HostRun run;
    ASSERT_TRUE(run.Start(Args(config)));
    ASSERT_EQ(run.Tools().size(), 3u);
    EXPECT_TRUE(run.ToolAt(20, 40)) << "a tool in reach is left alone";
    const RECT client = run.PanelClient();
    for (HWND tool : run.Tools()) {
        RECT r = run.PanelRect(tool);
        EXPECT_TRUE(r.left >= 0 && r.top >= 20 && r.right <= client.right && r.bottom <= client.bottom)
            << r.left << "," << r.top << " - " << r.right << "," << r.bottom;
        EXPECT_NEAR(Width(r) * 7, Height(r) * 12, 12) << "the tool agreed to its size";
    }
    run.Command(CmdSaveNow);
    SavedPanel saved = ReadPanel(config, nullptr);
    ASSERT_EQ(saved.tools.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(saved.tools[i].state, start.tools[i].state) << "tool " << i;
        EXPECT_TRUE(run.ToolAt(saved.tools[i].x, saved.tools[i].y)) << "saved where it now stands";
    }
}

TEST(HostRecovery, TruncatedAndJunkFilesStartWhatTheyCan)
{
    std::string folder = FreshTestFolder("truncated");
    std::string config = folder + "\\panel.cfg";
    SavedPanel start = ThreeToolPanel();
    std::string text = FormatPanelFile(start);
    size_t third = text.rfind("tool\t");
    ASSERT_TRUE(WriteText(config, text.substr(0, third + 30)));
    {
        HostRun run;
        ASSERT_TRUE(run.Start(Args(config, "--no-save")));
        EXPECT_EQ(run.Tools().size(), 3u);
        EXPECT_TRUE(run.ToolAt(20, 40) && run.ToolAt(420, 40));
        EXPECT_NE(run.Status().find("damaged"), std::string::npos) << run.Status();
        PostMessageA(run.main, WM_CLOSE, 0, 0);
        DWORD code = 1;
        ASSERT_TRUE(run.WaitExit(20000, &code));
        EXPECT_EQ(code, 0u);
    }
    std::string junk(3000, '\0');
    std::mt19937 random(5);
    for (char &ch : junk)
        ch = static_cast<char>(random());
    ASSERT_TRUE(WriteText(config, junk));
    HostRun run;
    ASSERT_TRUE(run.Start(Args(config)));
    EXPECT_EQ(run.Tools().size(), 1u) << "nothing readable: a fresh panel";
    EXPECT_NE(run.Status().find("damaged"), std::string::npos) << run.Status();
    run.Command(CmdSaveNow);
    PanelFileReport report;
    EXPECT_EQ(ReadPanel(config, &report).tools.size(), 1u);
    EXPECT_TRUE(report.Clean());
}

TEST(HostRecovery, AToolOfAnAbsentModuleIsKeptAsItWas)
{
    std::string folder = FreshTestFolder("absent");
    std::string config = folder + "\\panel.cfg";
    SavedPanel start;
    start.tools.push_back(PokerTool(30, 40, 240, 140, BetweenHands(60, 30)));
    SavedTool gadget;
    gadget.moduleFile = "Gadgets.dll";
    gadget.typeName = "Clock";
    gadget.x = 320;
    gadget.y = 40;
    gadget.width = 200;
    gadget.height = 100;
    gadget.state = {1, 2, 3, 250};
    start.tools.push_back(gadget);
    start.tools.push_back(gadget);
    start.tools.back().y = 160;
    ASSERT_TRUE(WritePanel(config, start));
    HostRun run;
    ASSERT_TRUE(run.Start(Args(config)));
    EXPECT_EQ(run.Tools().size(), 1u);
    EXPECT_NE(run.Status().find("2 tools need modules that are not loaded"), std::string::npos) << run.Status();
    run.Command(CmdSaveNow);
    PanelFileReport report;
    SavedPanel saved = ReadPanel(config, &report);
    ASSERT_EQ(saved.tools.size(), 3u);
    EXPECT_EQ(*SavedAt(saved, 320, 40), gadget);
}

// ---------------------------------------------------------------------------------------------

class HostResize : public testing::Test {
protected:
    void SetUp() override
    {
        std::string folder = FreshTestFolder("resize");
        config_ = folder + "\\panel.cfg";
        SavedPanel p;
        p.hasWindow = true;
        p.window = {20, 20, 960, 700, false};
        p.tools.push_back(PokerTool(60, 60, 240, 140, BetweenHands(100, 0)));
        ASSERT_TRUE(WritePanel(config_, p));
        ASSERT_TRUE(run_.Start(Args(config_)));
        ASSERT_EQ(run_.Tools().size(), 1u);
        tool_ = run_.Tools()[0];
        SetCursorPos(1020, 764);    // the real pointer stays out of the way of the drags
    }

    void Mouse(UINT message, int x, int y)
    {
        run_.SendToPanel(message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
    }

    // Drags from a point by each offset in turn, checking the size after every step.
    void Drag(POINT from, const std::vector<POINT> &offsets, const char *what, bool rightStays)
    {
        RECT before = run_.PanelRect(tool_);
        Mouse(WM_LBUTTONDOWN, from.x, from.y);
        for (POINT d : offsets) {
            Mouse(WM_MOUSEMOVE, from.x + d.x, from.y + d.y);
            RECT r = run_.PanelRect(tool_);
            RECT panel = run_.PanelClient();
            std::string step = std::string(what) + " by " + std::to_string(d.x) + "," + std::to_string(d.y);
            EXPECT_TRUE(KeepsAspect(r) || AtMinimum(r)) << step << ": " << Width(r) << "x" << Height(r);
            EXPECT_GE(Width(r), HostSizeLimits.minWidth) << step;
            EXPECT_GE(Height(r), HostSizeLimits.minHeight) << step;
            EXPECT_LE(Width(r), HostSizeLimits.maxWidth) << step;
            EXPECT_LE(Height(r), HostSizeLimits.maxHeight) << step;
            EXPECT_LE(r.right, panel.right) << step << ": the tool stays on the panel";
            EXPECT_LE(r.bottom, panel.bottom) << step;
            EXPECT_EQ(r.top, before.top) << step;
            if (rightStays)
                EXPECT_EQ(r.right, before.right) << step;
            else
                EXPECT_EQ(r.left, before.left) << step;
            ExpectLaidOut(tool_, step.c_str());
        }
        Mouse(WM_LBUTTONUP, from.x + offsets.back().x, from.y + offsets.back().y);
    }

    std::string config_;
    HostRun run_;
    HWND tool_ = nullptr;
};

TEST_F(HostResize, DraggingEdgesAndCornersKeepsTwelveToSevenWithinTheBounds)
{
    RECT r = run_.PanelRect(tool_);
    Drag(POINT{r.right + 3, r.top + 40}, {{1, 0}, {13, 0}, {37, 0}, {200, 0}, {3000, 0}, {-150, 0}, {-900, 0}},
         "right edge", false);
    r = run_.PanelRect(tool_);
    EXPECT_TRUE(AtMinimum(r)) << "dragged far in, the tool stops at the host's minimum";
    Drag(POINT{r.left + 30, r.bottom + 3}, {{0, 5}, {0, 70}, {0, 171}, {0, 2000}, {0, -40}}, "bottom edge", false);
    r = run_.PanelRect(tool_);
    Drag(POINT{r.right + 3, r.bottom + 3}, {{-20, -3}, {60, 10}, {10, 90}, {-60, -70}}, "corner", false);
    r = run_.PanelRect(tool_);
    Drag(POINT{r.left - 3, r.top + 20}, {{-30, 0}, {-45, 0}, {-1000, 0}, {50, 0}}, "left edge", true);
    r = run_.PanelRect(tool_);
    EXPECT_GE(r.left, 0) << "growing leftwards stops at the panel's edge";
}

TEST_F(HostResize, KeyboardStepsNegotiateTooAndTheSizeIsSaved)
{
    RECT before = run_.PanelRect(tool_);
    run_.Command(CmdLarger);
    RECT larger = run_.PanelRect(tool_);
    EXPECT_GT(Width(larger), Width(before));
    EXPECT_TRUE(KeepsAspect(larger));
    ExpectLaidOut(tool_, "larger");
    for (int i = 0; i < 10; ++i)
        run_.Command(CmdSmaller);
    RECT smaller = run_.PanelRect(tool_);
    EXPECT_TRUE(AtMinimum(smaller) || KeepsAspect(smaller));
    EXPECT_GE(Width(smaller), HostSizeLimits.minWidth);
    ExpectLaidOut(tool_, "smaller");
    run_.Command(CmdDefaultSize);
    RECT standard = run_.PanelRect(tool_);
    EXPECT_EQ(Width(standard), 120);
    EXPECT_EQ(Height(standard), 70);
    ExpectLaidOut(tool_, "default size");
    run_.Command(CmdMoveRight);
    run_.Command(CmdSaveNow);
    SavedPanel saved = ReadPanel(config_, nullptr);
    ASSERT_EQ(saved.tools.size(), 1u);
    RECT now = run_.PanelRect(tool_);
    EXPECT_EQ(saved.tools[0].x, now.left);
    EXPECT_EQ(saved.tools[0].x, before.left + 8);
    EXPECT_EQ(saved.tools[0].width, 120);
    EXPECT_EQ(saved.tools[0].height, 70);
}

TEST_F(HostResize, DraggingTheTabMovesTheToolAndEscapePutsItBack)
{
    RECT r = run_.PanelRect(tool_);
    POINT tab = {r.left + 40, r.top - TabHeight / 2};
    Mouse(WM_LBUTTONDOWN, tab.x, tab.y);
    Mouse(WM_MOUSEMOVE, tab.x + 100, tab.y + 50);
    RECT moved = run_.PanelRect(tool_);
    EXPECT_EQ(moved.left, r.left + 100);
    EXPECT_EQ(moved.top, r.top + 50);
    EXPECT_EQ(Width(moved), Width(r));
    run_.SendToPanel(WM_KEYDOWN, VK_ESCAPE, 0);
    RECT back = run_.PanelRect(tool_);
    EXPECT_EQ(back.left, r.left);
    EXPECT_EQ(back.top, r.top);
    Mouse(WM_LBUTTONDOWN, tab.x, tab.y);
    Mouse(WM_MOUSEMOVE, tab.x - 5000, tab.y - 5000);
    Mouse(WM_LBUTTONUP, tab.x - 5000, tab.y - 5000);
    RECT corner = run_.PanelRect(tool_);
    EXPECT_GE(corner.left, 0) << "a tool never leaves the panel";
    EXPECT_GE(corner.top, TabHeight) << "its tab stays reachable";
}

// ---------------------------------------------------------------------------------------------

TEST(HostTools, FreshToolsTakeTheirDefaultSizeAndTheirFirstLayout)
{
    std::string folder = FreshTestFolder("fresh");
    std::string config = folder + "\\panel.cfg";
    HostRun run;
    ASSERT_TRUE(run.Start(Args(config, "--tools 3 --no-save")));
    std::vector<HWND> tools = run.Tools();
    ASSERT_EQ(tools.size(), 3u);
    for (size_t i = 0; i < tools.size(); ++i) {
        RECT r = run.PanelRect(tools[i]);
        EXPECT_EQ(Width(r), 120);
        EXPECT_EQ(Height(r), 70);
        ExpectLaidOut(tools[i], "fresh");
        for (size_t j = 0; j < i; ++j) {
            RECT other = run.PanelRect(tools[j]), overlap;
            EXPECT_FALSE(IntersectRect(&overlap, &r, &other)) << "fresh tools do not overlap";
        }
    }
    std::vector<RECT> cards = CardRects(tools[0]);
    ASSERT_EQ(cards.size(), 5u);
    EXPECT_EQ(cards[1].left, 24);
    EXPECT_EQ(cards[1].top, 17);
    run.Command(CmdAddFirstType);
    EXPECT_EQ(run.Tools().size(), 4u);
    run.Command(CmdRemoveTool);
    run.Command(CmdRemoveTool);
    EXPECT_EQ(run.Tools().size(), 2u);
    EXPECT_NE(run.Title().find("2 tools"), std::string::npos) << run.Title();
    PostMessageA(run.main, WM_CLOSE, 0, 0);
    DWORD code = 1;
    ASSERT_TRUE(run.WaitExit(20000, &code));
    EXPECT_FALSE(FileExists(config)) << "--no-save writes nothing";
}

TEST(HostTools, ABadCommandLineEndsAtOnceWithoutWaitingOnAnyone)
{
    HostRun run;
    ASSERT_TRUE(run.Launch("--tools many --unattended"));
    DWORD code = 0;
    ASSERT_TRUE(run.WaitExit(20000, &code)) << "no message box may hold an unattended host";
    EXPECT_EQ(code, 2u);
}

TEST(HostTools, TheKeyboardWalksTheButtonsAndPressesThem)
{
    std::string folder = FreshTestFolder("keyboard");
    std::string config = folder + "\\panel.cfg";
    HostRun run;
    ASSERT_TRUE(run.Start(Args(config, "--tools 2 --no-save")));
    DWORD thread = GetWindowThreadProcessId(run.main, nullptr);
    // Other test programs share the display and may take the foreground: coming back must put the
    // keyboard where it was.
    auto focus = [&] {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(thread, &info);
        if (!info.hwndFocus) {
            SetForegroundWindow(run.main);
            run.Command(0);
            GetGUIThreadInfo(thread, &info);
        }
        return info.hwndFocus;
    };
    std::vector<HWND> tools = run.Tools();
    ASSERT_EQ(tools.size(), 2u);
    std::vector<HWND> walked;
    for (int i = 0; i < 4; ++i) {
        run.Command(CmdNextButton);
        walked.push_back(focus());
    }
    // Deal is off on a fresh tool: Tab visits "+1" and "Bet 5" of each tool, then starts over.
    HWND first = GetParent(walked[0]);
    ASSERT_TRUE(first == tools[0] || first == tools[1]);
    HWND second = first == tools[0] ? tools[1] : tools[0];
    EXPECT_EQ(walked[0], ToolButton(first, PlusOneId));
    EXPECT_EQ(walked[1], ToolButton(first, BetFiveId));
    EXPECT_EQ(walked[2], ToolButton(second, PlusOneId));
    EXPECT_EQ(walked[3], ToolButton(second, BetFiveId));
    run.Command(CmdPreviousButton);
    EXPECT_EQ(focus(), ToolButton(second, PlusOneId));
    run.Command(CmdPressButton);     // Enter on "+1": one coin bet, Deal comes on
    EXPECT_TRUE(Enabled(second, DealDrawId));
    EXPECT_FALSE(Enabled(first, DealDrawId));
}

TEST(HostTools, PropertiesEmbedTheToolsPageAndItsNewGameActsOnThatTool)
{
    std::string folder = FreshTestFolder("properties");
    std::string config = folder + "\\panel.cfg";
    ASSERT_TRUE(WritePanel(config, ThreeToolPanel()));
    HostRun run;
    ASSERT_TRUE(run.Start(Args(config)));
    HWND b = run.ToolAt(420, 40);
    ASSERT_TRUE(b);
    // What the tool's own "Properties..." sends its parent.
    run.SendToPanel(PTM_SHOWPROPERTIES, reinterpret_cast<WPARAM>(b), 0);
    HWND window = FindProcessWindow(run.ProcessId(), QUORVANE_PROPERTIES_CLASS);
    ASSERT_TRUE(window);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_NE(WindowText(window).find("Video Poker"), std::string::npos);
    HWND newGame = nullptr;
    for (HWND child = GetWindow(window, GW_CHILD); child && !newGame; child = GetWindow(child, GW_HWNDNEXT))
        newGame = GetDlgItem(child, NewGameId);
    ASSERT_TRUE(newGame) << "the tool's page sits inside the host's window";
    Click(newGame);
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, WM_COMMAND, IDCANCEL, 0, SMTO_NORMAL, 10000, &result);
    EXPECT_FALSE(IsWindow(window));
    run.Command(CmdSaveNow);
    SavedPanel saved = ReadPanel(config, nullptr);
    VideoPokerGame renewed = GameOf(SavedAt(saved, 420, 40)->state);
    EXPECT_EQ(renewed.credits, 100);
    EXPECT_EQ(renewed.handComplete, 1);
    EXPECT_EQ(renewed.wager, 0);
    EXPECT_EQ(GameOf(SavedAt(saved, 20, 40)->state).credits, 77) << "the other tools keep their games";
}

} // namespace
