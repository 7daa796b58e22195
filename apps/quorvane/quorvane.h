// quorvane.h: what a program that drives the host from outside needs: its window classes, the property
// it sets once ready, its commands, and the tab over each tool.
#pragma once

#include <windows.h>

// The host's window classes.
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

// Geometry of the host's decoration around each tool.
constexpr int TabHeight = 20;         // the tab above a tool: its name, the move handle, the close box
constexpr int EdgeBand = 7;           // the band beside and below a tool that resizes it
constexpr int PanelMargin = 8;
