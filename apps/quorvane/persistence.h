// persistence.h: where the panel's store lives, claiming and opening it, reading it back at start, saving.
#pragma once

#include "apps/quorvane/host_state.h"

enum class PanelFileState { Missing, Read, Unreadable };
std::string ChooseConfigPath();
// host.configPath: the store chosen (an older host's text panel file names the store beside it).
void ResolvePanelPath();
// Resolves the path and claims the panel for this run; another host's panel is told, and the player may
// pick another panel. False: quit.
bool ClaimPanel();
void ClosePanelStore();
// --export: the panel (and what the companion keeps) as text, read from a snapshot of the store.
bool ExportPanel(const std::string &path);
PanelFileState ReadSavedPanel(SavedPanel *panel, PanelFileReport *report);
void RestorePanel(PanelFileState state, const SavedPanel &saved, const PanelFileReport &report);
bool SaveNow(bool force);
void SaveIfChanged();
void SaveSoon();                  // a change to keep: saved once input has paused for a moment
