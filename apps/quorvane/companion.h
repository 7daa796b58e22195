// companion.h: the one interface between the host and the companion built into it (the poker trainer in
// trainer/, or no_companion.cpp when the host is built without one).
//
// The companion brings resources of its own, which the host merges at start:
//   - menu IDR_COMPANION_MENU: each popup's items go into the host's popup of the same name, where the
//     host's menus.rc marks their place with an item of id CmdCompanionItems;
//   - key table IDR_COMPANION_KEYS: added to the host's, for commands of the companion's own ids;
//   - F1 lines: strings in the host's range IDS_KEYS_HELP_FIRST to IDS_KEYS_HELP_LAST, in blocks of
//     sixteen ids of their own (a string table's unit); F1 shows every line in the order of the ids.
// The companion sees the panel through the host's records (host_state.h, tools.h), tells the player
// through the status line, and keeps its settings as named lines of the panel file in host.settings,
// saving them with SaveSoon; what it keeps beyond settings goes in files of its own beside the panel
// file, written when the host saves (CompanionSave).
#pragma once

#define IDR_COMPANION_MENU 110
#define IDR_COMPANION_KEYS 110

#ifndef RC_INVOKED
#include <windows.h>
#include <string>

// Every command reaches the companion first: true when it carried it out (its own commands, or a host
// command it gives a meaning of its own, such as CmdPressButton).
bool CompanionCommand(int command);

// A menu is about to open: the companion checks or greys its items in it.
void CompanionMenuOpening(HMENU menu);

// The notice: after every message the host has handled, a tool's block or the selection may have
// changed (tools change themselves, so the host cannot tell which).
void CompanionToolsMayHaveChanged();

// The host saves the panel: the companion writes the files of its own that changed (the host does not
// call it with saving off).
void CompanionSave();

// --screenshot-of WHAT: opens the companion's window of that name and returns it; null for none.
HWND CompanionOpenWindow(const std::string &what);
#endif
