// persistence.cpp: where the panel file lives, the panel read back at start, and saves (panel_store decides
// and writes them), each told on the status line.
#include "apps/quorvane/persistence.h"
#include "apps/quorvane/companion.h"
#include "apps/quorvane/tools.h"
#include "apps/quorvane/status_line.h"
#include "apps/quorvane/files.h"
#include "apps/quorvane/modules.h"

#include <shlobj.h>
#include <cstdio>

namespace {


bool FolderIsWritable(const std::string &folder)
{
    std::string probe = folder + "\\quorvane-write-test.tmp";
    HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

std::string AppDataPath()
{
    char folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, folder)))
        return "";
    std::string quorvane = std::string(folder) + "\\Quorvane";
    CreateDirectoryA(quorvane.c_str(), nullptr);
    return quorvane + "\\Quorvane.cfg";
}

std::string TimeNow()
{
    SYSTEMTIME t;
    GetLocalTime(&t);
    char text[16];
    snprintf(text, sizeof text, "%02d:%02d:%02d", t.wHour, t.wMinute, t.wSecond);
    return text;
}

SavedPanel Snapshot()
{
    ReadToolStates();       // each tool's block as it stands now
    SavedPanel panel;
    WINDOWPLACEMENT place = {};
    place.length = sizeof place;
    if (host.mainWindow && GetWindowPlacement(host.mainWindow, &place)) {
        const RECT &r = place.rcNormalPosition;
        panel.hasWindow = true;
        panel.window.x = r.left;
        panel.window.y = r.top;
        panel.window.width = r.right - r.left;
        panel.window.height = r.bottom - r.top;
        panel.window.maximized = place.showCmd == SW_SHOWMAXIMIZED;
    }
    panel.settings = host.settings;
    panel.tools = host.Saved();
    return panel;
}

bool WritePanelFile(const std::string &path, const std::string &text, unsigned long *error)
{
    DWORD code = 0;
    bool written = WriteFileAtomically(path, text, &code);
    *error = code;
    return written;
}

void AddFreshTools(int count)
{
    for (int i = 0; i < count && !host.types.empty(); ++i)
        if (!AddTool(0, false))
            break;
}

} // namespace

std::string ChooseConfigPath()
{
    if (!host.options.configPath.empty())
        return host.options.configPath;
    std::string beside = host.programFolder + "\\Quorvane.cfg";
    if (FileExists(beside))
        return beside;
    std::string appData = AppDataPath();
    if (!appData.empty() && FileExists(appData))
        return appData;
    if (FolderIsWritable(host.programFolder) || appData.empty())
        return beside;
    return appData;
}

PanelFileState ReadSavedPanel(SavedPanel *panel, PanelFileReport *report)
{
    std::string text;
    DWORD error = 0;
    if (!ReadWholeFile(host.configPath, &text, &error)) {
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return PanelFileState::Missing;
        SetWarning("Could not read the panel file " + host.configPath + " (error " + std::to_string(error) +
                   "): starting with a fresh panel and leaving the file as it is.");
        return PanelFileState::Unreadable;
    }
    *panel = ParsePanelFile(text.data(), text.size(), report);
    return PanelFileState::Read;
}

