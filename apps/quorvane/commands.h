// commands.h: the menus, the accelerators and what each command does.
#pragma once

#include "apps/quorvane/host_state.h"

// A menu of menus.rc, each item showing its key from the key table.
HMENU LoadHostMenu(int id);
HMENU BuildMenu();
HACCEL BuildAccelerators();
void EnableToolCommands(HMENU menu);
void RebuildAddToolMenu();
void HandleCommand(int command);
// Removes the tool once the person agrees, with its property window if it has one open.
void RemoveToolAsked(int number);
