// size_question.h: asks a tool window one size question and settles its answer (see size_negotiation.h).
#pragma once

#include <windows.h>
#include "apps/quorvane/size_negotiation.h"

// Sends PTM_ADJUSTSIZE1, 2 or 3 (by kind) with a PanelSizeRequest built from the wished size and the
// bounds, and returns the size the host is to apply. A null window gets the wished size, clamped.
ToolSize NegotiateToolSize(HWND tool, SizeQuestionKind kind, bool heightLeads, ToolSize wished,
                           const SizeBounds &bounds);

// The tool's default size (PTM_GETDEFAULTSIZE), or fallback when it gives none.
ToolSize AskDefaultSize(HWND tool, ToolSize fallback);
