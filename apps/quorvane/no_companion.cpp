// no_companion.cpp: the host built without a companion (QUORVANE_COMPANION off): nothing is added.
#include "apps/quorvane/companion.h"

bool CompanionCommand(int)
{
    return false;
}

void CompanionMenuOpening(HMENU)
{
}

void CompanionToolsMayHaveChanged()
{
}

void CompanionSave()
{
}

HWND CompanionOpenWindow(const std::string &)
{
    return nullptr;
}
