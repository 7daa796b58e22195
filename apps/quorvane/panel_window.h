// panel_window.h: the panel window as the rest of the host uses it (its parts share panel_parts.h).
#pragma once

#include "apps/quorvane/host_state.h"

bool RegisterPanelClass();
HWND CreatePanelWindow(HWND parent);
void RebuildFelt(int width, int height);
void PaintFeltInto(HDC dc, const RECT &rect, POINT panelOrigin);
void BeginMoveDrag(int number, POINT panelPoint);
