// tools.h: the tools on the panel: finding, adding, removing, selecting, moving and sizing them.
#pragma once

#include "apps/quorvane/host_state.h"
#include "apps/quorvane/size_question.h"

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
