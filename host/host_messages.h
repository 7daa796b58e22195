// host_messages.h: the contract between a panel host and its tools: messages, records, exports.
// Shared by the module, the reference host and the tests, so every number is written once.
#pragma once

#include <cstddef>
#include <windows.h>

/* Host to tool */
#define PTM_GETSTATE            (WM_USER + 105)   /* 1129: lParam -> pointer-sized slot; returns the block's size */
#define PTM_SETSTATE            (WM_USER + 106)   /* 1130: lParam -> the block; returns 0 */
#define PTM_CREATEPAGE          (WM_USER + 107)   /* 1131: wParam parent, lParam MAKELONG(x, y) */
#define PTM_GETDEFAULTSIZE      (WM_USER + 108)   /* 1132: returns MAKELONG(width, height) */
#define PTM_ADJUSTSIZE1         (WM_USER + 109)   /* 1133..1135: lParam -> PanelSizeRequest */
#define PTM_ADJUSTSIZE2         (WM_USER + 110)
#define PTM_ADJUSTSIZE3         (WM_USER + 111)
#define PTM_LAYOUT              (WM_USER + 151)   /* 1175: after every size change */

/* Tool to host */
#define PTM_SHOWPROPERTIES      (WM_USER + 131)   /* 1155: wParam the tool window */
#define PTM_PAINTBACKGROUND     (WM_USER + 139)   /* 1163: lParam -> PanelPaintRequest */

static_assert(PTM_GETSTATE == 1129 && PTM_LAYOUT == 1175, "host message numbers");
static_assert(PTM_SHOWPROPERTIES == 1155 && PTM_PAINTBACKGROUND == 1163, "host message numbers");

// Built on the asking window's stack; valid only during the call.
struct PanelPaintRequest {
    HWND window;        // always the tool window
    HDC dc;             // the DC the asking window is painting
    RECT rect;          // the asking window's client rectangle, in dc's coordinates
    LONG isChild;       // 0 the tool window itself, 1 a card or display
    POINT offset;       // the asker's client origin in the tool window's client coordinates
};

// Owned by the host; read by the tool for PTM_ADJUSTSIZE1..3.
#pragma pack(push, 2)
struct PanelSizeRequest {
    LONG minWidth;
    LONG minHeight;
    LONG maxWidth;
    LONG maxHeight;
    LONG heightGiven;   // nonzero: length is a height; zero: a width
    WORD length;
};
#pragma pack(pop)

#define PANEL_TYPE_NAME_SIZE        20
#define PANEL_TYPE_DESCRIPTION_SIZE 80

struct PanelTypeInfo {
    char name[PANEL_TYPE_NAME_SIZE];
    char description[PANEL_TYPE_DESCRIPTION_SIZE];
    HBITMAP colorBitmap;    // 16 x 16, 16 colours
    HBITMAP monoBitmap;     // 16 x 16, 1 bit per pixel
};

static_assert(offsetof(PanelSizeRequest, length) == 20, "size request layout");
#ifndef _WIN64
static_assert(sizeof(PanelPaintRequest) == 36, "the 32-bit paint request is 36 bytes");
static_assert(sizeof(PanelTypeInfo) == 108, "the 32-bit type descriptor is 108 bytes");
static_assert(offsetof(PanelTypeInfo, colorBitmap) == 100, "type descriptor layout");
static_assert(offsetof(PanelTypeInfo, monoBitmap) == 104, "type descriptor layout");
#endif

// The exports. Arguments the host passes as pointers or handles are pointer-sized on 64-bit.
typedef BOOL(WINAPI *EnumeratePanelTypesProc)(char *initName, char *createName, char *cleanupName,
                                               HINSTANCE instance, LPARAM reserved);
typedef PanelTypeInfo **(WINAPI *InitPanelTypeProc)(PanelTypeInfo **typeInfo, LPARAM reserved);
typedef HWND(WINAPI *PanelToolCreateProc)(HWND parent, const RECT *rect, const void *savedState,
                                          DWORD savedSize, LPARAM reserved);
typedef void(WINAPI *PanelToolCleanupProc)(LPARAM reserved);
