// status_line.h: the status line under the panel, the main window's title and the host's message boxes.
#pragma once

#include "apps/quorvane/host_state.h"

bool RegisterStatusClass();
HWND CreateStatusLine(HWND parent);
int StatusHeight(int width);                      // one line, or more for news that needs them
void SetStatus(const std::string &text);
void SetWarning(const std::string &text);        // before the status line exists: kept in host.startupWarning
void AddWarning(const std::string &text);        // joins a warning still in view
void ClearStatus(const std::string &text);        // empties the line if it still says text
void UpdateTitle();                               // the count of tools and the selected one
bool AskYesNo(const std::string &question);       // yes without asking when unattended
void ShowMessage(const std::string &text, UINT icon);
