// screen_scale.cpp: the system DPI, which a system-aware program keeps for its whole run.
#include "apps/quorvane/screen_scale.h"

int ScreenDpi()
{
    static const int dpi = [] {
        HDC screen = GetDC(nullptr);
        const int read = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
        if (screen)
            ReleaseDC(nullptr, screen);
        return read > 0 ? read : 96;
    }();
    return dpi;
}
