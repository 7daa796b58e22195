// play.cpp: betting, dealing, holding, drawing and paying one hand, told to the screen through a GameView.
#include "engine/game.h"

#include <climits>

constexpr int DisplayTextBytes = 60;  // a display keeps at most 59 characters
constexpr int LabelBytes = 32;        // a prefix or hand name, with room left for its number

// A pick that keeps missing the few cards left is cut short by a scan; never reached while fewer
// than a dozen cards are out, as in every hand that is played here.
constexpr int MaxPickTries = 1 << 16;

// A display line, built in a fixed buffer and cut at its end. No printf: the module stays small.
struct TextLine {
    char text[DisplayTextBytes];
    int length;
};

static void Append(TextLine &line, const char *text)
{
    while (*text != '\0' && line.length < DisplayTextBytes - 1)
        line.text[line.length++] = *text++;
    line.text[line.length] = '\0';
}

static void AppendNumber(TextLine &line, int32_t value)
{
    char digits[12];
    int count = 0;
    uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    char text[13];
    int length = 0;
    if (value < 0)
        text[length++] = '-';
    while (count > 0)
        text[length++] = digits[--count];
    text[length] = '\0';
    Append(line, text);
}

static void AppendString(TextLine &line, GameView &view, GameText text)
{
    char words[LabelBytes] = "";      // a text the view lacks may leave the buffer untouched
    view.LoadText(text, words, sizeof words);
    words[LabelBytes - 1] = '\0';
    Append(line, words);
}

static void ShowNumber(GameView &view, int display, GameText prefix, int32_t value)
{
    TextLine line = {};
    AppendString(line, view, prefix);
    AppendNumber(line, value);
    view.SetDisplayText(display, line.text);
}

void SetWager(VideoPokerGame &game, GameView &view, int32_t value)
{
    game.wager = value;
    ShowNumber(view, WagerDisplay, TextWagerPrefix, value);
}

void SetCredits(VideoPokerGame &game, GameView &view, int32_t value)
{
    game.credits = value;
    ShowNumber(view, CreditsDisplay, TextCreditsPrefix, value);
}

void ShowResult(VideoPokerGame &game, GameView &view, HandRank rank)
{
    if (rank < RoyalFlush || rank > JacksOrBetter)
        rank = NoHand;                // only the nine paying hands have a name
    TextLine line = {};
    AppendString(line, view, HandNameText(rank));
    if (rank != NoHand) {
        Append(line, " : ");
        AppendNumber(line, PayoutFor(rank, game.wager));
    }
    view.SetDisplayText(ResultDisplay, line.text);
}

static bool IsDeckExhausted(const VideoPokerGame &game)
{
    for (int c = 0; c < DeckSize; ++c)
        if (game.dealt[c] == 0)
            return false;
    return true;
}

Card PickCard(VideoPokerGame &game)
{
    if (IsDeckExhausted(game)) {
        // Only a damaged block marks every card out. Gather the deck back, all but the cards on
        // show, rather than spin for ever.
        for (int c = 0; c < DeckSize; ++c)
            game.dealt[c] = 0;
        for (int i = 0; i < HandSize; ++i)
            if (game.card[i] < DeckSize)
                game.dealt[game.card[i]] = 1;
    }
    int c = 0;
    for (int tries = 0; tries < MaxPickTries; ++tries) {
        int r = ScaleRandom(NextRandom(), 7);
        for (int discard = r; discard < 7; ++discard)
            NextRandom();
        c = ScaleRandom(NextRandom(), 51);
        if (game.dealt[c] == 0) {
            game.dealt[c] = 1;
            return static_cast<Card>(c);
        }
    }
    while (game.dealt[c] != 0)
        c = (c + 1) % DeckSize;
    game.dealt[c] = 1;
    return static_cast<Card>(c);
}

void EnableButtonsFor(const VideoPokerGame &game, GameView &view)
{
    bool isBetween = game.handComplete != 0;
    view.EnableButton(BetOneButton, isBetween && game.credits >= 1);
    view.EnableButton(BetFiveButton, isBetween && game.credits >= MaxWager);
    // A waiting hand can always be drawn, even one restored with no coins on it: otherwise only
    // New Game would lead on, and it replaces the purse.
    view.EnableButton(DealDrawButton, game.wager != 0 || !isBetween);
}

// A bet button left on after the host restored another block must not bet on a dealt hand, beyond
// five coins or with coins the purse does not hold; such a press only puts the buttons right.
static bool CanBetACoin(const VideoPokerGame &game)
{
    return game.handComplete != 0 && game.wager < MaxWager && game.credits >= 1;
}

