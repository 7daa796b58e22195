// rect_size.h: a rectangle's width and height. The panel's model builds natively for its tests too, and
// there the few Windows types it uses are declared here as windows.h has them.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
typedef struct HWND__ *HWND;
struct RECT { long left, top, right, bottom; };
struct POINT { long x, y; };
struct SIZE { long cx, cy; };
#endif

inline int Width(const RECT &r) { return static_cast<int>(r.right - r.left); }
inline int Height(const RECT &r) { return static_cast<int>(r.bottom - r.top); }
