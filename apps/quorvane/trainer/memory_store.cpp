// memory_store.cpp: the trainer's tables in the panel's store (see memory_store.h).
#include "apps/quorvane/trainer/memory_store.h"
#include "analysis/cards.h"

#include <algorithm>
#include <cmath>

namespace {

// Hands drawn whose valuation had not come back when the store was saved.
#define WaitingSchema                                                                                           \
    "CREATE TABLE trainer_waiting(id INTEGER PRIMARY KEY, tool INTEGER NOT NULL, even_deck INTEGER NOT NULL,"  \
    " wager INTEGER NOT NULL, paid INTEGER NOT NULL, cards TEXT NOT NULL, held INTEGER NOT NULL);"

// Lifetimes by tool (0: the whole panel, removed tools included); hands and mistakes oldest first by id.
const char TrainerSchema[] =
    "CREATE TABLE trainer_lifetimes(tool INTEGER PRIMARY KEY, hands INTEGER NOT NULL, coins_bet INTEGER NOT NULL,"
    " coins_won INTEGER NOT NULL, yours_worth REAL NOT NULL, best_worth REAL NOT NULL,"
    " best_taken INTEGER NOT NULL, mistakes INTEGER NOT NULL, mistakes_cost REAL NOT NULL);"
    "CREATE TABLE trainer_hands(id INTEGER PRIMARY KEY, tool INTEGER NOT NULL, wager INTEGER NOT NULL,"
    " paid INTEGER NOT NULL, best_worth REAL NOT NULL, even_deck INTEGER NOT NULL);"
    "CREATE TABLE trainer_mistakes(id INTEGER PRIMARY KEY, tool INTEGER NOT NULL, even_deck INTEGER NOT NULL,"
    " wager INTEGER NOT NULL, cost REAL NOT NULL, cards TEXT NOT NULL, held INTEGER NOT NULL,"
    " best INTEGER NOT NULL);"
    WaitingSchema;

constexpr int64_t MaxCoins = 1000000000000000;

bool Coins(double value)
{
    return std::isfinite(value) && value >= 0 && value <= static_cast<double>(MaxCoins);
}

bool SummaryFits(const PlaySummary &s)
{
    return s.hands >= 0 && s.coinsBet >= 0 && s.coinsBet <= MaxCoins && s.coinsWon >= 0 && s.coinsWon <= MaxCoins &&
           Coins(s.yourHoldsWorth) && Coins(s.bestHoldsWorth) && Coins(s.mistakesCost) && s.bestHoldTaken >= 0 &&
           s.mistakes >= 0 && static_cast<int64_t>(s.bestHoldTaken) + s.mistakes <= s.hands;
}

std::string CardsText(const Card *cards)
{
    std::string text;
    for (int i = 0; i < HandSize; ++i)
        text += (i ? " " : "") + CardName(cards[i]);
    return text;
}

bool ReadCards(const std::string &text, Card *cards)
{
    if (text.size() != HandSize * 3 - 1)
        return false;
    for (int i = 0; i < HandSize; ++i) {
        int card = ParseCard(text.c_str() + 3 * i, 2);
        if (card < 0 || std::find(cards, cards + i, static_cast<Card>(card)) != cards + i)
            return false;
        cards[i] = static_cast<Card>(card);
    }
    return true;
}

bool InsertHand(Statement &insert, const HandPoint &h)
{
    insert.Reset();
    return insert.Bind(int64_t(h.toolNumber)).Bind(int64_t(h.wager)).Bind(int64_t(h.paid)).Bind(h.bestWorth)
        .Bind(int64_t(h.evenDeck)).Run();
}

bool InsertMistake(Statement &insert, const RememberedMistake &m)
{
    insert.Reset();
    return insert.Bind(int64_t(m.toolNumber)).Bind(int64_t(m.evenDeck)).Bind(int64_t(m.wager)).Bind(m.cost)
        .Bind(CardsText(m.cards)).Bind(int64_t(m.heldMask)).Bind(int64_t(m.bestMask)).Run();
}

bool WriteLifetime(Statement &upsert, int tool, const PlaySummary &s)
{
    upsert.Reset();
    return upsert.Bind(int64_t(tool)).Bind(int64_t(s.hands)).Bind(int64_t(s.coinsBet)).Bind(int64_t(s.coinsWon))
        .Bind(s.yourHoldsWorth).Bind(s.bestHoldsWorth).Bind(int64_t(s.bestHoldTaken)).Bind(int64_t(s.mistakes))
        .Bind(s.mistakesCost).Run();
}

const char InsertHandSql[] = "INSERT INTO trainer_hands(tool, wager, paid, best_worth, even_deck) VALUES (?, ?, ?, ?, ?)";
const char InsertMistakeSql[] =
    "INSERT INTO trainer_mistakes(tool, even_deck, wager, cost, cards, held, best) VALUES (?, ?, ?, ?, ?, ?, ?)";
const char WriteLifetimeSql[] = "INSERT OR REPLACE INTO trainer_lifetimes VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)";

bool ReadLifetimes(Store &store, TrainerMemory *memory, int *badRows)
{
    Statement lifetimes(store.Db(), "SELECT tool, hands, coins_bet, coins_won, yours_worth, best_worth, best_taken,"
                                    " mistakes, mistakes_cost FROM trainer_lifetimes");
    auto count = [&](int column) {
        return static_cast<int>(std::min<int64_t>(std::max<int64_t>(lifetimes.Int(column), -1), INT32_MAX));
    };
    while (lifetimes.Row()) {
        PlaySummary s;
        const int64_t tool = lifetimes.Int(0);
        s.hands = count(1);
        s.coinsBet = lifetimes.Int(2);
        s.coinsWon = lifetimes.Int(3);
        s.yourHoldsWorth = lifetimes.Real(4);
        s.bestHoldsWorth = lifetimes.Real(5);
        s.bestHoldTaken = count(6);
        s.mistakes = count(7);
        s.mistakesCost = lifetimes.Real(8);
        if (tool < 0 || tool > INT32_MAX || lifetimes.Int(1) > INT32_MAX || !SummaryFits(s))
            ++*badRows;
        else if (tool == 0)
            memory->panel = s;
        else
            memory->tools[static_cast<int>(tool)] = s;
    }
    return !lifetimes.Failed();
}

// The newest up to the caps, oldest first.
bool ReadHands(Store &store, TrainerMemory *memory, int *badRows)
{
    Statement hands(store.Db(), "SELECT tool, wager, paid, best_worth, even_deck FROM"
                                " (SELECT * FROM trainer_hands ORDER BY id DESC LIMIT ?) ORDER BY id");
    hands.Bind(int64_t(MaxHandPoints));
    while (hands.Row()) {
        HandPoint h;
        int64_t tool = hands.Int(0), wager = hands.Int(1), paid = hands.Int(2);
        h.bestWorth = hands.Real(3);
        h.evenDeck = hands.Int(4) != 0;
        if (tool < 0 || tool > INT32_MAX || wager < 1 || wager > MaxWager || paid < 0 || paid > 1000000 ||
            !Coins(h.bestWorth)) {
            ++*badRows;
            continue;
        }
        h.toolNumber = static_cast<int>(tool);
        h.wager = static_cast<int32_t>(wager);
        h.paid = static_cast<int32_t>(paid);
        memory->hands.push_back(h);
    }
    return !hands.Failed();
}

bool ReadMistakes(Store &store, TrainerMemory *memory, int *badRows)
{
    Statement mistakes(store.Db(), "SELECT tool, even_deck, wager, cost, cards, held, best FROM"
                                   " (SELECT * FROM trainer_mistakes ORDER BY id DESC LIMIT ?) ORDER BY id");
    mistakes.Bind(int64_t(MaxRememberedMistakes));
    while (mistakes.Row()) {
        RememberedMistake m;
        int64_t tool = mistakes.Int(0), wager = mistakes.Int(2), held = mistakes.Int(5), best = mistakes.Int(6);
        m.evenDeck = mistakes.Int(1) != 0;
        m.cost = mistakes.Real(3);
        if (tool < 0 || tool > INT32_MAX || wager < 1 || wager > MaxWager || !Coins(m.cost) || m.cost <= 0 ||
            held < 0 || held > 31 || best < 0 || best > 31 || held == best || !ReadCards(mistakes.Text(4), m.cards)) {
            ++*badRows;
            continue;
        }
        m.toolNumber = static_cast<int>(tool);
        m.wager = static_cast<int32_t>(wager);
        m.heldMask = static_cast<uint8_t>(held);
        m.bestMask = static_cast<uint8_t>(best);
        memory->mistakes.push_back(m);
    }
    return !mistakes.Failed();
}

} // namespace