void BetOne(VideoPokerGame &game, GameView &view)
{
    if (game.handComplete != 0 && game.wager >= MaxWager) {
        // The wager is already full (a restored block): deal, as the fifth coin would have.
        view.EnableButton(DealDrawButton, true);
        view.ClickDealDraw();
        return;
    }
    if (!CanBetACoin(game)) {
        EnableButtonsFor(game, view);
        return;
    }
    SetWager(game, view, game.wager + 1);
    SetCredits(game, view, game.credits - 1);
    view.EnableButton(DealDrawButton, true);
    view.EnableButton(BetOneButton, game.credits >= 1);
    if (game.wager == MaxWager)
        view.ClickDealDraw();
}

void BetFive(VideoPokerGame &game, GameView &view)
{
    if (game.handComplete == 0 || (game.wager == 0 && game.credits < 1)) {
        EnableButtonsFor(game, view);
        return;
    }
    while (game.wager < MaxWager && game.credits >= 1) {
        SetWager(game, view, game.wager + 1);
        SetCredits(game, view, game.credits - 1);
    }
    view.EnableButton(DealDrawButton, true);
    view.ClickDealDraw();
}

static void Deal(VideoPokerGame &game, GameView &view)
{
    for (int c = 0; c < DeckSize; ++c)
        game.dealt[c] = 0;
    SeedRandom(static_cast<uint32_t>(GameTime()));
    for (int i = 0; i < HandSize; ++i) {
        game.card[i] = PickCard(game);
        view.RepaintCard(i, true);
    }
    game.handComplete = 0;
    view.SetDealDrawLabel(TextDraw);
}

static int32_t AddCoins(int32_t purse, int32_t coins)
{
    int64_t sum = static_cast<int64_t>(purse) + coins;
    return sum > INT32_MAX ? INT32_MAX : static_cast<int32_t>(sum);
}

static void Draw(VideoPokerGame &game, GameView &view)
{
    // Every hand dealt here has its cards marked already; a restored one may not, and then the
    // draw could bring back a card that is still on show.
    for (int i = 0; i < HandSize; ++i)
        if (game.card[i] < DeckSize)
            game.dealt[game.card[i]] = 1;

    for (int i = 0; i < HandSize; ++i) {
        if (game.held[i] == 0) {
            SeedRandom(static_cast<uint32_t>(GameTime()));
            game.card[i] = PickCard(game);
        }
        game.held[i] = 0;
        view.RepaintCard(i, true);
    }
    HandRank rank = EvaluateHand(game);
    game.handComplete = 1;
    view.SetDealDrawLabel(TextDeal);
    view.EnableButton(DealDrawButton, false);
    SetCredits(game, view, AddCoins(game.credits, PayoutFor(rank, game.wager)));
    ShowResult(game, view, rank);
    SetWager(game, view, 0);
    view.EnableButton(BetOneButton, game.credits >= 1);
    view.EnableButton(BetFiveButton, game.credits >= MaxWager);
}

void DealOrDraw(VideoPokerGame &game, GameView &view)
{
    if (game.handComplete != 0 && game.wager == 0) {
        // A Deal left enabled by a restored block: a hand dealt with no coins would be stranded.
        EnableButtonsFor(game, view);
        return;
    }
    ShowResult(game, view, NoHand);
    view.EnableButton(BetOneButton, false);
    view.EnableButton(BetFiveButton, false);
    if (game.handComplete != 0)
        Deal(game, view);
    else
        Draw(game, view);
}

void ToggleHold(VideoPokerGame &game, GameView &view, int position)
{
    if (game.handComplete != 0 || position < 0 || position >= HandSize)
        return;
    game.held[position] = game.held[position] == 0 ? 1 : 0;
    view.RepaintCard(position, game.held[position] == 0);
}

void NewGame(VideoPokerGame &game, GameView &view)
{
    SetWager(game, view, 0);          // the coins on the table are not returned
    SetCredits(game, view, FreshCredits);
    ShowResult(game, view, NoHand);
    for (int i = 0; i < HandSize; ++i) {
        game.held[i] = 0;
        view.RepaintCard(i, true);
    }
    game.handComplete = 1;
    view.SetDealDrawLabel(TextDeal);
    view.EnableButton(BetOneButton, true);
    view.EnableButton(BetFiveButton, true);
    view.EnableButton(DealDrawButton, false);
}

void ShowGameState(VideoPokerGame &game, GameView &view)
{
    SetWager(game, view, game.wager);
    SetCredits(game, view, game.credits);
    ShowResult(game, view, NoHand);
    view.SetDealDrawLabel(game.handComplete != 0 ? TextDeal : TextDraw);
    EnableButtonsFor(game, view);
}
