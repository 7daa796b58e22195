// host_driver.h: starts quorvane.exe as a child process and drives it from outside, as a person (or
// another program on the same desktop) would: its windows are found by class, its buttons clicked.
#pragma once

#include <windows.h>
#include <string>
#include <vector>

#include "apps/quorvane/quorvane.h"
#include "apps/quorvane/panel_file.h"
#include "engine/game.h"

// A folder of its own for one test, emptied first: <temp>\quorvane-tests\<name>.
std::string FreshTestFolder(const std::string &name);
std::string ProgramBesideTests(const char *file);

bool WriteText(const std::string &path, const std::string &text);
bool ReadText(const std::string &path, std::string *text);
bool FileExists(const std::string &path);

// The panel file at path as the host would read it.
SavedPanel ReadPanel(const std::string &path, PanelFileReport *report);
bool WritePanel(const std::string &path, const SavedPanel &panel);

std::vector<uint8_t> BlockOf(const VideoPokerGame &game);
VideoPokerGame GameOf(const std::vector<uint8_t> &block);
SavedTool PokerTool(int x, int y, int width, int height, const VideoPokerGame &game);

class HostRun {
public:
    ~HostRun();
    // Starts the host with these arguments and waits until its panel is up.
    bool Start(const std::string &arguments, DWORD timeoutMs = 30000);
    // Starts it without waiting for anything.
    bool Launch(const std::string &arguments);
    bool WaitReady(DWORD timeoutMs);
    bool WaitExit(DWORD timeoutMs, DWORD *exitCode);
    void Kill();
    bool Running() const;

    // The tool windows on the panel, bottom of the z-order first.
    std::vector<HWND> Tools() const;
    // The tool whose window stands at (x, y) of the panel, or null.
    HWND ToolAt(int x, int y) const;
    RECT PanelRect(HWND window) const;      // a window's rectangle in the panel's client coordinates
    RECT PanelClient() const;
    std::string Status() const;
    std::string Title() const;
    LRESULT Command(int command) const;    // what a menu item or key would do, sent and finished
    LRESULT SendToPanel(UINT message, WPARAM wParam, LPARAM lParam) const;
    DWORD ProcessId() const { return process_.dwProcessId; }

    HWND main = nullptr, panel = nullptr, status = nullptr;

private:
    PROCESS_INFORMATION process_ = {};
};

// The whole text of a window of the host, however long.
std::string WindowText(HWND window);
// A tool's button by control id (262 "+1", 263 "Bet 5", 264 "Deal"/"Draw").
HWND ToolButton(HWND tool, int id);
// The top-level window of the given class that belongs to the process, or null.
HWND FindProcessWindow(DWORD processId, const char *className);
// Waits until condition() holds, pumping nothing; false on timeout.
template <typename Condition> bool WaitFor(Condition condition, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(20);
    }
    return true;
}
