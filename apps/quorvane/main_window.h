// main_window.h: the host's main window.
#pragma once

#include "apps/quorvane/host_state.h"

bool RegisterMainClass();
HWND CreateMainWindow(const SavedPanel *saved);
