// window_png.h: what the screen shows of a window, encoded as a PNG. The host's --screenshot and the
// README's pictures (tools/pictures) both read windows this way.
#pragma once

#include <windows.h>
#include <cstdint>
#include <vector>

// The PNG of the part of the window's rectangle that is on the screen; empty when none of it is, or the
// pixels cannot be read.
std::vector<uint8_t> WindowPng(HWND window);
