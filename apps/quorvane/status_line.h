// status_line.h: the status line under the panel.
#pragma once

#include "apps/quorvane/host_state.h"

bool RegisterStatusClass();
HWND CreateStatusLine(HWND parent);
void SetStatus(const std::string &text);
void SetWarning(const std::string &text);
