// module.h: module-wide handles and the entry points the windows and dialogs share.
#pragma once

#include <windows.h>
#include "host/host_messages.h"

extern HINSTANCE moduleInstance;    // resources are loaded from here
extern HINSTANCE hostInstance;      // classes are registered and windows created under this

struct VideoPokerToolData;

// Host-message handlers on a tool's record (the record may be null: they then touch nothing).
LRESULT HandleGetState(HWND tool, VideoPokerToolData *data, WPARAM wParam, LPARAM lParam);
LRESULT HandleSetState(HWND tool, VideoPokerToolData *data, WPARAM wParam, LPARAM lParam);
LRESULT HandleGetDefaultSize(HWND tool, VideoPokerToolData *data, WPARAM wParam, LPARAM lParam);
LRESULT HandleAdjustSize(HWND tool, VideoPokerToolData *data, WPARAM wParam, LPARAM lParam);

// Dialogs.
LRESULT CreatePropertiesPage(VideoPokerToolData *data, WPARAM wParam, LPARAM lParam);
void ForgetPropertiesTarget(const VideoPokerToolData *data);   // called when a tool is destroyed
INT_PTR CALLBACK PropertiesPageProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
