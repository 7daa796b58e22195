// persistence.h: where the panel file lives, reading it back at start, and saving it.
#pragma once

#include "apps/quorvane/host_state.h"

enum class PanelFileState { Missing, Read, Unreadable };
std::string ChooseConfigPath();
PanelFileState ReadSavedPanel(SavedPanel *panel, PanelFileReport *report);
void RestorePanel(PanelFileState state, const SavedPanel &saved, const PanelFileReport &report);
bool SaveNow(bool force);
void SaveIfChanged();
void SaveSoon();                  // a change to keep: saved once input has paused for a moment
