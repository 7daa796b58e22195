// persistence.cpp: where the panel's store lives, claiming it for this run, opening it (importing an older
// host's text panel file, salvaging a damaged store), reading the panel back at start, and saves: the panel
// and the companion's rows in one transaction (panel_store decides), each failure told on the status line.
#include "apps/quorvane/persistence.h"
#include "apps/quorvane/companion.h"
#include "apps/quorvane/tools.h"
#include "apps/quorvane/status_line.h"
#include "apps/quorvane/screen_scale.h"
#include "apps/quorvane/files.h"
#include "apps/quorvane/modules.h"
#include "apps/quorvane/store.h"

#include <shlobj.h>
#include <commdlg.h>
#include <cstdio>

namespace {

const char OldPanelName[] = "Quorvane.cfg";     // an older host's text panel file, imported once
const char PanelName[] = "Quorvane.qpanel";

Store store;                                    // open for the whole run
HANDLE claim = INVALID_HANDLE_VALUE;            // the lock that keeps a second host off this panel
std::string importFrom;                         // an older host's panel file, when no store is beside it
std::string keptAs;                             // the name of the damaged store's copy, or the imported file
std::string welcome;                            // a new panel's first words, until play changes the panel

// The store speaks UTF-8; the host's paths are in the system's code page.
std::string Utf8(const std::string &ansi)
{
    return Utf8FromAnsi(ansi);
}


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

std::string AppDataFolder()
{
    char folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, folder)))
        return "";
    std::string quorvane = std::string(folder) + "\\Quorvane";
    CreateDirectoryA(quorvane.c_str(), nullptr);
    return quorvane;
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
        panel.window = WindowAtDpi(panel.window, ScreenDpi(), StoreDpi);
    }
    panel.settings = host.settings;
    for (const SavedTool &tool : host.Saved())
        panel.tools.push_back(ToolAtDpi(tool, ScreenDpi(), StoreDpi));
    panel.nextNumber = host.nextNumber;
    return panel;
}

// Another host's: the second is told and offered another panel (a file dialog), or quits.
bool AskForAnotherPanel()
{
    if (host.options.unattended)
        return false;
    std::string question = "This panel is open in another Quorvane:\n" + host.configPath +
                           "\n\nStart another panel? (No quits.)";
    if (MessageBoxA(nullptr, question.c_str(), "Quorvane", MB_YESNO | MB_ICONINFORMATION) != IDYES)
        return false;
    char file[MAX_PATH] = "Another.qpanel";
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.lpstrFilter = "Quorvane panels (*.qpanel)\0*.qpanel\0Older panel files (*.cfg)\0*.cfg\0";
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof file;
    dialog.lpstrDefExt = "qpanel";
    dialog.lpstrTitle = "Another panel";
    dialog.Flags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameA(&dialog))
        return false;
    host.options.configPath = file;
    return true;
}

// What the companion kept beside an older host's panel file, into the store being made.
bool ImportCompanionFile()
{
    std::string text;
    DWORD error = 0;
    const std::string path = importFrom + CompanionFileSuffix;
    bool found = CompanionFileSuffix[0] && ReadWholeFile(path, &text, &error);
    if (CompanionFileSuffix[0] && !found && error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)
        SetWarning("Could not read " + FileNameOf(path) + " (error " + std::to_string(error) +
                   "): it is left as it is, and not imported.");
    return CompanionImport(store, found, text, FileNameOf(path));
}

// The text of an older host, imported in one transaction into a temporary store renamed into place
// (with saving off, into the run's memory); the text files are left as they are.
PanelFileState ImportOldPanel(SavedPanel *panel, PanelFileReport *report)
{
    std::string text;
    DWORD error = 0;
    if (!ReadWholeFile(importFrom, &text, &error)) {
        SetWarning("Could not read the panel file " + importFrom + " (error " + std::to_string(error) +
                   "): starting with a fresh panel and leaving the file as it is.");
        return PanelFileState::Unreadable;
    }
    *panel = ParsePanelFile(text.data(), text.size(), report);
    if (report->newerVersion) {
        SetWarning("The panel file " + importFrom + " was written by a newer Quorvane: it is left as it is, and "
                   "this panel is not saved.");
        return PanelFileState::Unreadable;
    }
    NumberOldTools(panel);
    for (const SavedTool &tool : report->placesOfDamaged)
        panel->nextNumber = std::max(panel->nextNumber, tool.number + 1);
    const std::string target = Utf8(host.configPath), temporary = target + ".import";
    std::string why;
    bool made;
    if (host.options.noSave) {
        made = store.OpenInMemory(&why) == StoreState::Created;
    } else {
        for (const char *part : {"", "-wal", "-shm"})
            RemoveStoreFile(temporary + part);
        made = store.Open(temporary, true, false, &why) == StoreState::Created;
    }
    made = made && store.Begin() && store.WritePanel(*panel) && ImportCompanionFile() && store.Commit();
    if (!made)
        why = store.Error();
    if (made && !host.options.noSave) {
        store.Close(true);
        made = RenameStoreFile(temporary, target);
        why = "error " + std::to_string(GetLastError());
        made = made && store.Open(target, false, false, &why) == StoreState::Opened;
    }
    if (!made) {
        store.Close(false);
        SetWarning("Could not make the store " + FileNameOf(host.configPath) + " from " + FileNameOf(importFrom) +
                   " (" + why + "): this run plays it without saving, and tries again at the next start.");
        host.options.noSave = true;
        std::string ignored;
        store.OpenInMemory(&ignored);
        store.Begin();
        store.WritePanel(*panel);
        ImportCompanionFile();
        store.Commit();
    }
    keptAs = FileNameOf(importFrom);
    CompanionOpenStore(store);
    return PanelFileState::Read;
}

