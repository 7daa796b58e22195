// property_window.h: the window that holds a tool's properties page.
#pragma once

#include "apps/quorvane/host_state.h"

bool RegisterPropertiesClass();
void ShowPropertiesFor(HWND toolWindow);
void ClosePropertiesFor(HWND toolWindow);
