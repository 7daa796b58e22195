// window_png.h: what the screen shows of a window, encoded as a PNG. The host's --screenshot and the
// README's pictures (tools/pictures) both read windows this way.
#pragma once

#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>

// The PNG of the part of the window's rectangle that is on the screen; empty when none of it is, or the
// pixels cannot be read.
std::vector<uint8_t> WindowPng(HWND window);
// The same PNG written to path, whole or not at all (the host's --screenshot, vp-pictures); false when
// nothing of the window could be read or the file not written.
bool WriteWindowPng(HWND window, const std::string &path);