// A store SQLite finds damaged: moved aside under a numbered name, and what can be read of it copied
// into a new one (into the run's memory when it cannot be moved).
void SalvageDamaged(const std::string &why)
{
    const std::string path = Utf8(host.configPath);
    std::string aside = host.options.noSave ? "" : MoveDamagedStoreAside(path), ignored;
    bool whole = false;
    if (!aside.empty() && store.Open(path, true, false, &ignored) == StoreState::Created) {
        keptAs = FileNameOf(host.configPath) + aside.substr(path.size());
    } else {
        host.options.noSave = true;
        store.OpenInMemory(&ignored);
        aside = path;
    }
    store.Begin();
    bool any = SalvageStore(aside, store, &whole);
    store.Commit();
    std::string news = "The panel " + FileNameOf(host.configPath) + " was damaged (" + why + "): " +
                       (any ? whole ? "all of it could be read back" : "what could be read back is kept"
                            : "nothing in it could be read, so a fresh panel starts");
    SetWarning(news + (keptAs.empty() ? "; it is left as it is, and this panel is not saved."
                                      : "; the file as it was is kept as " + keptAs + "."));
}

// New tools of the first type, at the size a player reads them at (or --tool-size).
void AddFreshTools(int count)
{
    const ToolSize size = FreshToolSize();
    for (int i = 0; i < count && !host.types.empty(); ++i)
        if (!AddTool(0, false, &size))
            break;
}

} // namespace

std::string ChooseConfigPath()
{
    if (!host.options.configPath.empty())
        return host.options.configPath;
    // The store beside the program, or an older host's panel file there; then the same in the user's folder.
    const std::string appData = AppDataFolder();
    for (const std::string &folder : {host.programFolder, appData}) {
        if (folder.empty())
            continue;
        for (const char *name : {PanelName, OldPanelName})
            if (FileExists(folder + "\\" + name))
                return folder + "\\" + name;
    }
    if (FolderIsWritable(host.programFolder) || appData.empty())
        return host.programFolder + "\\" + PanelName;
    return appData + "\\" + PanelName;
}

void ResolvePanelPath()
{
    // A store is named for itself; any other file is an older host's text, whose store goes beside it.
    std::string chosen = ChooseConfigPath();
    importFrom.clear();
    if (FileExists(chosen) && IsStoreFile(Utf8(chosen))) {
        host.configPath = chosen;
    } else {
        host.configPath = StorePathFor(chosen);
        if (host.configPath != chosen && FileExists(chosen) && !FileExists(host.configPath))
            importFrom = chosen;
    }
}

