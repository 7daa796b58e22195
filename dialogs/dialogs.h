// dialogs.h: the properties page the host embeds and the About box, as the tool window opens them.
#pragma once

#include <windows.h>

// What the page's "New Game" does to the tool that asked for a page last. The panel hands it over, so no
// message a host or a stray control could send reaches a purse.
typedef void (*NewGameRoutine)(HWND tool);

// PTM_CREATEPAGE for tool: the page as a child of wParam at the point in lParam, or null.
LRESULT CreatePropertiesPage(HWND tool, NewGameRoutine newGame, WPARAM wParam, LPARAM lParam);
// Called when a tool is destroyed: its open pages then act on nothing.
void ForgetPropertiesTarget(HWND tool);
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