void RestorePanel(PanelFileState state, const SavedPanel &saved, const PanelFileReport &report)
{
    if (host.options.freshTools >= 0) {
        AddFreshTools(host.options.freshTools);
        if (!host.tools.empty())
            SelectTool(host.tools.front().number);
        SetStatus("A fresh panel with " + Plural(static_cast<int>(host.tools.size()), "tool", "tools") + ".");
        return;
    }
    host.settings = saved.settings;
    if (state == PanelFileState::Unreadable) {
        host.options.noSave = true;    // never overwrite a file we could not even read
        AddFreshTools(1);
        return;
    }
    // Only a missing file is a new panel: anything else that does not read clean, an empty file too,
    // takes the damaged path below, which keeps a copy before the file is ever overwritten.
    if (state == PanelFileState::Missing) {
        AddFreshTools(1);
        if (!host.tools.empty()) {
            PanelTool &first = host.tools.front();
            ResizeTool(first, CornerQuestion, false, WelcomeSize, first.rect, DragKind::BottomRight);
            SelectTool(first.number);
        }
        SetStatus(host.types.empty() ? "No panel-type module found: see Help > About Quorvane."
                                     : "A new panel. Play the tool with its buttons; drag its tab to move it, "
                                       "its edges to resize; Insert adds another.");
        return;
    }
    if (report.newerVersion) {
        host.options.noSave = true;
        SetWarning("The panel file " + host.configPath + " was written by a newer Quorvane: it is left as it "
                   "is, and this panel is not saved.");
        AddFreshTools(1);
        return;
    }
    int absent = 0;
    for (const SavedTool &tool : saved.tools)
        if (!CreateToolFromSaved(tool))
            ++absent;
    // A damaged tool starts a new game where it stood when its place and size still read, else where
    // there is room; either way the news names it.
    std::vector<std::string> fresh;
    for (SavedTool place : report.placesOfDamaged) {
        if (host.types.empty() || static_cast<int>(host.tools.size()) >= MaxPanelTools)
            break;
        if (FindType(place.moduleFile, place.typeName) < 0)
            place.moduleFile = host.types[0].moduleFile, place.typeName = host.types[0].name;
        if (CreateToolFromSaved(place))
            fresh.push_back(ToolTitle(host.tools.back()));
    }
    for (int i = static_cast<int>(fresh.size()); i < report.LostTools(); ++i)
        if (PanelTool *tool = host.types.empty() ? nullptr : AddTool(0, false))
            fresh.push_back(ToolTitle(*tool));
    bool nothingRead = host.tools.empty() && !report.Clean();
    if (nothingRead)
        AddFreshTools(1);     // a file with nothing readable left in it gives a fresh panel
    if (!host.tools.empty())
        SelectTool(host.tools.back().number);

    host.store.lastSaved = saved;
    host.store.haveLastSaved = report.Clean();
    std::string keptAs;
    if (!report.Clean()) {
        // Keep the damaged file for whoever wants to look at it; the next save replaces it.
        std::string aside = host.configPath + ".bad";
        if (CopyFileA(host.configPath.c_str(), aside.c_str(), FALSE))
            keptAs = FileNameOf(aside);
        else
            host.options.noSave = true;    // no copy, so the file itself stays as the only record
    }
    RestoreNews news = NewsOfRestore(report, static_cast<int>(saved.tools.size()), nothingRead, absent, keptAs,
                                     static_cast<int>(host.tools.size()), FileNameOf(host.configPath), fresh);
    if (news.warning)
        SetWarning(news.text);
    else
        SetStatus(news.text);
}

bool SaveNow(bool force)
{
    if (host.options.noSave || !host.mainWindow)
        return true;
    host.store.write = WritePanelFile;
    SavedPanel panel = Snapshot();
    SaveResult result = host.store.Save(host.configPath, panel, force);
    CompanionSave();
    if (result.outcome == SaveOutcome::Failed) {
        if (result.firstFailure)
            SetWarning("Could not save the panel to " + host.configPath + " (error " +
                       std::to_string(result.error) + "); trying again while it runs.");
        return false;
    }
    if (result.outcome == SaveOutcome::Saved && force)     // asked for (Ctrl+S): told; saves by themselves are not
        SetStatus("Saved " + Plural(static_cast<int>(panel.tools.size()), "tool", "tools") + " to " +
                  FileNameOf(host.configPath) + " at " + TimeNow() + ".");
    return true;
}

void SaveIfChanged()
{
    SaveNow(false);
}

void SaveSoon()
{
    SetTimer(host.mainWindow, SoonSaveTimer, 300, nullptr);   // each change restarts it: one save per pause
}
