// host_state.h: the reference host's records (the panel types, and the running host: the panel's model
// with what the window side keeps) that its files share.
#pragma once

#include <windows.h>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "apps/quorvane/options.h"
#include "apps/quorvane/panel_file.h"
#include "apps/quorvane/panel_model.h"
#include "apps/quorvane/panel_store.h"
#include "apps/quorvane/quorvane.h"
#include "apps/quorvane/size_negotiation.h"
#include "host/host_messages.h"

// One panel type, as a module described it.
struct PanelType {
    std::string modulePath;
    std::string moduleFile;           // the module's file name: how the store names it
    HMODULE module;
    std::string name;                 // from the descriptor, also the saved type name
    std::string description;
    HBITMAP colorBitmap;              // the module's: shown in menus and on the selected tool's tab
    HBITMAP monoBitmap;               // the module's: a glyph on the tabs of the other tools
    PanelToolCreateProc create;
    PanelToolCleanupProc cleanup;
    ToolSize defaultSize;             // learnt from the first tool of this type
    bool defaultSizeKnown;
};

enum class DragKind { None, Move, Left, Right, Bottom, BottomLeft, BottomRight, Close };

// The running host: the panel's model (its tools and selection), and what the window side keeps.
struct Host : PanelModel {
    HINSTANCE instance;
    HostOptions options;
    std::string programFolder;
    std::string configPath;

    std::vector<PanelType> types;
    std::vector<std::string> moduleProblems;

    HWND mainWindow, panelWindow, statusWindow;
    HWND keyFocus;                    // the tool button the keyboard is on, kept while the host is inactive
    HWND propertiesWindow, propertiesTool;
    HACCEL accelerators;
    HMENU addToolMenu;
    HFONT uiFont, tabFont;

    DragKind drag;
    int dragTool;                     // number of the tool being dragged
    POINT dragAnchor;                 // the mouse at the start, panel client coordinates
    RECT dragStartRect;

    PanelStore store;                 // the saved panel: what the file holds, and saving it
    std::string startupWarning;       // warnings of the start, before the status line shows them
    DWORD warningUntil;               // routine messages wait until this tick count

    std::map<std::string, std::string> settings;   // the companion's, saved with the panel

    bool ready;
    bool closing;                     // Close has saved the panel: the message loop ends
    int exitCode;
};

extern Host host;


enum HostTimer { AutosaveTimer = 1, SoonSaveTimer, ScreenshotTimer, ScreenshotCaptureTimer };

// Registers one of the host's window classes under its instance; true when it is, or already was, there.
inline bool RegisterHostClass(const char *className, WNDPROC procedure, HBRUSH background = nullptr,
                              UINT style = 0, HICON icon = nullptr)
{
    WNDCLASSA wc = {};
    if (GetClassInfoA(host.instance, className, &wc))
        return true;
    wc.style = style;
    wc.lpfnWndProc = procedure;
    wc.hInstance = host.instance;
    wc.hIcon = icon;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    return RegisterClassA(&wc) != 0;
}
