// main.cpp: Quorvane, the reference panel host: start-up, the message loop, and the end of the run.
#include "apps/quorvane/companion.h"
#include "apps/quorvane/modules.h"
#include "apps/quorvane/tools.h"
#include "apps/quorvane/panel_window.h"
#include "apps/quorvane/main_window.h"
#include "apps/quorvane/status_line.h"
#include "apps/quorvane/screen_scale.h"
#include "apps/quorvane/commands.h"
#include "apps/quorvane/persistence.h"
#include "apps/quorvane/property_window.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

Host host;

namespace {

void Complain(const std::string &text)
{
    fprintf(stderr, "quorvane: %s\n", text.c_str());
    if (!host.options.unattended)
        MessageBoxA(nullptr, text.c_str(), "Quorvane", MB_OK | MB_ICONERROR);
}

std::string ProgramFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    size_t slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? "." : folder.substr(0, slash);
}

int CALLBACK NoteFaceFound(const LOGFONTA *, const TEXTMETRICA *, DWORD, LPARAM found)
{
    *reinterpret_cast<bool *>(found) = true;
    return 0;
}

// Tahoma where it is installed; elsewhere Arial, which font substitution serves on most systems with
// a real bold face (a missing face would get a fallback without one).
const char *UiFace()
{
    LOGFONTA wanted = {};
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpyA(wanted.lfFaceName, "Tahoma");
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExA(screen, &wanted, NoteFaceFound, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found ? "Tahoma" : "Arial";
}

HFONT MakeFont(int height, int weight)
{
    return CreateFontA(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS, UiFace());
}

// A word of "hint, statistics, chart or mistakes".
bool IsOneOf(const std::string &name, const std::string &names)
{
    std::string word;
    for (char c : names + ",") {
        if (isalnum(static_cast<unsigned char>(c))) {
            word += c;
            continue;
        }
        if (word != "or" && word == name)
            return true;
        word.clear();
    }
    return false;
}

bool IsOwnKeyTarget(HWND window)
{
    return window == host.mainWindow || IsChild(host.mainWindow, window);
}

// Looks at input on its way to the tools: a click selects the tool it lands in, Alt+drag moves a tool
// from anywhere on it, and the end of a click or key press is a moment to save. True: swallowed.
bool WatchToolInput(const MSG &msg)
{
    bool press = msg.message == WM_LBUTTONDOWN || msg.message == WM_RBUTTONDOWN || msg.message == WM_LBUTTONDBLCLK;
    bool release = msg.message == WM_LBUTTONUP || msg.message == WM_KEYUP;
    if (!press && !release)
        return false;
    PanelTool *tool = ToolHolding(msg.hwnd);
    if (!tool)
        return false;
    if (release) {
        SaveSoon();
        return false;
    }
    if (tool->number != host.selected)
        SelectTool(tool->number);
    if (msg.message == WM_LBUTTONDOWN && GetKeyState(VK_MENU) < 0) {
        POINT at = msg.pt;
        ScreenToClient(host.panelWindow, &at);
        BeginMoveDrag(tool->number, at);
        return true;
    }
    return false;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    host.instance = instance;
    std::string error;
    for (int i = 1; i < __argc; ++i)       // so that even a bad command line is told without a box
        if (lstrcmpA(__argv[i], "--unattended") == 0)
            host.options.unattended = true;
    if (!ParseHostOptions(__argc, __argv, &host.options, &error)) {
        Complain(error + "\n\n" + HostUsage());
        return 2;
    }
    const std::string windows = CompanionWindowNames();
    if (!host.options.screenshotOf.empty() &&
        (windows.empty() || !IsOneOf(host.options.screenshotOf, windows))) {
        Complain("--screenshot-of takes " + (windows.empty() ? std::string("no window: there is no companion")
                                                             : windows) + ", not " + host.options.screenshotOf);
        return 2;
    }
    if (host.options.help) {
        fputs(HostUsage(), stdout);
        if (!host.options.unattended)
            MessageBoxA(nullptr, OneColumn(HostUsage()).c_str(), "Quorvane", MB_OK | MB_ICONINFORMATION);
        return 0;
    }
    if (!host.options.screenshotPath.empty())
        host.options.noSave = true;     // a picture of the panel leaves the store alone
    host.programFolder = ProgramFolder();
    if (!host.options.exportPath.empty()) {     // a reader beside any running host: it claims nothing
        host.options.noSave = true;
        ResolvePanelPath();
        return ExportPanel(host.options.exportPath) ? 0 : 1;
    }
    if (!ClaimPanel())
        return 3;
    ScaleHostGeometry(ScreenDpi());
    host.uiFont = MakeFont(Scaled(12), FW_NORMAL);
    host.tabFont = MakeFont(Scaled(12), FW_BOLD);
    if (!RegisterMainClass() || !RegisterPanelClass() || !RegisterPropertiesClass()) {
        Complain("could not register the host's window classes");
        return 1;
    }

    LoadPanelTypes();
    SavedPanel saved;
    PanelFileReport report;
    PanelFileState fileState = ReadSavedPanel(&saved, &report);
    bool placeKnown = fileState == PanelFileState::Read && saved.hasWindow;
    if (!CreateMainWindow(placeKnown ? &saved : nullptr)) {
        Complain("could not create the main window (is there a display?)");
        return 1;
    }
    RebuildAddToolMenu();
    RestorePanel(fileState, saved, report);
    if (!host.startupWarning.empty()) {     // what opening the store found, before the window was there
        std::string told = host.startupWarning;
        host.startupWarning.clear();
        AddWarning(told);
    }
    for (const std::string &problem : host.moduleProblems)
        SetWarning(problem + ".");
    if (host.types.empty() && host.moduleProblems.empty())
        SetWarning("No panel-type module was found beside the program.");
    UpdateTitle();
    ShowWindow(host.mainWindow, placeKnown && saved.window.maximized ? SW_SHOWMAXIMIZED : show);
    RedrawWindow(host.mainWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    SetFocus(host.panelWindow);

    if (!host.options.noSave)
        SetTimer(host.mainWindow, AutosaveTimer, 1000, nullptr);
    if (!host.options.screenshotPath.empty())
        SetTimer(host.mainWindow, ScreenshotTimer, 700, nullptr);
    CompanionToolsMayHaveChanged();   // the restored tools seen (and the trainer's work begun) before any command
    host.ready = true;
    SetPropA(host.mainWindow, QUORVANE_READY_PROPERTY, reinterpret_cast<HANDLE>(1));

    MSG msg;
    while (!host.closing && GetMessageA(&msg, nullptr, 0, 0) > 0) {
        CompanionToolsMayHaveChanged();   // what the last message did to the tools, before anything else
        if (host.propertiesWindow && IsDialogMessageA(host.propertiesWindow, &msg))
            continue;
        if (IsOwnKeyTarget(msg.hwnd) && TranslateAcceleratorA(host.mainWindow, host.accelerators, &msg))
            continue;
        if (WatchToolInput(msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }

    ClosePanelStore();
    // No tool is sent anything again (after Close their windows go with the process); each type may end
    // its use now.
    for (const PanelType &t : host.types)
        if (t.cleanup)
            t.cleanup(0);
    DestroyAcceleratorTable(host.accelerators);
    DeleteObject(host.uiFont);
    DeleteObject(host.tabFont);
    return host.exitCode;
}