void NoteDrawn(MemoryChanges &changes, const HandToValue &hand)
{
    changes.drawn.push_back(hand);
}

void RememberAndNote(TrainerMemory &memory, MemoryChanges &changes, const HandToValue &drawn, const JudgedHand &judged)
{
    auto unsaved = std::find_if(changes.drawn.begin(), changes.drawn.end(),
                                [&](const HandToValue &h) { return h.id == drawn.id; });
    if (unsaved != changes.drawn.end())
        changes.drawn.erase(unsaved);
    else
        changes.valued.insert(drawn.id);
    const int toolNumber = drawn.toolNumber;
    size_t handsBefore = memory.hands.size(), mistakesBefore = memory.mistakes.size();
    bool handsFull = handsBefore == MaxHandPoints, mistakesFull = mistakesBefore == MaxRememberedMistakes;
    Remember(memory, toolNumber, judged);
    changes.lifetimes.insert(0);
    changes.lifetimes.insert(toolNumber);
    // A new entry is the list's last whether or not the oldest made room for it.
    if (memory.hands.size() > handsBefore || (handsFull && judged.analysed))
        changes.hands.push_back(memory.hands.back());
    if (memory.mistakes.size() > mistakesBefore || (mistakesFull && judged.analysed && judged.isMistake))
        changes.mistakes.push_back(memory.mistakes.back());
}

