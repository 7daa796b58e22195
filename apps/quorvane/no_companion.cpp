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

HWND CompanionOpenWindow(const std::string &)
{
    return nullptr;
}
