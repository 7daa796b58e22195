// test_host.h: a panel host for window tests: loads VideoPoker.dll by its exports, paints a known
// background under its tools and records every request they make of it.
//
// Use:
//   TestHost &host = TestHost::Instance();          // loads, enumerates and inits once per process
//   ASSERT_TRUE(host.Ready());
//   HWND tool = host.CreateLaidOutTool(300, 175);    // created at (10, 10), PTM_LAYOUT sent, painted
//   host.ClearRecords();
//   ... drive the tool; host.Pump() dispatches posted messages and paints ...
//   EXPECT_EQ(host.PaintRequests().size(), 5u);
//   EXPECT_EQ(host.CaptureClient(card).At(0, 0), host.BackgroundUnder(card, 0, 0));
//   DestroyWindow(tool);
//
// The panel is a top-level window at the screen's origin, so panel coordinates are screen coordinates.
// Its background is PanelBackground(x, y) of panel client coordinates, painted by WM_PAINT and for
// every PTM_PAINTBACKGROUND (using the request's window and offset, as a host must).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>
#include <windows.h>
#include <gtest/gtest.h>
#include "apps/quorvane/canvas.h"
#include "engine/game.h"
#include "host/host_messages.h"
#include "tests/common/host_probe.h"   // ProgramBeside, WindowText

struct VideoPokerToolData;

// The background colour at a point of the panel's client area. Its blue is never 0, 255 or 128, so it is
// never black, white or a system grey; red follows x and green follows y, so a wrong offset shows.
COLORREF PanelBackground(int x, int y);

// One PTM_PAINTBACKGROUND as it arrived; dc is stale after the call.
struct PaintRecord { PanelPaintRequest request; HWND painter; };   // painter: WindowFromDC of the DC passed

// A message a tool sent to the panel other than a background request.
struct HostMessageRecord { UINT message; WPARAM wParam; LPARAM lParam; };

// A screen capture of a window's client area, in client coordinates.
struct Capture {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;   // row by row from the top
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// A canvas as a capture of COLORREFs.
Capture CaptureOf(Canvas &canvas);

// The pixels of an area (clipped to the capture) that pass a test: how many, and their bounding box
// (empty when there are none).
struct Ink { int count = 0; RECT box = {}; };
inline const RECT kEverywhere = {0, 0, 1 << 16, 1 << 16};
Ink FindInk(const Capture &capture, const RECT &area, const std::function<bool(int x, int y)> &is);
// The pixels of exactly this colour.
Ink FindColour(const Capture &capture, COLORREF colour, const RECT &area = kEverywhere);

// One item of a context menu caught while it was open.
struct MenuItemRecord { UINT id, type; std::string text; };   // type: MFT_STRING, MFT_SEPARATOR, ...

// A context menu caught while it was open.
struct MenuRecord {
    bool opened = false;
    RECT windowRect = {};   // the popup window (class "#32768") on screen
    std::vector<MenuItemRecord> items;
};

// Loads VideoPoker.dll from beside this program, enumerates and initialises it as a host does, and
// answers the creation export that enumeration names (null when a step failed).
PanelToolCreateProc LoadModule(HMODULE *module);

class TestHost {
public:
    static TestHost &Instance();

    bool Ready() const { return ready_; }
    HMODULE Module() const { return module_; }   // as this process loaded it, enumerated and initialised once
    HWND Panel() const { return panel_; }
    // The instance handle this host passes to EnumeratePanelTypes: the test program's own.
    HINSTANCE HostInstance() const { return GetModuleHandleA(nullptr); }

    // VideoPokerToolCreate with the panel as parent; no layout is sent.
    HWND CreateTool(const RECT &rect, const void *block = nullptr, DWORD size = 0);
    // A tool at (x, y) of the given client size, laid out with PTM_LAYOUT and painted.
    HWND CreateLaidOutTool(int width, int height, const void *block = nullptr, DWORD size = 0,
                           int x = 10, int y = 10);
    // Resizes the tool window and sends PTM_LAYOUT, as a host does after every size change.
    void Resize(HWND tool, int width, int height);
    // Dispatches every pending message, paints included, until the queue is empty.
    static void Pump();

    const std::vector<PaintRecord> &PaintRequests() const { return paints_; }
    const std::vector<HostMessageRecord> &HostMessages() const { return messages_; }
    void ClearRecords() { paints_.clear(), messages_.clear(); }

