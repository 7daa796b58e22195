/* video_poker.h: the Video Poker module's public names: the ones it uses itself and a host's companion
   may rely on (its panel type's name, its window classes, its buttons, the size of its saved game).
   Plain defines, so that the resource compiler reads them too. */
#pragma once

#define VIDEO_POKER_TYPE_NAME       "Video Poker"       /* the panel type's descriptor name */
#define VIDEO_POKER_TOOL_CLASS      "VideoPokerTool"
#define VIDEO_POKER_CARD_CLASS      "VideoPokerCard"    /* five of them in each tool, left to right */
#define VIDEO_POKER_DISPLAY_CLASS   "VideoPokerDisplay"

/* The tool's buttons: their control ids and the commands they send the tool */
#define VIDEO_POKER_BET_ONE_ID      262                 /* "+1" */
#define VIDEO_POKER_BET_FIVE_ID     263                 /* "Bet 5" */
#define VIDEO_POKER_DEAL_DRAW_ID    264                 /* "Deal" / "Draw" */

#define VIDEO_POKER_BLOCK_SIZE      72                  /* bytes of the game PTM_GETSTATE hands out */
