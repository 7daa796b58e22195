// key_focus.h: the keyboard walking the tools' buttons.
#pragma once

#include "apps/quorvane/host_state.h"

void StepFocus(int step);   // Tab (1) or Shift+Tab (-1)
bool IsToolButton(HWND window);   // a push button of one of the panel's tools
bool PressFocusedButton();        // Enter and Space: the button Tab walked to, if any; true when pressed
