// quorvane.h: the reference host's records (panel types, placed tools, the application) and what its files share.
#pragma once

#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>

#include "apps/quorvane/options.h"
#include "apps/quorvane/panel_file.h"
#include "apps/quorvane/size_negotiation.h"
#include "host/host_messages.h"

// One panel type, as a module described it.
struct PanelType {
    std::string modulePath;
    std::string moduleFile;           // the module's file name: how the panel file names it
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

// One tool on the panel. A tool whose type is not loaded has no window: its record is kept, drawn as a
// placeholder and saved back unchanged, so a missing module never costs the tool its game.
struct PanelTool {
    int number;                       // unique on the panel, shown on the tab: "Video Poker 2"
    HWND window;
    int type;                         // index into Host::types; -1 when not loaded
    std::string moduleFile, typeName;
    RECT rect;                        // the tool window in the panel's client area
    std::vector<uint8_t> state;       // the block last read from the tool (or as read from the file)
};

enum class DragKind { None, Move, Left, Right, Bottom, BottomLeft, BottomRight, Close };

struct Host {
    HINSTANCE instance;
    HostOptions options;
    std::string programFolder;
    std::string configPath;

    std::vector<PanelType> types;
    std::vector<std::string> moduleProblems;
    std::vector<PanelTool> tools;     // z-order, bottom first; also the saving order
    int selected;                     // number of the selected tool, 0 for none

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

    SavedPanel lastSaved;             // what the file holds now, as far as this run knows
    bool haveLastSaved;
    bool saveFailing;
    bool damagedFileKept;             // the damaged file was copied aside before the first save
    std::string startupWarning;       // said once: damage or absent modules found at start
    DWORD warningUntil;               // routine messages wait until this tick count

    bool trainer;                     // draws are judged against the best hold; saved with the panel

    bool ready;
    int exitCode;
};

extern Host host;

// Window classes and message numbers private to the host.
#define QUORVANE_MAIN_CLASS "QuorvaneMain"
#define QUORVANE_PANEL_CLASS "QuorvanePanel"
#define QUORVANE_STATUS_CLASS "QuorvaneStatus"
#define QUORVANE_PROPERTIES_CLASS "QuorvaneProperties"
#define QUORVANE_READY_PROPERTY "QuorvaneReady"   // set on the main window once the panel is up

// Commands (menus, accelerators, and what tests send).
enum HostCommand {
    CmdAddFirstType = 1000,           // 1000 + type index: add a tool of that type
    CmdRemoveTool = 1100,
    CmdProperties,
    CmdSaveNow,
    CmdExit,
    CmdSelectNext,
    CmdSelectPrevious,
    CmdLarger,
    CmdSmaller,
    CmdDefaultSize,
    CmdMoveLeft,
    CmdMoveRight,
    CmdMoveUp,
    CmdMoveDown,
    CmdBringToFront,
    CmdKeysHelp,
    CmdAbout,
    CmdNextButton,
    CmdPreviousButton,
    CmdPressButton,
};

#define WM_APP_SAVE_LOOP (WM_APP + 1)     // one more save of --save-loop
#define WM_APP_MACHINE_CHART (WM_APP + 2) // the machine's own chart has been worked out

enum HostTimer { AutosaveTimer = 1, SoonSaveTimer, ScreenshotTimer, ScreenshotCaptureTimer, ExitTimer,
                 AdviceRefreshTimer };

// Geometry of the host's decoration around each tool.
constexpr int TabHeight = 20;         // the tab above a tool: its name, the move handle, the close box
constexpr int EdgeBand = 7;           // the band beside and below a tool that resizes it
constexpr int PanelMargin = 8;

// main.cpp
// Registers one of the host's window classes under its instance; true when it is, or already was, there.
bool RegisterHostClass(const char *className, WNDPROC procedure, HBRUSH background = nullptr, UINT style = 0,
                       HICON icon = nullptr);

// modules.cpp
void LoadPanelTypes();
int FindType(const std::string &moduleFile, const std::string &typeName);

// tools.cpp
PanelTool *ToolByNumber(int number);
PanelTool *ToolByWindow(HWND window);
PanelTool *SelectedTool();
int IndexOfTool(int number);
bool CreateToolFromSaved(const SavedTool &saved);
PanelTool *AddTool(int type, bool select);
void RemoveTool(int number, bool ask);
void SelectTool(int number);
void SelectNeighbour(int step);
void MoveToolTo(PanelTool &tool, int x, int y);
bool ResizeTool(PanelTool &tool, SizeQuestionKind kind, bool heightLeads, ToolSize wished, RECT anchorFrom, DragKind anchor);
void StepToolSize(PanelTool &tool, int widthStep);
void ToolToDefaultSize(PanelTool &tool);
void ReadToolStates();
std::string ToolTitle(const PanelTool &tool);
RECT DecoratedRect(const RECT &toolRect);
void InvalidateToolDecoration(const RECT &toolRect);
void DestroyAllTools();

// panel_window.cpp, panel_felt.cpp, panel_drag.cpp
bool RegisterPanelClass();
HWND CreatePanelWindow(HWND parent);
void RebuildFelt(int width, int height);
void PaintFeltInto(HDC dc, const RECT &rect, POINT panelOrigin);
void BeginMoveDrag(int number, POINT panelPoint);

// main_window.cpp
bool RegisterMainClass();
HWND CreateMainWindow(const SavedPanel *saved);
void UpdateTitle();
bool AskYesNo(const std::string &question);
void ShowMessage(const std::string &text, UINT icon);

// status_line.cpp
bool RegisterStatusClass();
HWND CreateStatusLine(HWND parent);
void SetStatus(const std::string &text);
void SetWarning(const std::string &text);

// commands.cpp
HMENU BuildMenu();
HACCEL BuildAccelerators();
void EnableToolCommands(HMENU menu);
void RebuildAddToolMenu();
void HandleCommand(int command);

// key_focus.cpp
void StepFocus(int step);   // Tab (1) or Shift+Tab (-1)
bool IsToolButton(HWND window);   // a push button of one of the panel's tools

// persistence.cpp
enum class PanelFileState { Missing, Read, Unreadable };
std::string ChooseConfigPath();
PanelFileState ReadSavedPanel(SavedPanel *panel, PanelFileReport *report);
void RestorePanel(PanelFileState state, const SavedPanel &saved, const PanelFileReport &report);
bool SaveNow(bool force);
void SaveIfChanged();
void SaveLoopStep();
void SaveSoon();                  // a change to keep: saved once input has paused for a moment
bool WriteFileAtomically(const std::string &path, const std::string &content, DWORD *error);
bool ReadWholeFile(const std::string &path, std::string *content, DWORD *error);

// property_window.cpp
bool RegisterPropertiesClass();
void ShowPropertiesFor(HWND toolWindow);
void ClosePropertiesFor(HWND toolWindow);

// screenshot.cpp
bool WriteWindowPng(HWND window, const std::string &path);
