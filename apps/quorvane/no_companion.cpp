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

void CompanionOpenStore(Store &)
{
}

bool CompanionImport(Store &, const std::string &)
{
    return true;
}

bool CompanionHasUnsaved()
{
    return false;
}

bool CompanionSave(Store &)
{
    return true;
}

void CompanionSaveEnded(bool)
{
}

bool CompanionExport(const std::string &)
{
    return true;
}

HWND CompanionOpenWindow(const std::string &)
{
    return nullptr;
}
