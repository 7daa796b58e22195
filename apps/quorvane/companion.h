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
// through the status line, and keeps its settings in host.settings, saving them with SaveSoon. What it
// keeps beyond settings lives in tables of its own in the panel's store (store.h): it makes or upgrades
// them when the store opens, and writes its rows inside the host's save, one transaction for both.
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

class Store;

// The panel's store is open: the companion makes or upgrades its tables and reads what it keeps.
void CompanionOpenStore(Store &store);
// A panel file of an older host is being imported into a new store, inside the import's transaction:
// the companion imports its own file beside it (panelFile + its suffix). False rolls the import back.
bool CompanionImport(Store &store, const std::string &panelFile);
// Play added something the store does not hold yet.
bool CompanionHasUnsaved();
// Inside the host's save transaction: the companion writes its rows; false rolls the whole save back.
bool CompanionSave(Store &store);
// The save's transaction ended: committed, or rolled back (the companion keeps its rows for the next).
void CompanionSaveEnded(bool committed);
// --export PATH: the companion writes what it keeps as text beside the panel's (PATH + its suffix).
bool CompanionExport(const std::string &panelTextPath);

// --screenshot-of WHAT: opens the companion's window of that name and returns it; null for none.
HWND CompanionOpenWindow(const std::string &what);
#endif
