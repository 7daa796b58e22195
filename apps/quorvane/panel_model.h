// panel_model.h: the panel's model: the placed tools in their z-order, the selection, where a new tool
// goes and where a moved one may stand, and the tools as the store keeps them. Changes return what
// happened; the window side (tools.cpp and its callers) creates, moves and repaints the windows. No
// window is touched here, so the native tests reach all of it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "apps/quorvane/panel_file.h"
#include "apps/quorvane/quorvane.h"
#include "apps/quorvane/rect_size.h"
#include "apps/quorvane/size_negotiation.h"

// One tool on the panel. A tool whose type is not loaded has no window: its record is kept, drawn as a
// placeholder and saved back unchanged, so a missing module never costs the tool its game.
struct PanelTool {
    int number = 0;                   // unique on the panel, shown on the tab after the type's name
    HWND window = nullptr;
    int type = -1;                    // index into the host's panel types; -1 when not loaded
    std::string moduleFile, typeName;
    RECT rect = {};                   // the tool window in the panel's client area
    std::vector<uint8_t> state;       // the block last read from the tool (or as read from the file)
    RECT clipOwn = {};                // the window's region as last given: its size, less what the tools
    std::vector<RECT> clipHoles;      // above took of it (none: no region); kept by the window side
};

// A tool's name on its tab and in the host's messages: its type's name and its number.
std::string ToolTitle(const PanelTool &tool);
// The tool's rectangle with its tab above and its resizing bands beside and below.
RECT DecoratedRect(const RECT &toolRect);

struct PanelModel {
    std::vector<PanelTool> tools;     // z-order, bottom first; also the saving order
    int selected = 0;                 // number of the selected tool, 0 for none
    int nextNumber = 1;               // the number the next new tool takes: none is given twice

    PanelTool *ByNumber(int number);
    PanelTool *ByWindow(HWND window);
    PanelTool *Selected();
    int IndexOf(int number) const;

    // Puts a tool on top, with its own number when it has one no other tool has, else the next number
    // never given on this panel; returns it.
    PanelTool &Place(PanelTool tool);
    // Selects the tool and raises it to the top; a number of no tool clears the selection. Returns the
    // tool, or null.
    PanelTool *Select(int number);
    // Takes the tool off the panel into *removed and selects the top one left. False: no such tool.
    bool Remove(int number, PanelTool *removed);
    // The tool step places after (or before) the selected one in number order, wrapping; 0 for none.
    int Neighbour(int step) const;

    // The first free place for a tool of this size on a panel of this size, row by row; with none free,
    // the place that covers least of the other tools; a step down and right from the selected tool when
    // the panel cannot take the tool whole.
    POINT FreeSpot(ToolSize size, SIZE panel) const;
    // The tool at (x, y), kept on the panel so that its tab stays in reach.
    RECT Within(const RECT &rect, int x, int y, SIZE panel) const;

    // The tools as the store keeps them, with their last blocks.
    std::vector<SavedTool> Saved() const;
};