    // Pixels as shown on screen, in the window's client coordinates.
    Capture CaptureClient(HWND window) const;
    // The panel background that lies under a point of the window's client area.
    COLORREF BackgroundUnder(HWND window, int x, int y) const;

private:
    TestHost();
    static LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    bool ready_ = false;
    HWND panel_ = nullptr;
    HMODULE module_ = nullptr;
    PanelToolCreateProc create_ = nullptr;
    std::vector<PaintRecord> paints_;
    std::vector<HostMessageRecord> messages_;
};

// Destroys a tool window (or any window) when the test leaves its scope.
struct ScopedWindow {
    explicit ScopedWindow(HWND window = nullptr) : window_(window) {}
    ~ScopedWindow() { if (window_ && IsWindow(window_)) DestroyWindow(window_); }
    ScopedWindow(const ScopedWindow &) = delete;
    HWND get() const { return window_; }
    operator HWND() const { return window_; }
    HWND window_;
};

// The tool's record as the host sees it: the PTM_GETSTATE address read with the record's declared layout.
// Only tests take this route, to read what a host cannot observe (display texts, hold flags, the font).
VideoPokerToolData *ToolRecord(HWND tool);

// Sends a right-button release to a card, display or tool window at a client point, and catches the
// context menu that opens. chooseIndex < 0 cancels the menu; otherwise the item with that index is chosen
// with the keyboard, as a user would. whileOpen runs once the menu shows, before it is closed. Posted
// results (the chosen command) are dispatched before returning.
MenuRecord OpenContextMenu(HWND window, POINT clientPoint, int chooseIndex = -1,
                           const std::function<void()> &whileOpen = {});

// opened: a dialog appeared and the script ran against it; closedByScript: it was gone before the watchdog.
struct ModalRun { bool opened = false, closedByScript = false; HWND owner = nullptr; };

// Calls open(), which should run a modal dialog on this thread. As soon as the dialog shows, script
// runs inside the modal loop and is expected to close it. A dialog still open a few seconds later is
// ended by a watchdog (with result -1), so a fault fails the test instead of hanging it.
ModalRun DriveModal(const std::function<void()> &open, const std::function<void(HWND dialog)> &script);
// The visible top-level dialog-class window of this thread, or null.
HWND FindOpenDialog();

// Fills the process's GDI handle table with the test's own objects, leaving `headroom` free. Code run
// meanwhile that leaks k objects leaves CountCreatable() at headroom - k. Everything is freed on scope exit.
struct GdiTableFill {
    explicit GdiTableFill(int headroom);
    ~GdiTableFill();
    GdiTableFill(const GdiTableFill &) = delete;
    bool Filled() const { return filled_; }
    int CountCreatable() const;   // creates objects until creation fails, frees them again
    std::vector<HGDIOBJ> objects_;
    bool filled_ = false;
};

// Sets a system colour for a scope, restored even when an assertion ends the test early. System colours
// belong to the whole Wine session: suites that set them run alone.
struct SystemColour {
    const int element;
    const COLORREF original;
    SystemColour(int which, COLORREF colour) : element(which), original(GetSysColor(which))
    {
        SetSysColors(1, &element, &colour);
    }
    ~SystemColour() { SetSysColors(1, &element, &original); }
};

// A test with one tool at a time on the host's panel, destroyed when the test ends.
class OneToolTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(host.Ready()) << "VideoPoker.dll could not be loaded by its exports"; }
    void TearDown() override
    {
        DestroyTool();
        host.Pump();
    }
    // A tool laid out at (10, 10) of the panel, fresh or from a saved game.
    void CreateTool(int width, int height, const VideoPokerGame *game = nullptr)
    {
        DestroyTool();
        tool = host.CreateLaidOutTool(width, height, game, game ? GameRecordSize : 0);
        ASSERT_NE(tool, nullptr);
        record = ToolRecord(tool);
        ASSERT_NE(record, nullptr);
    }
    void CreateTool(int width, int height, const VideoPokerGame &game) { CreateTool(width, height, &game); }
    void DestroyTool()
    {
        if (tool)
            DestroyWindow(tool);
        tool = nullptr;
        record = nullptr;
    }
    // Repaints a window and its children now, the panel's background requests included.
    void Repaint(HWND window)
    {
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        host.Pump();
    }

    TestHost &host = TestHost::Instance();
    HWND tool = nullptr;
    VideoPokerToolData *record = nullptr;
};
