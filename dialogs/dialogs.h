// dialogs.h: the properties page the host embeds and the About box, as the tool window opens them.
#pragma once

#include <windows.h>

// PTM_CREATEPAGE for tool: the page as a child of wParam at the point in lParam, or null.
LRESULT CreatePropertiesPage(HWND tool, WPARAM wParam, LPARAM lParam);
// Called when a tool is destroyed: its open pages then act on nothing.
void ForgetPropertiesTarget(HWND tool);
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
