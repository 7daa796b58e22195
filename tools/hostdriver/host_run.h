// host_run.h: starts quorvane.exe (beside the calling program) as a child process and drives it from
// outside, as a person or another program on the same desktop would: its windows found by class, its
// commands sent, its buttons clicked. The host benchmark, vp-pictures and the host's tests share it.
#pragma once

#include <windows.h>
#include <string>
#include <vector>

// How long a driver waits for what a host should do soon: long enough for a machine kept busy by other
// work or for the emulated 32-bit one (a wait that succeeds ends at once, so only a failure pays it).
constexpr DWORD LongWait = 60000;

// A file beside the running program.
std::string ProgramBeside(const char *file);

class HostRun {
public:
    HostRun() = default;
    HostRun(const HostRun &) = delete;
    HostRun &operator=(const HostRun &) = delete;
    ~HostRun();
    // Starts the host with these arguments and waits until its panel is up and its loop runs.
    bool Start(const std::string &arguments, DWORD timeoutMs = LongWait);
    // Starts it without waiting for anything.
    bool Launch(const std::string &arguments);
    bool WaitReady(DWORD timeoutMs);
    bool WaitExit(DWORD timeoutMs, DWORD *exitCode);
    void Kill();
    bool Running() const;

    // The tool windows on the panel, bottom of the z-order first.
    std::vector<HWND> Tools() const;
    LRESULT Command(int command) const;    // what a menu item or key would do, sent and finished
    DWORD ProcessId() const { return process_.dwProcessId; }

    HWND main = nullptr, panel = nullptr, status = nullptr;
    // The program started: a bare name lies beside this program ("quorvane-alone.exe" is the host
    // without its companion), a path is taken as it is; workingFolder empty: this program's own.
    std::string program = "quorvane.exe", workingFolder;

private:
    PROCESS_INFORMATION process_ = {};
};

// The whole text of a window of the host, however long (asked with WM_GETTEXT, as it may be long).
std::string WindowText(HWND window);
// The top-level window of the given class that belongs to the process, or null.
HWND FindProcessWindow(DWORD processId, const char *className);
// Waits until condition() holds, pumping nothing; false on timeout.
template <typename Condition> bool WaitFor(Condition condition, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(20);
    }
    return true;
}
