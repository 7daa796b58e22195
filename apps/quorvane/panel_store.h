// panel_store.h: the saved panel's model: what the panel file holds as far as this run knows, whether a
// save is due, the save itself through a seam (the file writer), and the news a restored panel gives.
// Like panel_model.h it touches no window and builds natively for its tests.
#pragma once

#include <string>
#include <vector>

#include "apps/quorvane/panel_file.h"

// Writes text as the whole file at path, or leaves the old file whole and gives the system's error.
using PanelFileWriter = bool (*)(const std::string &path, const std::string &text, unsigned long *error);

enum class SaveOutcome { Unchanged, Saved, Failed };

struct SaveResult {
    SaveOutcome outcome = SaveOutcome::Unchanged;
    bool firstFailure = false;        // the first of a run of failures: the one to tell
    unsigned long error = 0;
};

struct PanelStore {
    PanelFileWriter write = nullptr;
    SavedPanel lastSaved;             // what the file holds now, as far as this run knows
    bool haveLastSaved = false;
    bool failing = false;

    // Writes panel unless it holds what the file holds already (force: write anyway); each save counts
    // one more generation.
    SaveResult Save(const std::string &path, SavedPanel panel, bool force);
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
