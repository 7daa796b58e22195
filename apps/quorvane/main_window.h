// main_window.h: the host's main window, its title and its message boxes.
#pragma once

#include "apps/quorvane/host_state.h"

bool RegisterMainClass();
HWND CreateMainWindow(const SavedPanel *saved);
void UpdateTitle();
bool AskYesNo(const std::string &question);
void ShowMessage(const std::string &text, UINT icon);
