// resource_ids.h: every resource, string, control and command id of the module, grouped by kind.
#pragma once

#include "host/video_poker.h"

/* Bitmaps of the panel-type descriptor */
#define IDB_TYPE_COLOR              110
#define IDB_TYPE_MONO               111

/* Dialog templates */
#define IDD_PROPERTIES_PAGE         112
#define IDD_ABOUT                   125

/* Commands of the context menu and the properties page */
#define IDM_PROPERTIES              113
#define IDM_ABOUT                   119

/* Strings */
#define IDS_PROPERTIES_ITEM         114
#define IDS_TYPE_NAME               116
#define IDS_TYPE_DESCRIPTION        118
#define IDS_ABOUT_ITEM              120
#define IDS_COPYRIGHT               122
#define IDS_AUTHOR                  124
#define IDS_FONT_FACE               125
#define IDS_BET_ONE                 126
#define IDS_BET_FIVE                127
#define IDS_DEAL                    128
#define IDS_DRAW                    129
#define IDS_TITLE                   130     /* also the result line with no paying hand */
#define IDS_HAND_FIRST              131     /* 131..139: name of HandRank r is IDS_TITLE + r */
#define IDS_WAGER_PREFIX            140
#define IDS_CREDITS_PREFIX          141
#define IDS_NEW_GAME                142
#define IDS_COINS_PLAYED            143

/* Tool buttons: control ids and the commands they send */
#define IDC_BET_ONE                 VIDEO_POKER_BET_ONE_ID
#define IDC_BET_FIVE                VIDEO_POKER_BET_FIVE_ID
#define IDC_DEAL_DRAW               VIDEO_POKER_DEAL_DRAW_ID

/* About dialog controls */
#define IDC_ABOUT_NAME              115
#define IDC_ABOUT_COPYRIGHT         121
#define IDC_ABOUT_AUTHOR            123

/* Properties page controls */
#define IDC_NEW_GAME                1048
#define IDC_COINS_PLAYED            1050
#define IDC_HAND_NAME_FIRST         1058    /* 1058..1066: Royal Flush .. Jacks or Better */
#define IDC_HAND_NAME_LAST          1066

/* Card artwork: METAFILE resources */
#define IDA_FIRST                   231
#define IDA_BLACK_RANK_FIRST        231     /* 231..243: two .. ace, black */
#define IDA_RED_RANK_FIRST          244     /* 244..256: two .. ace, red */
#define IDA_SUIT_FIRST              257     /* 257..260: club, diamond, heart, spade */
#define IDA_HOLD_MARKER             261
#define IDA_LAST                    261
#define IDA_COUNT                   31
