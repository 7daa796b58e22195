// host_run.cpp: the child-process driver of the reference host.
#include "tools/hostdriver/host_run.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "apps/quorvane/quorvane.h"

std::string ProgramBeside(const char *file)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of("\\/") + 1) + file;
}

HostRun::~HostRun()
{
    if (Running())
        Kill();
    if (process_.hProcess) {
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
}

bool HostRun::Launch(const std::string &arguments)
{
    std::string exe = program.find_first_of("\\/") == std::string::npos ? ProgramBeside(program.c_str()) : program;
    std::string line = "\"" + exe + "\" " + arguments;
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (process_.hProcess) {
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
    process_ = {};
    main = panel = status = nullptr;
    if (CreateProcessA(exe.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup, &process_))
        return true;
    fprintf(stderr, "host_run: %s could not be started (error %lu)\n", exe.c_str(), GetLastError());
    return false;
}

bool HostRun::Start(const std::string &arguments, DWORD timeoutMs)
{
    return Launch(arguments) && WaitReady(timeoutMs);
}

namespace {

struct WindowSearch {
    DWORD processId;
    const char *className;
    HWND found;
};

BOOL CALLBACK MatchProcessWindow(HWND window, LPARAM lParam)
{
    WindowSearch *s = reinterpret_cast<WindowSearch *>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    if (owner == s->processId && strcmp(name, s->className) == 0) {
        s->found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

HWND FindProcessWindow(DWORD processId, const char *className)
{
    WindowSearch search = {processId, className, nullptr};
    EnumWindows(MatchProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool HostRun::WaitReady(DWORD timeoutMs)
{
    bool ready = WaitFor(
        [&] {
            if (!Running())
                return true;
            main = FindProcessWindow(process_.dwProcessId, QUORVANE_MAIN_CLASS);
            return main && GetPropA(main, QUORVANE_READY_PROPERTY) != nullptr;
        },
        timeoutMs);
    DWORD code = 0;
    if (!Running() && process_.hProcess && GetExitCodeProcess(process_.hProcess, &code))
        fprintf(stderr, "host_run: the host ended before it was ready, exit code %lu\n", code);
    if (!ready || !Running() || !main)
        return false;
    panel = FindWindowExA(main, nullptr, QUORVANE_PANEL_CLASS, nullptr);
    status = FindWindowExA(main, nullptr, QUORVANE_STATUS_CLASS, nullptr);
    // Answering a sent message means the start-up is over and the loop is running.
    DWORD_PTR result = 0;
    return panel && status && SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result);
}

bool HostRun::Running() const
{
    return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

bool HostRun::WaitExit(DWORD timeoutMs, DWORD *exitCode)
{
    if (!process_.hProcess || WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return false;
    GetExitCodeProcess(process_.hProcess, exitCode);
    return true;
}

void HostRun::Kill()
{
    TerminateProcess(process_.hProcess, 99);
    WaitForSingleObject(process_.hProcess, 10000);
}

std::vector<HWND> HostRun::Tools() const
{
    std::vector<HWND> tools;
    for (HWND child = GetWindow(panel, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[64] = {};
        GetClassNameA(child, name, sizeof name);
        if (strcmp(name, "VideoPokerTool") == 0)
            tools.push_back(child);
    }
    std::reverse(tools.begin(), tools.end());   // GW_CHILD starts at the top
    return tools;
}

LRESULT HostRun::Command(int command) const
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(main, WM_COMMAND, static_cast<WPARAM>(command), 0, SMTO_NORMAL, 2 * LongWait, &result);
    return static_cast<LRESULT>(result);
}


std::string WindowText(HWND window)
{
    // Asked again when the text changed between its length and its copy (a verdict coming meanwhile).
    std::string text;
    for (int attempt = 0; attempt < 5; ++attempt) {
        DWORD_PTR length = 0, copied = 0, after = 0;
        SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, LongWait, &length);
        text.assign(length + 1, '\0');
        SendMessageTimeoutA(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(&text[0]), SMTO_NORMAL, LongWait,
                            &copied);
        text.resize(copied);
        SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, LongWait, &after);
        if (after == copied)
            break;
    }
    return text;
}
