// panel_store.h: the saved panel's model: what the store holds as far as this run knows, whether a save is
// due, the save itself (the panel and the companion's rows in one transaction), and the news a restored
// panel gives. Like panel_model.h it touches no window and builds natively for its tests.
#pragma once

#include <string>
#include <vector>

#include "apps/quorvane/panel_file.h"
#include "apps/quorvane/store.h"

// The companion's part of a save, written inside the same transaction: false rolls the whole save back.
using CompanionWriter = bool (*)(Store &store);

enum class SaveOutcome { Unchanged, Saved, Failed };

struct SaveResult {
    SaveOutcome outcome = SaveOutcome::Unchanged;
    bool firstFailure = false;        // the first of a run of failures: the one to tell
    std::string error;                // why it failed, as SQLite says it
};

struct PanelStore {
    SavedPanel lastSaved;             // what the store holds now, as far as this run knows
    bool haveLastSaved = false;
    bool failing = false;

    // One transaction: the panel unless it holds what the store holds already (force: written anyway; each
    // write counts one more generation), and the companion's rows when it has any pending. A failure
    // leaves the store as it was committed last.
    SaveResult Save(Store &store, SavedPanel panel, bool force, bool companionPending, CompanionWriter write);
    // Something of the panel waits to be saved (a change, or a save that failed).
    bool Unsaved(const SavedPanel &panel) const { return failing || !haveLastSaved || !panel.SameContent(lastSaved); }
};

// What a restored panel says: a warning when the file was damaged or empty (lost tools start fresh,
// fresh names them; keptAs is the name of the file's copy, empty when none could be made) or when tools
// need modules that are not loaded; else routine news.
struct RestoreNews {
    std::string text;
    bool warning = false;
};
RestoreNews NewsOfRestore(const PanelFileReport &report, int toolsRead, bool nothingRead, int absent,
                          const std::string &keptAs, int toolsNow, const std::string &fileName,
                          const std::vector<std::string> &fresh = {});

// "1 tool", "3 tools".
std::string Plural(int n, const char *one, const char *many);
