// main_window.h: the host's main window, its title and its message boxes.
#pragma once

#include "apps/quorvane/host_state.h"

bool RegisterMainClass();
HWND CreateMainWindow(const SavedPanel *saved);
