// quorvane.h: what a program that drives the host from outside needs: its window classes, the property
// it sets once ready, its commands, and the tab over each tool.
#pragma once

#include "apps/quorvane/command_ids.h"   // its commands

// The host's window classes.
#define QUORVANE_MAIN_CLASS "QuorvaneMain"
#define QUORVANE_PANEL_CLASS "QuorvanePanel"
#define QUORVANE_STATUS_CLASS "QuorvaneStatus"
#define QUORVANE_PROPERTIES_CLASS "QuorvaneProperties"
#define QUORVANE_READY_PROPERTY "QuorvaneReady"   // set on the main window once the panel is up
// Posted to the main window with a window of the sender's in wParam: the host posts it back to that
// window, lParam unchanged, once it has worked through everything posted before it.
#define QUORVANE_PING (WM_APP + 1)


// Geometry of the host's decoration around each tool, in the screen's pixels: the sizes at 96 DPI
// until the host scales them to its screen's once at start (ScaleHostGeometry).
inline int TabHeight = 20;            // the tab above a tool: its name, the move handle, the close box
inline int EdgeBand = 7;              // the band beside and below a tool that resizes it
inline int PanelMargin = 8;
void ScaleHostGeometry(int dpi);
