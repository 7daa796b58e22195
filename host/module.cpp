// module.cpp: the module's entry callback and the two instance handles every part reads.
#include "resources/module_instance.h"

HINSTANCE moduleInstance;
HINSTANCE hostInstance;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        moduleInstance = instance;
    return TRUE;
}