void ForgetAndNote(TrainerMemory &memory, MemoryChanges &changes, int toolNumber)
{
    ForgetTool(memory, toolNumber);
    changes.lifetimes.erase(toolNumber);
    changes.forgotten.insert(toolNumber);
}

bool MakeTrainerTables(Store &store, std::string *why)
{
    int version = store.TablesVersion(TrainerTablesOwner);
    if (version > TrainerTablesVersion) {
        *why = "kept by a newer Quorvane";
        return false;
    }
    if (version == TrainerTablesVersion)
        return true;
    bool made = store.Begin() &&
                (version == 1 ? store.Exec(WaitingSchema) && store.SetTablesVersion(TrainerTablesOwner, TrainerTablesVersion)
                              : CreateTrainerTables(store)) &&
                store.Commit();
    if (!made) {
        *why = store.Error();
        store.Rollback();
    }
    return made;
}

bool CreateTrainerTables(Store &store)
{
    return store.Exec(TrainerSchema) && store.SetTablesVersion(TrainerTablesOwner, TrainerTablesVersion);
}

bool ReadTrainerMemory(Store &store, TrainerMemory *memory, int *badRows)
{
    *memory = TrainerMemory();
    *badRows = 0;
    bool lifetimes = ReadLifetimes(store, memory, badRows), hands = ReadHands(store, memory, badRows);
    return ReadMistakes(store, memory, badRows) && lifetimes && hands;
}

