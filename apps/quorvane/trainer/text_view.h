// text_view.h: the text of the trainer's windows: lines in a fixed-pitch font with each card shown as a
// player reads it (rank and suit symbol, hearts and diamonds in red), scrolled a line at a time. The text
// itself keeps the card letters, for copying and for programs that read the window.
#pragma once

#include <windows.h>
#include <string>

bool RegisterTextView();                            // its class and its font
HWND CreateTextView(HWND parent, int id);
void SetViewText(HWND view, const std::string &text);   // lines end in "\n"; the same text keeps its scroll
// The client width that shows the longest of these lines whole, beside the scroll bar.
int TextViewWidth(HWND view, const std::string &text);
