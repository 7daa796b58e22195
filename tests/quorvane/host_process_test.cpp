// host_process_test.cpp: the host program run for real and driven from outside: tools restored from the
// store and played through their own buttons, a second host and readers beside the first, an older host's
// file imported, a damaged store, resizing, properties, and the keyboard.
#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>

#include "apps/quorvane/rect_size.h"
#include "apps/quorvane/size_negotiation.h"
#include "apps/quorvane/window_png.h"
#include "host/host_messages.h"
#include "tests/common/hands.h"
#include "tests/quorvane/host_driver.h"

namespace {

constexpr int PlusOneId = 262, BetFiveId = 263, DealDrawId = 264, NewGameId = 1048;

// A fresh game with these credits, or (waiting) four aces held, the king of clubs to draw and 3 bet.
VideoPokerGame Game(int32_t credits, bool waiting = false)
{
    const char *const aces[HandSize] = {"AC", "AD", "AH", "AS", "KC"};
    VideoPokerGame g = WaitingHand(aces, 3, "xxxx.", credits);
    if (!waiting)
        InitFreshGame(g), g.credits = credits;
    return g;
}

SavedPanel ThreeToolPanel()
{
    SavedPanel p;
    p.hasWindow = true;
    p.window = {40, 30, 900, 640, false};
    p.tools.push_back(PokerTool(20, 40, 360, 210, Game(77)));
    p.tools.push_back(PokerTool(420, 40, 300, 175, Game(40, true)));
    p.tools.push_back(PokerTool(20, 320, 240, 140, Game(3)));
    for (int i = 0; i < 3; ++i)
        p.tools[i].number = i + 1;
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
    SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_NORMAL, LongWait, &result);
}

// What the screen shows of the window once it has nothing left to paint and two looks a moment apart
// agree (a slow machine may paint well after the change that asked for it).
std::vector<uint8_t> SettledPng(HWND window)
{
    std::vector<uint8_t> last, now;
    WaitFor([&] {
        if (GetUpdateRect(window, nullptr, FALSE))
            return false;
        Sleep(100);
        last.swap(now);
        now = WindowPng(window);
        return !last.empty() && now == last;
    }, LongWait);
    return now;
}

bool Enabled(HWND tool, int id) { return IsWindowEnabled(ToolButton(tool, id)) != FALSE; }

// Real input goes to whichever window is in front: on a busy display the host may take a while to get there.
void BringToFront(const HostRun &run)
{
    WaitFor([&] { return SetForegroundWindow(run.main) && GetForegroundWindow() == run.main; }, LongWait);
}

// Real input, as the keyboard and mouse make it, to the host in the foreground; true once done() holds.
// Keys go down in order and up in reverse: {VK_CONTROL, '0'} is Ctrl+0.
template <typename Done> bool Keys(const HostRun &run, std::initializer_list<WORD> keys, Done done)
{
    BringToFront(run);
    std::vector<INPUT> input;
    for (int up = 0; up < 2; ++up)
        for (size_t i = 0; i < keys.size(); ++i) {
            input.push_back(INPUT{});
            input.back().type = INPUT_KEYBOARD;
            input.back().ki.wVk = *(keys.begin() + (up ? keys.size() - 1 - i : i));
            input.back().ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        }
    SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
    return WaitFor(done, LongWait);
}

// The left button pressed at one point of the panel, moved to another and released there.
void Drag(const HostRun &run, POINT from, POINT to)
{
    BringToFront(run);
    std::vector<INPUT> input;
    for (DWORD button : {DWORD(MOUSEEVENTF_LEFTDOWN), DWORD(0), DWORD(MOUSEEVENTF_LEFTUP)}) {
        POINT at = button == MOUSEEVENTF_LEFTDOWN ? from : to;
        ClientToScreen(run.panel, &at);
        input.push_back(INPUT{});
        input.back().type = INPUT_MOUSE;
        const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
        input.back().mi.dx = (at.x * 65536 + width - 1) / width;     // rounded up: lands on the pixel itself
        input.back().mi.dy = (at.y * 65536 + height - 1) / height;
        input.back().mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | button;
    }
    SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
}

