// module_instance.h: the two instance handles every part of the module works under.
#pragma once

#include <windows.h>

extern HINSTANCE moduleInstance;    // resources are loaded from here
extern HINSTANCE hostInstance;      // classes are registered and windows created under this
