// companion.h: the one interface between the host and the companion built into it (the poker trainer in
// trainer/, or no_companion.cpp when the host is built without one).
//
// The companion brings resources of its own, which the host merges at start:
//   - menu IDR_COMPANION_MENU: each popup's items go into the host's popup of the same name, where the
//     host's menus.rc marks their place with an item of id CmdCompanionItems;
//   - key table IDR_COMPANION_KEYS: added to the host's, for commands of the companion's own ids;
//   - F1 lines: strings in the host's range IDS_KEYS_HELP_FIRST to IDS_KEYS_HELP_LAST, in blocks of
//     sixteen ids of their own (a string table's unit); F1 shows every line in the order of the ids.
// The companion sees the panel, the status line, the settings and the store only through the services
// below, which the host offers; it may include the public headers of the modules it knows (such as
// host/video_poker.h), the store's interface (store.h) and the screen's scale (screen_scale.h: its
// windows are drawn at the screen's DPI, as the host's are), and nothing else of the host. What it keeps
// beyond settings lives in tables of its own in the panel's store: it makes or upgrades them when the
// store opens, and writes its rows inside the host's save, one transaction for both.
#pragma once

#define IDR_COMPANION_MENU 110
#define IDR_COMPANION_KEYS 110

#ifndef RC_INVOKED
#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>

#include "apps/quorvane/screen_scale.h"
#include "apps/quorvane/store.h"

// ---- What the companion offers the host ----

// Every command reaches the companion first: true when it carried it out (its own commands).
bool CompanionCommand(int command);
// Enter or Space: true when the companion carried it out; else the host presses the button Tab walked to.
bool CompanionPress();
// Escape: true when the companion put away a window of its own (the one shown last); else the keys
// leave the tools' buttons and play the selected tool again.
bool CompanionEscape();

// A menu is about to open: the companion checks or greys its items in it.
void CompanionMenuOpening(HMENU menu);

// The notice: after every message the host has handled, a tool's block or the selection may have
// changed (tools change themselves, so the host cannot tell which).
void CompanionToolsMayHaveChanged();

// The panel's store is open: the companion makes or upgrades its tables and reads what it keeps.
void CompanionOpenStore(Store &store);
// The suffix of the file an older host kept for the companion beside its panel file (".trainer"; empty
// for none): imported once with the panel, and written beside an --export.
extern const char CompanionFileSuffix[];
// An older host's panel is being imported into a new store, inside the import's transaction: text is its
// file (found false: there was none). False rolls the import back.
bool CompanionImport(Store &store, bool found, const std::string &text, const std::string &fileName);
// Play added something the store does not hold yet.
bool CompanionHasUnsaved();
// Inside the host's save transaction: the companion writes its rows; false rolls the whole save back.
bool CompanionSave(Store &store);
// The save's transaction ended: committed, or rolled back (the companion keeps its rows for the next).
void CompanionSaveEnded(bool committed);
// --export PATH: what the companion keeps, as text for PATH + CompanionFileSuffix.
std::string CompanionExportText();

// --screenshot-of WHAT: the names of the companion's windows ("hint, statistics" and so on), and the
// window of that name opened; null for none.
std::string CompanionWindowNames();
HWND CompanionOpenWindow(const std::string &what);
// True while work the companion's windows will show is still being done off the window's thread (so a
// screenshot waits for it).
bool CompanionStillWorking();
// The status line's text as the player should read it (the trainer shows cards with their suits).
std::wstring CompanionShownText(const std::string &text);

// ---- What the host offers the companion ----

// One tool of the panel.
struct PanelToolView {
    int number = 0;               // unique on the panel and never given twice
    std::string title;            // as its tab names it: "Video Poker 2"
    std::string typeName;         // its panel type's descriptor name
    HWND window = nullptr;
};
std::vector<PanelToolView> PanelTools();                  // bottom first
bool FindPanelTool(int number, PanelToolView *tool);
bool FindToolHolding(HWND window, PanelToolView *tool);   // the tool whose window is window or holds it
bool SelectedPanelTool(PanelToolView *tool);              // false: none is selected
int SelectedToolNumber();                                 // 0: none
std::vector<uint8_t> ToolBlock(const PanelToolView &tool);   // its block (PTM_GETSTATE); empty: none
// A press of one of a tool's buttons, as a click makes it; the panel is saved soon after.
void PressToolButton(HWND button);
// The tool button the keyboard walked to with Tab (kept while the host is inactive), or null.
HWND WalkedToolButton();

// The status line: routine news waits behind a warning in view; news now replaces even a warning.
void ShowNews(const std::string &text);
void ShowWarning(const std::string &text);
void ShowNewsNow(const std::string &text, bool warning);
void JoinWarning(const std::string &text);                // joins a warning still in view
void ClearNews(const std::string &text);                  // empties the line if it still says text
std::string StatusLineText();
RECT StatusLineOnScreen();                                // where the line is, to keep it in sight

// Settings kept in the panel's store, saved soon after a change; an empty value removes one.
std::string PanelSetting(const std::string &name);
void SetPanelSetting(const std::string &name, const std::string &value);
void SavePanelSoon();
std::string PanelStoreName();                             // the store's file name: "Quorvane.qpanel"

// For the companion's windows.
HINSTANCE HostInstance();
HWND HostMainWindow();
HFONT HostFont();
bool RegisterCompanionClass(const char *className, WNDPROC procedure, HBRUSH background = nullptr);
#endif