// The tool is within the host's limits (from its default size, 120 x 70), at 12 to 7 (or its minimum),
// and laid out for its size: asking it to lay itself out again moves no child.
void ExpectSettled(const HostRun &run, HWND tool, const std::string &when)
{
    const SizeBounds HostSizeLimits = LimitsFor({120, 70});
    RECT r = PanelRect(run, tool), client = PanelClient(run);
    EXPECT_TRUE(r.left >= 0 && r.top >= TabHeight && r.right <= client.right && r.bottom <= client.bottom) << when;
    bool atMinimum = Width(r) == HostSizeLimits.minWidth && Height(r) == HostSizeLimits.minHeight;
    EXPECT_TRUE(atMinimum || std::abs(Height(r) * 12 - Width(r) * 7) <= 12) << when << ": " << Width(r) << "x" << Height(r);
    EXPECT_TRUE(Width(r) <= HostSizeLimits.maxWidth && Height(r) <= HostSizeLimits.maxHeight) << when;
    std::vector<RECT> before;
    for (HWND child = GetWindow(tool, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        before.emplace_back(), GetWindowRect(child, &before.back());
    DWORD_PTR result = 0;
    SendMessageTimeoutA(tool, PTM_LAYOUT, 0, 0, SMTO_NORMAL, LongWait, &result);
    size_t i = 0;
    for (HWND child = GetWindow(tool, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT), ++i) {
        RECT now;
        GetWindowRect(child, &now);
        EXPECT_TRUE(i < before.size() && EqualRect(&now, &before[i])) << when << ": child " << i << " moved";
    }
}

TEST(HostPanel, ToolsComeBackPlayResizeAndAreSavedByteForByte)
{
    std::string config = FreshTestFolder("panel") + "\\panel.cfg";
    SavedPanel start = ThreeToolPanel();
    ASSERT_TRUE(WritePanel(config, start));
    HostRun run;
    ASSERT_TRUE(run.Start(Args(config)));
    ASSERT_EQ(run.Tools().size(), 3u);
    HWND a = ToolAt(run, 20, 40), b = ToolAt(run, 420, 40), c = ToolAt(run, 20, 320);
    ASSERT_TRUE(a && b && c) << "every tool at its saved place";
    EXPECT_EQ(Width(PanelRect(run, a)), 360);
    EXPECT_EQ(Height(PanelRect(run, b)), 175);
    for (HWND tool : {a, b, c})
        ExpectSettled(run, tool, "restored");
    EXPECT_TRUE(Enabled(a, BetFiveId) && !Enabled(a, DealDrawId)) << "each tool shows its own block";
    EXPECT_EQ(WindowText(ToolButton(b, DealDrawId)), "Draw");
    EXPECT_TRUE(!Enabled(b, PlusOneId) && Enabled(b, DealDrawId));
    EXPECT_TRUE(Enabled(c, PlusOneId) && !Enabled(c, BetFiveId)) << "3 credits: no bet of 5";
    run.Command(CmdSaveNow);
    PanelFileReport report;
    SavedPanel saved = ReadPanel(config, &report);
    EXPECT_TRUE(report.Clean());
    for (const SavedTool &original : start.tools)
        EXPECT_EQ(SavedAt(saved, original.x, original.y)->state, original.state) << "the very block it was given";

    // No explicit save: the host keeps the drawn hand by itself, and says nothing of it.
    run.Command(CmdSelectNext);
    const std::string said = Status(run);
    Click(ToolButton(b, DealDrawId));
    VideoPokerGame drawn = {};
    ASSERT_TRUE(WaitFor([&] {
        SavedPanel now = ReadPanel(config, nullptr);
        const SavedTool *t = SavedAt(now, 420, 40);
        drawn = t ? GameOf(t->state) : VideoPokerGame{};
        return drawn.handComplete == 1;
    }, LongWait)) << "the hand reached the panel file within seconds";
    EXPECT_EQ(drawn.credits, 40 + PayoutFor(FourOfAKind, 3));
    EXPECT_NE(drawn.card[4], 11) << "the king was replaced";
    EXPECT_EQ(Status(run), said) << "not covered by a save";

    RECT r = PanelRect(run, c);
    POINT edge = {r.right + 3, r.top + 40};
    SendToPanel(run, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(edge.x, edge.y));
    for (int dx : {13, 3000, -150, -900}) {
        SendToPanel(run, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(edge.x + dx, edge.y));
        ExpectSettled(run, c, "right edge by " + std::to_string(dx));
        EXPECT_EQ(PanelRect(run, c).left, 20);
    }
    SendToPanel(run, WM_LBUTTONUP, 0, MAKELPARAM(edge.x - 900, edge.y));

    // What the tool's own "Properties..." sends its parent: the page's New Game acts on that tool only.
    SendToPanel(run, PTM_SHOWPROPERTIES, reinterpret_cast<WPARAM>(a), 0);
    HWND window = FindProcessWindow(run.ProcessId(), QUORVANE_PROPERTIES_CLASS), newGame = nullptr;
    ASSERT_TRUE(window && IsWindowVisible(window));
    for (HWND child = GetWindow(window, GW_CHILD); child && !newGame; child = GetWindow(child, GW_HWNDNEXT))
        newGame = GetDlgItem(child, NewGameId);
    ASSERT_TRUE(newGame) << "the tool's page sits inside the host's window";
    Click(newGame);
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, WM_COMMAND, IDCANCEL, 0, SMTO_NORMAL, LongWait, &result);
    EXPECT_EQ(Status(run).find("Properties"), std::string::npos) << "closed, not still told: " << Status(run);
    PostMessageA(run.main, WM_CLOSE, 0, 0);
    DWORD code = 1;
    ASSERT_TRUE(run.WaitExit(LongWait, &code));
    EXPECT_EQ(code, 0u);
    saved = ReadPanel(config, &report);
    EXPECT_TRUE(report.Clean());
    ASSERT_EQ(saved.tools.size(), 3u);
    EXPECT_EQ(GameOf(SavedAt(saved, 20, 40)->state).credits, 100);
    EXPECT_EQ(GameOf(SavedAt(saved, 420, 40)->state).credits, drawn.credits);
}

TEST(HostPanel, ASecondHostIsTurnedAwayAndNeitherABackupReaderNorAnExportStallsASave)
{
    const std::string folder = FreshTestFolder("second"), config = folder + "\\panel.cfg";
    ASSERT_TRUE(WritePanel(config, ThreeToolPanel()));
    HostRun first;
    ASSERT_TRUE(first.Start(Args(config)));
    // A backup program holds the store open for reading, and lets no one delete or rename it meanwhile.
    HANDLE reader = CreateFileA(StorePathFor(config).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    const std::string edited = folder + "\\edited.qpanel";
    ASSERT_TRUE(WritePanel(edited, SavedPanel()));
    EXPECT_FALSE(MoveFileExA(edited.c_str(), StorePathFor(config).c_str(), MOVEFILE_REPLACE_EXISTING))
        << "no edit replaces the store under a running host";
    HostRun second;
    ASSERT_TRUE(second.Launch(Args(config)));
    DWORD code = 0;
    ASSERT_TRUE(second.WaitExit(LongWait, &code)) << "told at once, and no question waits when unattended";
    EXPECT_EQ(code, 3u);

    Click(ToolButton(ToolAt(first, 420, 40), DealDrawId));
    ASSERT_TRUE(WaitFor([&] {
        const SavedPanel now = ReadPanel(config, nullptr);
        const SavedTool *t = SavedAt(now, 420, 40);
        return t && GameOf(t->state).handComplete == 1;
    }, LongWait)) << "the first host still saves";
    HostRun exporter;
    ASSERT_TRUE(exporter.Launch("--config \"" + config + "\" --export \"" + folder + "\\copy.txt\" --unattended"));
    ASSERT_TRUE(exporter.WaitExit(LongWait, &code));
    EXPECT_EQ(code, 0u);
    std::string text;
    PanelFileReport report;
    ASSERT_TRUE(ReadWholeFile(folder + "\\copy.txt", &text));
    SavedPanel exported = ParsePanelFile(text.data(), text.size(), &report);
    ASSERT_TRUE(report.Clean() && exported.tools.size() == 3u && SavedAt(exported, 420, 40)) << "exported whole";
    EXPECT_EQ(GameOf(SavedAt(exported, 420, 40)->state).handComplete, 1);
    CloseHandle(reader);
    PostMessageA(first.main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(first.WaitExit(LongWait, &code));
    EXPECT_EQ(code, 0u);
}

TEST(HostPanel, AnOlderHostsFileIsImportedAndLeftAsItWasAndADamagedStoreIsKeptAside)
{
    std::string config = FreshTestFolder("damaged") + "\\panel.cfg";
    SavedPanel start = ThreeToolPanel();
    start.tools[2].x = start.tools[2].y = -32768;      // out of reach: brought onto the panel
    start.tools[2].width = 8192;
    std::string text = FormatPanelFile(start);
    size_t hex = text.find("\t", text.find("\t175\t")) + 24;
    text[hex] = text[hex] == '0' ? '1' : '0';          // one digit of the second tool's block
    ASSERT_TRUE(WriteFileAtomically(config, text));

    HostRun run;
    ASSERT_TRUE(run.Start(Args(config)));
    ASSERT_EQ(run.Tools().size(), 3u) << "the damaged tool starts fresh";
    ASSERT_TRUE(ToolAt(run, 420, 40)) << "where it stood: its place and size still read";
    EXPECT_EQ(Height(PanelRect(run, ToolAt(run, 420, 40))), 175);
    for (HWND tool : run.Tools())
        ExpectSettled(run, tool, "recovered");
    run.Command(CmdSaveNow);
    PanelFileReport report;
    SavedPanel saved = ReadPanel(config, &report);
    EXPECT_TRUE(report.Clean());
    ASSERT_EQ(saved.tools.size(), 3u);
    int fresh = 0;
    for (const SavedTool &t : saved.tools) {
        fresh += t.state != start.tools[0].state && t.state != start.tools[2].state;
        EXPECT_TRUE(ToolAt(run, t.x, t.y)) << "saved where it now stands";
    }
    EXPECT_EQ(fresh, 1);
    EXPECT_NE(Status(run).find("Video Poker 2 was reset"), std::string::npos) << "still told: " << Status(run);
    SetWindowPos(run.main, nullptr, 0, 0, 480, 480, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(WaitFor([&] { RECT line; return GetClientRect(run.status, &line) && line.bottom > 24; }, LongWait))
        << "narrow, the whole news on more lines than one";
    // F6 to the tool the narrow window hides: it comes into view.
    const HWND hidden = ToolAt(run, 420, 40);
    for (int i = 0; i < 3 && PanelRect(run, hidden).left == 420; ++i)
        run.Command(CmdSelectNext);
    const RECT view = PanelClient(run), shown = PanelRect(run, hidden);
    EXPECT_TRUE(shown.left > 0 && shown.right < view.right && shown.bottom < view.bottom)
        << shown.left << "," << shown.top << " " << Width(shown) << "x" << Height(shown) << " in " << view.right;
    run.Command(CmdExit);
    DWORD code = 1;
    ASSERT_TRUE(run.WaitExit(LongWait, &code));
    std::string after;
    EXPECT_TRUE(ReadWholeFile(config, &after) && after == text) << "the older host's file is never changed";

    // The store scribbled on past its first page (the panel's own row): kept aside, the tools read back.
    const std::string store = StorePathFor(config);
    HANDLE file = CreateFileA(store.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD written = 0;
    const std::string scribble(300, 'Z');
    SetFilePointer(file, 4096 + 4, nullptr, FILE_BEGIN);
    WriteFile(file, scribble.data(), static_cast<DWORD>(scribble.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_TRUE(run.Start(Args(config)));
    EXPECT_NE(Status(run).find("was damaged"), std::string::npos) << Status(run);
    EXPECT_NE(Status(run).find("kept as panel.qpanel.bad1"), std::string::npos) << Status(run);
    EXPECT_TRUE(FileExists(store + ".bad1"));
    EXPECT_EQ(run.Tools().size(), 3u) << "the tools' rows still read";
}

TEST(HostPanel, ABadCommandLineEndsAtOnceWithoutWaitingOnAnyone)
{
    for (const char *line : {"--tools many --unattended", "--screenshot x.png --screenshot-of tool --unattended"}) {
        HostRun run;
        ASSERT_TRUE(run.Launch(line));
        DWORD code = 0;
        ASSERT_TRUE(run.WaitExit(LongWait, &code)) << "no message box may hold an unattended host: " << line;
        EXPECT_EQ(code, 2u) << line;
    }
}

TEST(HostTools, FreshToolsAreReadableApartAndTheKeyboardWalksAndPressesTheirButtons)
{
    std::string config = FreshTestFolder("keyboard") + "\\panel.cfg";
    HostRun run;
    ASSERT_TRUE(run.Start(Args(config, "--tools 2 --no-save")));
    std::vector<HWND> tools = run.Tools();
    ASSERT_EQ(tools.size(), 2u);
    RECT a = PanelRect(run, tools[0]), b = PanelRect(run, tools[1]), both;
    EXPECT_TRUE(Width(a) == 360 && Height(b) == 209) << "a size a player reads, not the tool's 120 x 70";
    EXPECT_FALSE(IntersectRect(&both, &a, &b)) << "side by side on the empty felt";
    ExpectSettled(run, tools[1], "fresh");
    RECT frame;
    GetWindowRect(run.main, &frame);
    SetWindowPos(run.main, nullptr, 0, 0, Width(frame) + 60, Height(frame), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    std::vector<uint8_t> line = SettledPng(run.status);
    RedrawWindow(run.status, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_TRUE(line == SettledPng(run.status)) << "wider, the status line drawn whole: nothing left of the narrower";
    SetWindowPos(run.main, nullptr, 0, 0, Width(frame), Height(frame), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
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
    std::vector<HWND> walked;
    for (int i = 0; i < 5; ++i) {
        run.Command(CmdNextButton);
        walked.push_back(focus());
    }
    // Deal is off on a fresh tool: Tab visits "+1" and "Bet 5" of each tool, then starts over.
    HWND first = GetParent(walked[0]);
    ASSERT_TRUE(first == tools[0] || first == tools[1]);
    HWND second = first == tools[0] ? tools[1] : tools[0];
    const HWND expected[] = {ToolButton(first, PlusOneId), ToolButton(first, BetFiveId),
                             ToolButton(second, PlusOneId), ToolButton(second, BetFiveId), ToolButton(first, PlusOneId)};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(walked[i], expected[i]) << "Tab " << i + 1;
    // From here on real keys and the mouse, as a player plays: the key table and the drag are under test.
    ASSERT_TRUE(Keys(run, {VK_SHIFT, VK_TAB}, [&] { return focus() == ToolButton(second, BetFiveId); }));
    ASSERT_TRUE(Keys(run, {VK_SHIFT, VK_TAB}, [&] { return focus() == ToolButton(second, PlusOneId); }))
        << "Shift+Tab goes back round";
    // Enter on "+1": one coin bet, Deal comes on; after Escape Enter plays the selected tool again.
    EXPECT_TRUE(Keys(run, {VK_RETURN}, [&] { return Enabled(second, DealDrawId); }));
    EXPECT_FALSE(Enabled(first, DealDrawId));
    Keys(run, {VK_ESCAPE}, [] { return true; });
    EXPECT_TRUE(Keys(run, {VK_RETURN}, [&] { return WindowText(ToolButton(second, DealDrawId)) == "Draw"; }))
        << "dealt, not \"+1\" again";

    // Each key waited on until it shows: the tool beside the other has room for one step more, no more.
    const int width = Width(PanelRect(run, second));
    EXPECT_TRUE(Keys(run, {VK_CONTROL, VK_OEM_MINUS}, [&] { return Width(PanelRect(run, second)) < width; }));
    EXPECT_TRUE(Keys(run, {VK_CONTROL, VK_OEM_PLUS}, [&] { return Width(PanelRect(run, second)) == width; }));
    EXPECT_TRUE(Keys(run, {VK_CONTROL, VK_SHIFT, VK_OEM_PLUS}, [&] { return Width(PanelRect(run, second)) > width; }))
        << "Ctrl+Shift+=, as most keyboards type Ctrl++";
    RECT grown = PanelRect(run, second);
    // Insert: at the selected tool's size, taken as it is (the tool gave it), on the felt's emptiest part.
    ASSERT_TRUE(Keys(run, {VK_INSERT}, [&] { return run.Tools().size() == 3; }));
    HWND added = nullptr;
    for (HWND tool : run.Tools())
        added = tool != first && tool != second ? tool : added;
    RECT at = PanelRect(run, added), under = PanelRect(run, first);
    EXPECT_TRUE(WaitFor([&] {
        at = PanelRect(run, added);
        return Width(at) == Width(grown) && Height(at) == Height(grown);
    }, LongWait)) << Width(at) << "x" << Height(at);
    ASSERT_TRUE(Keys(run, {VK_TAB}, [&] { return GetParent(GetParent(focus())) == run.panel; }));
    // Dragged by its tab onto another tool: its tab stands over that tool, and comes under it when the
    // other is selected (F6).
    Drag(run, {at.left + 30, at.top - TabHeight / 2}, {under.left + 50, under.top + 20 - TabHeight / 2});
    ASSERT_TRUE(WaitFor([&] { return PanelRect(run, added).left == under.left + 20; }, LongWait))
        << PanelRect(run, added).left << "," << PanelRect(run, added).top;
    EXPECT_EQ(PanelRect(run, added).top, under.top + 20);
    POINT tab = {under.left + 30, under.top + 20 - TabHeight / 2};
    ClientToScreen(run.panel, &tab);
    EXPECT_TRUE(WaitFor([&] { return WindowFromPoint(tab) == run.panel; }, LongWait))
        << "the upper tool's tab, not the lower tool";
    EXPECT_TRUE(Keys(run, {VK_F6}, [&] {
        HWND there = WindowFromPoint(tab);
        return there == first || GetParent(there) == first;
    })) << "the other tool on top, whole";
    EXPECT_TRUE(Keys(run, {VK_CONTROL, VK_RIGHT}, [&] { return PanelRect(run, first).left > under.left; }));
    HWND properties = nullptr;
    EXPECT_TRUE(Keys(run, {VK_MENU, VK_RETURN}, [&] {
        properties = FindProcessWindow(run.ProcessId(), QUORVANE_PROPERTIES_CLASS);
        return properties && GetForegroundWindow() == properties;
    })) << "Alt+Enter: the selected tool's properties, active";
    PostMessageA(properties, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(properties) && GetForegroundWindow() == run.main; }, LongWait));
    EXPECT_EQ(focus(), run.panel) << "back from the properties, the keys play the tool the mouse chose, "
                                     "not the button Tab left";

    EXPECT_TRUE(Keys(run, {VK_DELETE}, [&] { return run.Tools().size() == 2; }));
    run.Command(CmdRemoveTool);
    EXPECT_NE(Title(run).find("1 tool"), std::string::npos) << Title(run);
    run.Command(CmdRemoveTool);
    run.Command(CmdAddFirstType);     // with no tool selected: a new panel's first tool's size
    EXPECT_EQ(Width(PanelRect(run, run.Tools().back())), 360);
    EXPECT_EQ(Height(PanelRect(run, run.Tools().back())), 209);
    EXPECT_TRUE(Keys(run, {VK_CONTROL, '0'}, [&] { return Width(PanelRect(run, run.Tools().back())) == 120; }))
        << "Ctrl+0: the tool's own default";
    PostMessageA(run.main, WM_CLOSE, 0, 0);
    DWORD code = 1;
    ASSERT_TRUE(run.WaitExit(LongWait, &code));
    EXPECT_FALSE(FileExists(config) || FileExists(StorePathFor(config))) << "--no-save writes nothing";
}

// The host built without its companion: a hand played with the tool's own buttons is saved.
TEST(HostAlone, PlaysAHandWithTheToolsButtonsAndSavesIt)
{
    // A folder named with accents, as a user's may be, where the system's code page has them.
    BOOL lacking = FALSE;
    char accented[32] = {};
    bool shown = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, L"alone-\u00e9t\u00e9", -1, accented,
                                     sizeof accented, nullptr, &lacking) > 0 && !lacking;
    std::string folder = FreshTestFolder(shown ? accented : "alone");
    if (GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES)
        folder = FreshTestFolder("alone");    // a system whose file names cannot hold them (a C locale's)
    const std::string config = folder + "\\panel.cfg";
    {   // a store that a companion keeps tables in: the host alone keeps them as they are
        ASSERT_TRUE(WritePanel(config, SavedPanel()));
        Store store;
        std::string why;
        ASSERT_EQ(store.Open(StorePathFor(Utf8FromAnsi(config)), false, false, &why), StoreState::Opened);
        ASSERT_TRUE(store.Exec("CREATE TABLE companion_notes(note TEXT); INSERT INTO companion_notes VALUES ('kept')"));
    }
    HostRun run;
    run.program = "quorvane-alone.exe";
    ASSERT_TRUE(run.Start(Args(config, "--tools 1")));
    ASSERT_EQ(run.Tools().size(), 1u);
    HWND tool = run.Tools()[0];
    Click(ToolButton(tool, BetFiveId));     // bets five and deals
    Click(ToolButton(tool, DealDrawId));
    PostMessageA(run.main, WM_CLOSE, 0, 0);
    DWORD code = 1;
    ASSERT_TRUE(run.WaitExit(LongWait, &code));
    SavedPanel saved = ReadPanel(config, nullptr);
    ASSERT_EQ(saved.tools.size(), 1u);
    VideoPokerGame played = GameOf(saved.tools[0].state), fresh = Game(100);
    EXPECT_EQ(played.handComplete, 1) << "dealt and drawn";
    EXPECT_NE(memcmp(played.card, fresh.card, sizeof fresh.card), 0) << "new cards, not the fresh game's";
    Store store;
    std::string why;
    ASSERT_EQ(store.Open(StorePathFor(Utf8FromAnsi(config)), false, true, &why), StoreState::Opened);
    Statement note(store.Db(), "SELECT note FROM companion_notes");
    EXPECT_TRUE(note.Row() && note.Text(0) == "kept");
}

} // namespace
