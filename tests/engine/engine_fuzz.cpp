// engine_fuzz.cpp: restores arbitrary blocks and presses the tool's buttons at random over a view that checks every call.
#include "engine/game.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#define CHECK(condition)                                                                  \
    do {                                                                                  \
        if (!(condition)) {                                                               \
            fprintf(stderr, "engine_fuzz: %s fails at line %d\n", #condition, __LINE__);  \
            abort();                                                                      \
        }                                                                                 \
    } while (0)

static int64_t fuzzSeconds;
static int64_t FuzzClock() { return fuzzSeconds; }

// Texts longer than any buffer, so every composed line is cut where the tool cuts it.
static const char *FuzzText(int stringId)
{
    if (stringId == TextDeal || stringId == TextDraw)
        return "caption";
    if (stringId >= TextTitle && stringId <= TextCreditsPrefix)
        return "a text of the string table that runs on well past every buffer of the tool ";
    return nullptr;
}

// Checks each call, and keeps the buttons' states as the tool does: they gate the presses below.
struct CheckingView : GameView {
    VideoPokerGame *game = nullptr;
    bool enabled[3] = {};
    int clickDepth = 0;

    void SetDisplayText(int display, const char *text) override
    {
        CHECK(display >= 0 && display < 3);
        CHECK(text != nullptr && strlen(text) < 60);
    }
    void RepaintCard(int position, bool) override { CHECK(position >= 0 && position < HandSize); }
    void EnableButton(int button, bool on) override
    {
        CHECK(button >= 0 && button < 3);
        enabled[button] = on;
    }
    void SetDealDrawLabel(GameText stringId) override { CHECK(stringId == TextDeal || stringId == TextDraw); }
    void ClickDealDraw() override
    {
        CHECK(clickDepth == 0);
        if (!enabled[DealDrawButton])
            return;
        ++clickDepth;
        DealOrDraw(*game, *this);
        --clickDepth;
    }
    int LoadText(GameText stringId, char *buffer, int size) override
    {
        const char *text = FuzzText(stringId);
        CHECK(text != nullptr);
        CHECK(size > 0);
        int length = static_cast<int>(strlen(text));
        if (length > size - 1)
            length = size - 1;
        memcpy(buffer, text, length);
        buffer[length] = '\0';
        return length;
    }
};

static void CheckRecord(const VideoPokerGame &game)
{
    for (int i = 0; i < HandSize; ++i) {
        CHECK(game.held[i] <= 1);
        CHECK(game.card[i] < DeckSize);
    }
    for (int c = 0; c < DeckSize; ++c)
        CHECK(game.dealt[c] <= 1);
    CHECK(game.handComplete <= 1);
    CHECK(game.wager >= 0 && game.wager <= MaxWager);
    CHECK(game.credits >= 0);
}

static int CountOut(const VideoPokerGame &game)
{
    int count = 0;
    for (int c = 0; c < DeckSize; ++c)
        count += game.dealt[c];
    return count;
}

// A hand dealt in this run: its cards are distinct and out, with 5 cards out before the draw, 5..10 after.
static void CheckDealtHand(const VideoPokerGame &game)
{
    for (int i = 0; i < HandSize; ++i) {
        CHECK(game.dealt[game.card[i]] == 1);
        for (int j = 0; j < i; ++j)
            CHECK(game.card[i] != game.card[j]);
    }
    int out = CountOut(game);
    if (game.handComplete == 0)
        CHECK(out == HandSize);
    else
        CHECK(out >= HandSize && out <= 2 * HandSize);
}

static int64_t Purse(const VideoPokerGame &game)
{
    return static_cast<int64_t>(game.credits) + game.wager;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzSeconds = 1733400000;
    SetGameClock(FuzzClock);
    SeedRandom(1);

    VideoPokerGame game;
    memset(&game, 0, sizeof game);
    // A shorter input is a block of another size, which starts a fresh game; it is all presses.
    InitGameRecord(game, data, size < GameRecordSize ? size : GameRecordSize);
    CheckRecord(game);
    CheckingView view;
    view.game = &game;
    ShowGameState(game, view);

    size_t at = size < GameRecordSize ? 0 : GameRecordSize;
    bool isOurHand = false;           // dealt in this run since the last restore
    while (at < size) {
        uint8_t op = data[at++];
        int argument = op >> 3;
        int64_t purseBefore = Purse(game);
        bool wasWaiting = game.handComplete == 0;
        int32_t wagerBefore = game.wager;
        int32_t creditsBefore = game.credits;
        switch (op & 7) {
        case 0:
            if (view.enabled[BetOneButton])
                BetOne(game, view);
            break;
        case 1:
            if (view.enabled[BetFiveButton])
                BetFive(game, view);
            break;
        case 2:
            if (view.enabled[DealDrawButton])
                DealOrDraw(game, view);
            break;
        case 3:
            ToggleHold(game, view, argument % 7 - 1);     // -1 and 5 are no card
            break;
        case 4:
            NewGame(game, view);
            break;
        case 5:
            if (size - at >= static_cast<size_t>(GameRecordSize)) {
                RestoreGameRecord(game, data + at);     // the buttons keep what they showed
                at += GameRecordSize;
                isOurHand = false;
            }
            break;
        case 6:
            fuzzSeconds += argument;
            break;
        case 7:
            ShowGameState(game, view);
            break;
        }
        CheckRecord(game);

        bool dealtNow = (op & 7) <= 2 && !wasWaiting && game.handComplete == 0;
        bool drewNow = wasWaiting && game.handComplete != 0 && (op & 7) != 4 && (op & 7) != 5;
        if (dealtNow) {
            CHECK(game.wager > 0);                      // a hand dealt with no coins strands the purse
            isOurHand = true;
        }
        if (isOurHand && (op & 7) != 4)
            CheckDealtHand(game);
        if (drewNow) {
            int64_t paid = PayoutFor(EvaluateHand(game), wagerBefore);
            int64_t expected = static_cast<int64_t>(creditsBefore) + paid;
            CHECK(game.credits == (expected > INT32_MAX ? INT32_MAX : expected));
            CHECK(game.wager == 0);
            for (int i = 0; i < HandSize; ++i)
                CHECK(game.held[i] == 0);
        } else if ((op & 7) <= 2) {
            CHECK(Purse(game) == purseBefore);          // betting and dealing only move coins
        }
        if ((op & 7) == 4) {
            CHECK(game.credits == FreshCredits && game.wager == 0 && game.handComplete == 1);
            isOurHand = false;
        }
    }
    SetGameClock(nullptr);
    return 0;
}
