// commands.h: the menus, the accelerators and what each command does.
#pragma once

#include "apps/quorvane/host_state.h"

HMENU BuildMenu();
HACCEL BuildAccelerators();
void EnableToolCommands(HMENU menu);
void RebuildAddToolMenu();
void HandleCommand(int command);
