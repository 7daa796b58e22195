// game.h: the game record, cards, evaluation, pay table and the play of a hand over a GameView.
#pragma once

#include <cstddef>
#include <cstdint>

// ---- Cards ----
typedef uint8_t Card;                 // 0..51: suit = card / 13, rank = card % 13

enum Suit : int { Clubs = 0, Diamonds = 1, Hearts = 2, Spades = 3 };

enum CardRank : int {
    Two = 0, Three, Four, Five, Six, Seven, Eight, Nine, Ten, Jack, Queen, King, Ace
};

constexpr int DeckSize = 52;
constexpr int HandSize = 5;

inline Suit SuitOf(Card card) { return static_cast<Suit>(card / 13); }
inline CardRank RankOf(Card card) { return static_cast<CardRank>(card % 13); }

// ---- The game record: the 72-byte block the host saves ----
constexpr int GameRecordSize = 72;
constexpr int32_t MaxWager = 5;       // a wager that reaches it deals at once
constexpr int32_t FreshCredits = 100; // the purse of a fresh game and of NewGame

struct VideoPokerGame {
    uint8_t held[HandSize];           // 1: the card stays at the draw
    Card card[HandSize];              // the cards on show, left to right
    uint8_t dealt[DeckSize];          // 1: the card has come out in the current hand
    uint8_t handComplete;             // nonzero: between hands; 0: waiting for the draw
    uint8_t reserved;                 // alignment byte, saved and restored, never read
    int32_t wager;                    // coins bet, already out of the purse
    int32_t credits;                  // coins in the purse
};

static_assert(sizeof(VideoPokerGame) == GameRecordSize, "the saved block is 72 bytes");
static_assert(offsetof(VideoPokerGame, held) == 0, "saved layout");
static_assert(offsetof(VideoPokerGame, card) == 5, "saved layout");
static_assert(offsetof(VideoPokerGame, dealt) == 10, "saved layout");
static_assert(offsetof(VideoPokerGame, handComplete) == 62, "saved layout");
static_assert(offsetof(VideoPokerGame, reserved) == 63, "saved layout");
static_assert(offsetof(VideoPokerGame, wager) == 64, "saved layout");
static_assert(offsetof(VideoPokerGame, credits) == 68, "saved layout");

void InitFreshGame(VideoPokerGame &game);
// Takes the host's block only when it is present and exactly 72 bytes; otherwise a fresh game.
void InitGameRecord(VideoPokerGame &game, const void *block, size_t size);
// Overwrites the record from a 72-byte block (the host's set-state message).
void RestoreGameRecord(VideoPokerGame &game, const void *block);
// Brings every field of a damaged block back into its range (flags 0/1, five distinct cards 0..51,
// wager 0..5, credits >= 0), keeping the purse; a block already in range is left byte for byte. True if it
// changed anything. InitGameRecord and RestoreGameRecord apply it to every block they take.
bool RepairGameRecord(VideoPokerGame &game);

// ---- Evaluation and pay table ----
typedef int32_t HandRank;             // 0 no paying hand, 1 royal flush .. 9 jacks or better
enum : HandRank {
    NoHand = 0, RoyalFlush = 1, StraightFlush = 2, FourOfAKind = 3, FullHouse = 4, Flush = 5,
    Straight = 6, ThreeOfAKind = 7, TwoPair = 8, JacksOrBetter = 9
};

HandRank EvaluateHand(const VideoPokerGame &game);
HandRank EvaluateCards(const Card cards[HandSize]);   // the same rule over five loose cards
int32_t PayoutFor(HandRank rank, int32_t coins);

// ---- The view: the engine's only way out to the screen ----
enum GameDisplay { WagerDisplay = 0, CreditsDisplay = 1, ResultDisplay = 2 };
enum GameButton { BetOneButton = 0, BetFiveButton = 1, DealDrawButton = 2 };
// The words the rules put on show; the view finds each in its own texts. A hand's name is the HandRank
// itself (NoHand: the title), so the texts run TextTitle .. TextTitle + JacksOrBetter, then the rest.
enum GameText : int {
    TextTitle = 0, TextWagerPrefix = JacksOrBetter + 1, TextCreditsPrefix, TextDeal, TextDraw
};
constexpr GameText HandNameText(HandRank rank) { return static_cast<GameText>(TextTitle + rank); }

struct GameView {
    virtual void SetDisplayText(int display, const char *text) = 0;
    virtual void RepaintCard(int position, bool erase) = 0;
    virtual void EnableButton(int button, bool on) = 0;
    virtual void SetDealDrawLabel(GameText label) = 0;
    virtual void ClickDealDraw() = 0;
    // Copies the text into buffer (size bytes, always terminated); returns its length.
    virtual int LoadText(GameText text, char *buffer, int size) = 0;
protected:
    ~GameView() = default;
};

// ---- Play of a hand ----
void BetOne(VideoPokerGame &game, GameView &view);
void BetFive(VideoPokerGame &game, GameView &view);
void DealOrDraw(VideoPokerGame &game, GameView &view);
void ToggleHold(VideoPokerGame &game, GameView &view, int position);
void NewGame(VideoPokerGame &game, GameView &view);
void SetWager(VideoPokerGame &game, GameView &view, int32_t value);
void SetCredits(VideoPokerGame &game, GameView &view, int32_t value);
void ShowResult(VideoPokerGame &game, GameView &view, HandRank rank);
void ShowGameState(VideoPokerGame &game, GameView &view);
// Enables the three buttons as the record alone says: bets between hands within the purse,
// Deal with coins on the table, Draw whenever a hand waits.
void EnableButtonsFor(const VideoPokerGame &game, GameView &view);
Card PickCard(VideoPokerGame &game);

// ---- Random source: one generator shared by every tool of the module ----
// The C runtime's formula, so every platform deals the same cards for the same second.
void SeedRandom(uint32_t seed);
int NextRandom();                     // 0..32767
int ScaleRandom(int value, int n);    // MulDiv(value, n, 32767), rounded to nearest
typedef int64_t (*GameClock)();
void SetGameClock(GameClock clock);   // null restores the real clock (time())
int64_t GameTime();