bool ReadWaitingHands(Store &store, std::vector<HandToValue> *hands, int64_t *lastId, int *badRows)
{
    Statement last(store.Db(), "SELECT coalesce(max(id), 0) FROM trainer_waiting");
    if (!last.Row())
        return false;
    *lastId = last.Int(0);
    Statement waiting(store.Db(), "SELECT id, tool, even_deck, wager, paid, cards, held FROM trainer_waiting ORDER BY id");
    while (waiting.Row()) {
        HandToValue h;
        int64_t tool = waiting.Int(1), wager = waiting.Int(3), paid = waiting.Int(4), held = waiting.Int(6);
        h.id = waiting.Int(0);
        h.evenDeck = waiting.Int(2) != 0;
        if (tool < 0 || tool > INT32_MAX || wager < 1 || wager > MaxWager || paid < 0 || paid > 1000000 || held < 0 ||
            held > 31 || !ReadCards(waiting.Text(5), h.hand.cards)) {
            ++*badRows;
            continue;
        }
        h.toolNumber = static_cast<int>(tool);
        h.hand.wager = static_cast<int32_t>(wager);
        h.hand.paid = static_cast<int32_t>(paid);
        h.hand.heldMask = static_cast<uint8_t>(held);
        hands->push_back(h);
    }
    return !waiting.Failed();
}

bool WriteTrainerChanges(Store &store, const TrainerMemory &memory, const MemoryChanges &changes)
{
    Statement wait(store.Db(), "INSERT INTO trainer_waiting VALUES (?, ?, ?, ?, ?, ?, ?)");
    for (const HandToValue &h : changes.drawn) {
        wait.Reset();
        if (!wait.Bind(h.id).Bind(int64_t(h.toolNumber)).Bind(int64_t(h.evenDeck)).Bind(int64_t(h.hand.wager))
                 .Bind(int64_t(h.hand.paid)).Bind(CardsText(h.hand.cards)).Bind(int64_t(h.hand.heldMask)).Run())
            return false;
    }
    Statement unwait(store.Db(), "DELETE FROM trainer_waiting WHERE id = ?");
    for (int64_t id : changes.valued) {
        unwait.Reset();
        if (!unwait.Bind(id).Run())
            return false;
    }
    Statement lifetime(store.Db(), WriteLifetimeSql);
    for (int tool : changes.lifetimes) {
        auto found = memory.tools.find(tool);
        if (tool != 0 && found == memory.tools.end())
            continue;
        if (!WriteLifetime(lifetime, tool, tool == 0 ? memory.panel : found->second))
            return false;
    }
    Statement hand(store.Db(), InsertHandSql);
    for (const HandPoint &h : changes.hands)
        if (!InsertHand(hand, h))
            return false;
    Statement mistake(store.Db(), InsertMistakeSql);
    for (const RememberedMistake &m : changes.mistakes)
        if (!InsertMistake(mistake, m))
            return false;
    Statement forget(store.Db(), "DELETE FROM trainer_lifetimes WHERE tool = ?");
    Statement unname(store.Db(), "UPDATE trainer_hands SET tool = 0 WHERE tool = ?");
    for (int tool : changes.forgotten) {
        forget.Reset();
        unname.Reset();
        if (!forget.Bind(int64_t(tool)).Run() || !unname.Bind(int64_t(tool)).Run())
            return false;
    }
    // The caps: the oldest rows go, by id, which only grows.
    Statement trimHands(store.Db(), "DELETE FROM trainer_hands WHERE id <= (SELECT max(id) FROM trainer_hands) - ?");
    Statement trimMistakes(store.Db(),
                           "DELETE FROM trainer_mistakes WHERE id <= (SELECT max(id) FROM trainer_mistakes) - ?");
    return trimHands.Bind(int64_t(MaxHandPoints)).Run() && trimMistakes.Bind(int64_t(MaxRememberedMistakes)).Run();
}

bool WriteWholeMemory(Store &store, const TrainerMemory &memory)
{
    MemoryChanges all;
    all.lifetimes.insert(0);
    for (const auto &tool : memory.tools)
        all.lifetimes.insert(tool.first);
    all.hands = memory.hands;
    all.mistakes = memory.mistakes;
    return WriteTrainerChanges(store, memory, all);
}
