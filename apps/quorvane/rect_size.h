// rect_size.h: a rectangle's width and height, for the host's own files.
#pragma once

#include <windows.h>

inline int Width(const RECT &r) { return r.right - r.left; }
inline int Height(const RECT &r) { return r.bottom - r.top; }
