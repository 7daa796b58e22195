// tools.h: the window side of the panel's tools: adding, removing, selecting, moving and sizing them
// changes the model (panel_model.h, in host_state.h's host) and shows the change.
#pragma once

#include "apps/quorvane/host_state.h"
#include "apps/quorvane/size_question.h"

bool CreateToolFromSaved(const SavedTool &saved);
// A new tool of the type: at its default size, or at the size it answers when asked for wished.
PanelTool *AddTool(int type, bool select, const ToolSize *wished = nullptr);
constexpr ToolSize WelcomeSize = {360, 209};     // a size a player reads a tool at
// The size new tools are asked for (a new panel's, --tools N, Insert with none selected): --tool-size,
// or WelcomeSize, both at 96 DPI and scaled to the screen's.
ToolSize FreshToolSize();
void RemoveTool(int number);
void SelectTool(int number);
// Selects the next tool (by number, step +1 or -1), brought into view; true when that moved it.
bool SelectNeighbour(int step);
void MoveToolTo(PanelTool &tool, int x, int y);
bool ResizeTool(PanelTool &tool, SizeQuestionKind kind, bool heightLeads, ToolSize wished, RECT anchorFrom, DragKind anchor);
void StepToolSize(PanelTool &tool, int widthStep);
void ToolToDefaultSize(PanelTool &tool);
void ReadToolStates();
// The tool's block as it hands it out now (PTM_GETSTATE); empty when it gives none, or one too large to save.
std::vector<uint8_t> ReadToolBlock(HWND window);
void InvalidateToolDecoration(const RECT &toolRect);
// The tool whose window is window or holds it (a button, a card), or null for any other window.
PanelTool *ToolHolding(HWND window);
void DestroyAllTools();
