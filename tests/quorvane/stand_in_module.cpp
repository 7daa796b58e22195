// stand_in_module.cpp: StandIn.dll, a second panel type for the host's tests: "Tally", one window that
// counts the clicks on it in a 12-byte block. It proves the host and its companion tell panel types apart.
#include <windows.h>
#include <cstdint>
#include <cstring>

#include "host/host_messages.h"

namespace {

struct Tally {
    char mark[4];          // "TALY"
    uint32_t clicks;
    uint32_t spare;
};
static_assert(sizeof(Tally) == 12, "a block size other than the poker tool's");

HINSTANCE instance;
bool enumerated;
PanelTypeInfo info = {"Tally", "Counts clicks (a stand-in panel type)", nullptr, nullptr};

LRESULT CALLBACK TallyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Tally *tally = reinterpret_cast<Tally *>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
    case WM_LBUTTONUP:
        ++tally->clicks;
        return 0;
    case PTM_GETSTATE:
        *reinterpret_cast<const void **>(lParam) = tally;
        return sizeof *tally;
    case PTM_GETDEFAULTSIZE:
        return MAKELONG(160, 90);
    case WM_NCDESTROY:
        delete tally;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

extern "C" BOOL WINAPI EnumeratePanelTypes(char *init, char *create, char *cleanup, HINSTANCE host, LPARAM)
{
    instance = host;
    if (enumerated)
        return FALSE;
    enumerated = true;
    strcpy(init, "InitTally");
    strcpy(create, "CreateTally");
    strcpy(cleanup, "CleanupTally");
    return TRUE;
}

extern "C" PanelTypeInfo **WINAPI InitTally(PanelTypeInfo **slot, LPARAM)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = TallyProc;
    wc.hInstance = instance;
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = "StandInTally";
    RegisterClassA(&wc);
    *slot = &info;
    return slot;
}

extern "C" HWND WINAPI CreateTally(HWND parent, const RECT *rect, const void *saved, DWORD savedSize, LPARAM)
{
    Tally *tally = new Tally{{'T', 'A', 'L', 'Y'}, 0, 0};
    if (saved && savedSize == sizeof *tally && memcmp(saved, "TALY", 4) == 0)
        memcpy(tally, saved, sizeof *tally);
    HWND window = CreateWindowExA(0, "StandInTally", "", WS_CHILD | WS_VISIBLE, rect->left, rect->top,
                                  rect->right - rect->left, rect->bottom - rect->top, parent, nullptr, instance, nullptr);
    if (!window) {
        delete tally;
        return nullptr;
    }
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(tally));
    return window;
}

extern "C" void WINAPI CleanupTally(LPARAM)
{
}
