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

const char CompanionFileSuffix[] = "";

bool CompanionPress()
{
    return false;
}

bool CompanionEscape()
{
    return false;
}

bool CompanionImport(Store &, bool, const std::string &, const std::string &)
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

std::string CompanionExportText()
{
    return "";
}

std::string CompanionWindowNames()
{
    return "";
}

std::wstring CompanionShownText(const std::string &text)
{
    std::wstring shown;
    for (char c : text)
        shown += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return shown;
}

HWND CompanionOpenWindow(const std::string &)
{
    return nullptr;
}

bool CompanionStillWorking()
{
    return false;
}