bool ClaimPanel()
{
    for (;;) {
        ResolvePanelPath();
        // The claim is a file no other program opens while this one has it, gone with this run (a killed
        // run too). A folder where it cannot be made at all cannot be saved in either: nothing to guard.
        claim = CreateFileA((host.configPath + ".lock").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (claim != INVALID_HANDLE_VALUE || GetLastError() != ERROR_SHARING_VIOLATION)
            return true;
        fprintf(stderr, "quorvane: This panel is open in another Quorvane: %s\n", host.configPath.c_str());
        if (!AskForAnotherPanel())
            return false;
    }
}

PanelFileState ReadSavedPanel(SavedPanel *panel, PanelFileReport *report)
{
    const std::string path = Utf8(host.configPath);
    if (!importFrom.empty())
        return ImportOldPanel(panel, report);
    std::string why;
    StoreState state = host.options.noSave ? store.OpenInMemoryCopyOf(path, &why)
                                           : store.Open(path, true, false, &why);
    if (state == StoreState::Failed && StoreFileExists(path)) {
        // A store that reads but cannot be written here (a read-only folder or file): played, not saved.
        std::string readWhy;
        if (store.OpenInMemoryCopyOf(path, &readWhy) == StoreState::Opened) {
            SetWarning("The panel " + host.configPath + " cannot be written here (" + why +
                       "): this run plays it without saving.");
            host.options.noSave = true;
            state = StoreState::Opened;
        }
    }
    if (state == StoreState::Damaged) {
        SalvageDamaged(why);
        state = StoreState::Opened;
    } else if (state == StoreState::Newer || state == StoreState::Foreign || state == StoreState::Failed) {
        SetWarning("The panel " + host.configPath + " cannot be opened: " + why +
                   ". It is left as it is; this run starts a fresh panel and saves nothing.");
        host.options.noSave = true;
        store.OpenInMemory(&why);
        CompanionOpenStore(store);
        return PanelFileState::Unreadable;
    }
    if (state == StoreState::Missing) {     // with saving off, a panel that is not there yet
        store.OpenInMemory(&why);
        state = StoreState::Created;
    }
    CompanionOpenStore(store);
    if (state == StoreState::Created)
        return PanelFileState::Missing;
    if (!store.ReadPanel(panel, report)) {
        SetWarning("The panel " + host.configPath + " could not be read (" + store.Error() +
                   "): it is left as it is; this run starts a fresh panel and saves nothing.");
        host.options.noSave = true;
        return PanelFileState::Unreadable;
    }
    return PanelFileState::Read;
}

void ClosePanelStore()
{
    store.Close(!host.options.noSave);     // the log folded into the file, so a copy of it alone is whole
    if (claim != INVALID_HANDLE_VALUE)
        CloseHandle(claim);
    claim = INVALID_HANDLE_VALUE;
}

bool ExportPanel(const std::string &path)
{
    SavedPanel panel;
    PanelFileReport report;
    PanelFileState state = ReadSavedPanel(&panel, &report);
    if (state != PanelFileState::Read) {
        fprintf(stderr, "quorvane: no panel to export at %s\n", host.configPath.c_str());
        return false;
    }
    DWORD error = 0;
    if (!WriteFileAtomically(path, FormatPanelFile(panel), &error) ||
        (CompanionFileSuffix[0] && !WriteFileAtomically(path + CompanionFileSuffix, CompanionExportText(), &error))) {
        fprintf(stderr, "quorvane: could not write %s (error %lu)\n", path.c_str(), error ? error : GetLastError());
        return false;
    }
    return true;
}

void RestorePanel(PanelFileState state, const SavedPanel &saved, const PanelFileReport &report)
{
    if (host.options.freshTools >= 0) {
        // The store's tools give way to new ones, numbered after them; settings and memory stay.
        host.settings = saved.settings;
        host.nextNumber = std::max(1, saved.nextNumber);
        AddFreshTools(host.options.freshTools);
        if (!host.tools.empty())
            SelectTool(host.tools.front().number);
        SetStatus("A fresh panel with " + Plural(static_cast<int>(host.tools.size()), "tool", "tools") + ".");
        return;
    }
    host.settings = saved.settings;
    host.nextNumber = std::max(1, saved.nextNumber);
    if (state == PanelFileState::Unreadable) {
        host.options.noSave = true;    // never overwrite a file we could not even read
        AddFreshTools(1);
        return;
    }
    // Only a missing file is a new panel: anything else that does not read clean, an empty file too,
    // takes the damaged path below, which keeps a copy before the file is ever overwritten.
    if (state == PanelFileState::Missing) {
        AddFreshTools(1);
        if (!host.tools.empty())
            SelectTool(host.tools.front().number);
        welcome = host.types.empty() ? "No panel-type module found: see Help > About Quorvane."
                                     : "A new panel. Play the tool with its buttons; drag its tab to move it, "
                                       "its edges to resize; Insert adds another.";
        SetStatus(welcome);
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
    const ToolSize size = FreshToolSize();
    for (int i = static_cast<int>(fresh.size()); i < report.LostTools(); ++i)
        if (PanelTool *tool = host.types.empty() ? nullptr : AddTool(0, false, &size))
            fresh.push_back(ToolTitle(*tool));
    bool nothingRead = host.tools.empty() && !report.Clean();
    if (nothingRead)
        AddFreshTools(1);     // a file with nothing readable left in it gives a fresh panel
    if (!host.tools.empty())
        SelectTool(host.tools.back().number);

    host.store.lastSaved = saved;
    host.store.haveLastSaved = report.Clean() && importFrom.empty();
    RestoreNews news = NewsOfRestore(report, static_cast<int>(saved.tools.size()), nothingRead, absent, keptAs,
                                     static_cast<int>(host.tools.size()), FileNameOf(host.configPath), fresh);
    if (news.warning)
        SetWarning(news.text);
    else
        SetStatus(news.text);
}

bool SaveNow(bool force)
{
    if (host.options.noSave || !host.mainWindow || !store.IsOpen())
        return true;
    // A save asked by a sent message (another program's command, the end of the session) comes before the
    // message loop's notice of the last change: the companion sees it first, so the purses it saves and
    // what the companion keeps of the same play go into the one transaction together.
    CompanionToolsMayHaveChanged();
    SavedPanel panel = Snapshot();
    SaveResult result = host.store.Save(store, panel, force, CompanionHasUnsaved(), CompanionSave);
    if (result.outcome != SaveOutcome::Unchanged)
        CompanionSaveEnded(result.outcome == SaveOutcome::Saved);
    if (result.outcome == SaveOutcome::Failed) {
        if (result.firstFailure)
            SetWarning("Could not save the panel to " + host.configPath + " (" + result.error +
                       "); nothing is lost yet: it is tried again at every save while Quorvane runs.");
        return false;
    }
    if (result.outcome == SaveOutcome::Saved && host.store.lastSaved.generation > 1 && !welcome.empty()) {
        ClearStatus(welcome);    // the panel has changed since it was new: the welcome has done its work
        welcome.clear();
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
