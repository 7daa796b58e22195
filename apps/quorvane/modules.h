// modules.h: the panel types the host finds in the modules it loads.
#pragma once

#include "apps/quorvane/host_state.h"

void LoadPanelTypes();
int FindType(const std::string &moduleFile, const std::string &typeName);
