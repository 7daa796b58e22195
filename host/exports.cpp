// exports.cpp: the four entry points a host calls: enumeration, class registration, creation, cleanup.
#include <cstdint>
#include <cstring>
#include "panel/tool.h"
#include "resources/module_instance.h"
#include "resources/resource_ids.h"

#ifndef _WIN64
// The tool class reserves one window word for its record pointer: 4 bytes in the shipped 32-bit module.
static_assert(sizeof(LONG_PTR) == 4, "the tool's window word is 4 bytes on 32-bit");
#endif

namespace {

int32_t typesEnumerated;             // 0 or 1: a second enumeration in the same load yields no type
uint32_t toolClassRegistered;        // the atoms of the three classes; 0 while not registered
uint32_t cardClassRegistered;
uint32_t displayClassRegistered;
PanelTypeInfo typeInfo;              // the one descriptor the host is given; its address never changes

// Copies a name with its terminating zero and nothing more: the host's buffers have no stated size.
void CopyEntryName(char *buffer, const char *name)
{
    memcpy(buffer, name, strlen(name) + 1);
}

// A window procedure that lies in no loaded module: left by a load of this module that is gone. Another
// program's class of the same name is not ours to remove.
bool IsStale(WNDPROC procedure)
{
    HMODULE owner = nullptr;
    return !GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                               reinterpret_cast<LPCSTR>(procedure), &owner);
}

// Registers one class unless an earlier call did; a failed registration is tried again next time.
// Classes outlive the module that registered them: a class of ours left by an earlier load of this
// module points into an image that is gone, so it is replaced. While windows of that load still exist
// it cannot be removed; the class then stays unregistered by this load and creation makes nothing.
void RegisterOnce(uint32_t &registered, const char *className, WNDPROC procedure, int windowExtra,
                  HCURSOR cursor, int stockBrush)
{
    if (registered != 0)
        return;
    WNDCLASSA existing = {};
    if (const BOOL atom = GetClassInfoA(hostInstance, className, &existing)) {   // nonzero: the class atom
        if (existing.lpfnWndProc == procedure) {   // the earlier load lay where this one does: it is ours
            registered = static_cast<uint32_t>(atom);
            return;
        }
        if (!IsStale(existing.lpfnWndProc) || !UnregisterClassA(className, hostInstance))
            return;
    }
    WNDCLASSA windowClass = {};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = procedure;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = windowExtra;
    windowClass.hInstance = hostInstance;
    windowClass.hIcon = nullptr;
    windowClass.hCursor = cursor;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(stockBrush));
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = className;
    registered = RegisterClassA(&windowClass);
}

} // namespace

extern "C" BOOL WINAPI EnumeratePanelTypes(char *initName, char *createName, char *cleanupName,
                                           HINSTANCE instance, LPARAM /*reserved*/)
{
    hostInstance = instance;
    if (typesEnumerated != 0)
        return FALSE;
    CopyEntryName(initName, "InitVideoPokerToolType");
    CopyEntryName(createName, "VideoPokerToolCreate");
    CopyEntryName(cleanupName, "VideoPokerToolCleanup");
    ++typesEnumerated;
    return TRUE;
}

extern "C" PanelTypeInfo **WINAPI InitVideoPokerToolType(PanelTypeInfo **typeInfoSlot, LPARAM /*reserved*/)
{
    RegisterOnce(toolClassRegistered, VIDEO_POKER_TOOL_CLASS, VideoPokerToolWndProc, sizeof(LONG_PTR),
                 LoadCursor(nullptr, IDC_ARROW), BLACK_BRUSH);
    RegisterOnce(cardClassRegistered, VIDEO_POKER_CARD_CLASS, VideoPokerCardWndProc, 0, nullptr, WHITE_BRUSH);
    RegisterOnce(displayClassRegistered, VIDEO_POKER_DISPLAY_CLASS, VideoPokerDisplayWndProc, 0, nullptr,
                 WHITE_BRUSH);

    LoadStringA(moduleInstance, IDS_TYPE_NAME, typeInfo.name, sizeof typeInfo.name);
    LoadStringA(moduleInstance, IDS_TYPE_DESCRIPTION, typeInfo.description, sizeof typeInfo.description);
    // Loaded once: a repeated initialisation would otherwise leak the first pair.
    if (!typeInfo.colorBitmap)
        typeInfo.colorBitmap = LoadBitmapA(moduleInstance, MAKEINTRESOURCEA(IDB_TYPE_COLOR));
    if (!typeInfo.monoBitmap)
        typeInfo.monoBitmap = LoadBitmapA(moduleInstance, MAKEINTRESOURCEA(IDB_TYPE_MONO));

    *typeInfoSlot = &typeInfo;
    return typeInfoSlot;
}

extern "C" HWND WINAPI VideoPokerToolCreate(HWND parent, const RECT *rect, const void *savedState,
                                            DWORD savedSize, LPARAM /*reserved*/)
{
    // A class this load could not register may still exist from an earlier load, pointing at code
    // that is gone: making a window of it would run that code.
    if (!toolClassRegistered || !cardClassRegistered || !displayClassRegistered)
        return nullptr;
    return CreateVideoPokerTool(parent, rect, savedState, savedSize);
}

extern "C" void WINAPI VideoPokerToolCleanup(LPARAM /*reserved*/)
{
}
