// command_ids.h: the host's command ids, shared by its menus and keys (menus.rc), its code, and the
// programs that drive it from outside; also the ids of those resources. Plain defines, so that the
// resource compiler reads it too. A companion's commands are numbered from 1200 up.
#pragma once

// Commands (menu items, keys, and what tests send).
#define CmdAddFirstType 1000        // 1000 + type index: add a tool of that type
#define CmdRemoveTool 1100
#define CmdProperties 1101
#define CmdSaveNow 1102
#define CmdExit 1103
#define CmdSelectNext 1104
#define CmdSelectPrevious 1105
#define CmdLarger 1106
#define CmdSmaller 1107
#define CmdDefaultSize 1108
#define CmdMoveLeft 1109
#define CmdMoveRight 1110
#define CmdMoveUp 1111
#define CmdMoveDown 1112
#define CmdBringToFront 1113
#define CmdKeysHelp 1114
#define CmdAbout 1115
#define CmdNextButton 1116
#define CmdPreviousButton 1117
#define CmdPressButton 1118
#define CmdKeysToPlay 1119         // Escape: the keys leave the tools' buttons and play again
#define CmdCompanionItems 1199      // marks where a companion's menu items go (companion.h)

// Resources (menus.rc).
#define IDR_MAIN_MENU 100           // the menu bar
#define IDR_TOOL_MENU 101           // a right click on a tool's tab
#define IDR_PANEL_MENU 102          // a right click on the felt
#define IDR_KEYS 100                // the accelerator table
#define IDS_KEYS_HELP_FIRST 2000    // F1's text: one line a string, in the order of their ids
#define IDS_KEYS_HELP_LAST 2099
