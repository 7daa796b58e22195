// trainer_log.cpp: the trainer's memory, its file and its texts.
//
// The file, one record a line, fields separated by one space:
//   quorvane-trainer 1
//   panel HANDS BET WON YOURS_WORTH BEST_WORTH BEST_TAKEN MISTAKES MISTAKES_COST
//   tool NUMBER HANDS BET WON YOURS_WORTH BEST_WORTH BEST_TAKEN MISTAKES MISTAKES_COST
//   hand TOOL WAGER PAID BEST_WORTH machine|even
//   mistake TOOL machine|even WAGER COST CARD CARD CARD CARD CARD HELD BEST    (holds as "x..x.")
// It is only ever written whole, so a line without its line end was cut short.
#include "apps/quorvane/trainer/trainer_log.h"
#include "analysis/cards.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

std::string FormatText(const char *format, ...)
{
    char text[256];
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    return text;
}

namespace {

const char VersionLine[] = "quorvane-trainer 1";
const char VersionPrefix[] = "quorvane-trainer ";
constexpr size_t MaxLineLength = 200;     // our longest line is under 120
constexpr size_t MaxFields = 13;
constexpr int MaxToolNumber = 1000000;
constexpr size_t MaxToolsRemembered = 1000;
constexpr int64_t MaxCoins = 1000000000000000;   // more than any play could reach: larger is garbage

std::string MaskText(int mask)
{
    std::string text;
    for (int i = 0; i < HandSize; ++i)
        text += (mask >> i) & 1 ? 'x' : '.';
    return text;
}

std::string SummaryFields(const PlaySummary &s)
{
    return FormatText("%d %lld %lld %.6f %.6f %d %d %.6f", s.hands, static_cast<long long>(s.coinsBet),
                  static_cast<long long>(s.coinsWon), s.yourHoldsWorth, s.bestHoldsWorth, s.bestHoldTaken, s.mistakes,
                  s.mistakesCost);
}

// Keeps the newest cap entries: exactly, or (while a file is read) once the list is twice the cap, since
// trimming on every line would copy the list each time.
template <typename T> void KeepNewest(std::vector<T> &list, size_t cap, bool exact)
{
    if (list.size() > (exact ? cap : 2 * cap))
        list.erase(list.begin(), list.end() - static_cast<std::ptrdiff_t>(cap));
}

// A line's fields; false when it has more than MaxFields.
bool SplitFields(const std::string &line, std::vector<std::string> *fields)
{
    fields->clear();
    size_t start = 0;
    while (start <= line.size()) {
        size_t end = line.find(' ', start);
        if (end == std::string::npos)
            end = line.size();
        if (fields->size() == MaxFields)
            return false;
        fields->push_back(line.substr(start, end - start));
        start = end + 1;
    }
    return true;
}

bool ReadInteger(const std::string &field, int64_t low, int64_t high, int64_t *value)
{
    if (field.empty() || field.size() > 20 || !(isdigit(static_cast<unsigned char>(field[0])) || field[0] == '-'))
        return false;
    errno = 0;
    char *end = nullptr;
    long long read = strtoll(field.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || read < low || read > high)
        return false;
    *value = read;
    return true;
}

template <typename T> bool ReadNumber(const std::string &field, int64_t low, int64_t high, T *value)
{
    int64_t read = 0;
    if (!ReadInteger(field, low, high, &read))
        return false;
    *value = static_cast<T>(read);
    return true;
}

bool ReadCoins(const std::string &field, double *value)
{
    if (field.empty() || field.size() > 30 || !isdigit(static_cast<unsigned char>(field[0])))
        return false;
    char *end = nullptr;
    double read = strtod(field.c_str(), &end);
    if (*end != '\0' || !std::isfinite(read) || read < 0 || read > static_cast<double>(MaxCoins))
        return false;
    *value = read;
    return true;
}

bool ReadMask(const std::string &field, uint8_t *mask)
{
    if (field.size() != HandSize)
        return false;
    *mask = 0;
    for (int i = 0; i < HandSize; ++i) {
        if (field[i] != 'x' && field[i] != '.')
            return false;
        *mask |= static_cast<uint8_t>((field[i] == 'x') << i);
    }
    return true;
}

bool ReadDealing(const std::string &field, bool *evenDeck)
{
    *evenDeck = field == "even";
    return field == "even" || field == "machine";
}

// The summary's fields from first on; its counts must fit within its hands.
bool ReadSummary(const std::vector<std::string> &f, size_t first, PlaySummary *s)
{
    if (f.size() != first + 8)
        return false;
    const int64_t maxHands = INT32_MAX;    // as many as the writer can count
    return ReadNumber(f[first], 0, maxHands, &s->hands) && ReadNumber(f[first + 1], 0, MaxCoins, &s->coinsBet) &&
           ReadNumber(f[first + 2], 0, MaxCoins, &s->coinsWon) && ReadCoins(f[first + 3], &s->yourHoldsWorth) &&
           ReadCoins(f[first + 4], &s->bestHoldsWorth) && ReadNumber(f[first + 5], 0, s->hands, &s->bestHoldTaken) &&
           ReadNumber(f[first + 6], 0, s->hands - s->bestHoldTaken, &s->mistakes) &&
           ReadCoins(f[first + 7], &s->mistakesCost);
}

bool ReadHand(const std::vector<std::string> &f, HandPoint *h)
{
    return f.size() == 6 && ReadNumber(f[1], 0, MaxToolNumber, &h->toolNumber) &&
           ReadNumber(f[2], 1, MaxWager, &h->wager) && ReadNumber(f[3], 0, 1000000, &h->paid) &&
           ReadCoins(f[4], &h->bestWorth) && ReadDealing(f[5], &h->evenDeck);
}

bool ReadMistake(const std::vector<std::string> &f, RememberedMistake *m)
{
    if (f.size() != 12 || !ReadNumber(f[1], 0, MaxToolNumber, &m->toolNumber) || !ReadDealing(f[2], &m->evenDeck) ||
        !ReadNumber(f[3], 1, MaxWager, &m->wager) || !ReadCoins(f[4], &m->cost) || m->cost <= 0 ||
        !ReadMask(f[10], &m->heldMask) || !ReadMask(f[11], &m->bestMask) || m->heldMask == m->bestMask)
        return false;
    for (int i = 0; i < HandSize; ++i) {
        int card = ParseCard(f[5 + i].c_str());
        if (card < 0 || std::find(m->cards, m->cards + i, static_cast<Card>(card)) != m->cards + i)
            return false;
        m->cards[i] = static_cast<Card>(card);
    }
    return true;
}

bool IsPlainText(const std::string &line)
{
    return std::all_of(line.begin(), line.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}

} // namespace

void AddToSummary(PlaySummary &summary, const JudgedHand &judged)
{
    ++summary.hands;
    summary.coinsBet += judged.hand.wager;
    summary.coinsWon += judged.hand.paid;
    if (!judged.analysed)
        return;
    summary.yourHoldsWorth += judged.yourWorth;
    summary.bestHoldsWorth += judged.bestWorth;
    if (judged.isMistake) {
        ++summary.mistakes;
        summary.mistakesCost += judged.bestWorth - judged.yourWorth;
    } else {
        ++summary.bestHoldTaken;
    }
}

void Remember(TrainerMemory &memory, int toolNumber, const JudgedHand &judged)
{
    AddToSummary(memory.panel, judged);
    AddToSummary(memory.tools[toolNumber], judged);
    if (!judged.analysed)
        return;
    HandPoint point;
    point.toolNumber = toolNumber;
    point.wager = judged.hand.wager;
    point.paid = judged.hand.paid;
    point.bestWorth = judged.bestWorth;
    point.evenDeck = judged.evenDeck;
    memory.hands.push_back(point);
    KeepNewest(memory.hands, MaxHandPoints, true);
    if (!judged.isMistake)
        return;
    RememberedMistake mistake;
    mistake.toolNumber = toolNumber;
    std::copy(judged.hand.cards, judged.hand.cards + HandSize, mistake.cards);
    mistake.heldMask = judged.hand.heldMask;
    mistake.bestMask = judged.bestMask;
    mistake.wager = judged.hand.wager;
    mistake.cost = judged.bestWorth - judged.yourWorth;
    mistake.evenDeck = judged.evenDeck;
    memory.mistakes.push_back(mistake);
    KeepNewest(memory.mistakes, MaxRememberedMistakes, true);
}

void ForgetTool(TrainerMemory &memory, int toolNumber)
{
    memory.tools.erase(toolNumber);
    for (HandPoint &point : memory.hands)   // a later tool may take the number: its graph starts afresh
        if (point.toolNumber == toolNumber)
            point.toolNumber = 0;
}

std::string FormatTrainerFile(const TrainerMemory &memory)
{
    std::string text = std::string(VersionLine) + "\n";
    text += "panel " + SummaryFields(memory.panel) + "\n";
    for (const auto &tool : memory.tools)
        text += FormatText("tool %d ", tool.first) + SummaryFields(tool.second) + "\n";
    for (const HandPoint &h : memory.hands)
        text += FormatText("hand %d %d %d %.6f %s\n", h.toolNumber, h.wager, h.paid, h.bestWorth,
                       h.evenDeck ? "even" : "machine");
    for (const RememberedMistake &m : memory.mistakes) {
        text += FormatText("mistake %d %s %d %.6f", m.toolNumber, m.evenDeck ? "even" : "machine", m.wager, m.cost);
        for (Card card : m.cards)
            text += " " + CardName(card);
        text += " " + MaskText(m.heldMask) + " " + MaskText(m.bestMask) + "\n";
    }
    return text;
}

TrainerMemory ParseTrainerFile(const char *text, size_t size, TrainerFileReport *report)
{
    TrainerMemory memory;
    *report = TrainerFileReport();
    report->empty = size == 0;
    bool panelFound = false;
    std::vector<std::string> fields;
    for (size_t start = 0, number = 0; start < size; ++number) {
        const char *newline = static_cast<const char *>(memchr(text + start, '\n', size - start));
        const size_t end = newline ? static_cast<size_t>(newline - text) : size;
        std::string line(text + start, std::min(end - start, MaxLineLength + 1));
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (number == 0 && line.compare(0, sizeof VersionPrefix - 1, VersionPrefix) == 0 && line != VersionLine) {
            // Only a later version is a newer program's; anything else on the first line is damage.
            int version = 0;
            if (ReadNumber(line.substr(sizeof VersionPrefix - 1), 2, INT32_MAX, &version)) {
                report->newerVersion = true;
                return TrainerMemory();
            }
        }
        if (number == 0 && line == VersionLine)
            continue;
        bool good = newline && line.size() <= MaxLineLength && IsPlainText(line) && SplitFields(line, &fields);
        if (good && fields[0] == "panel") {
            PlaySummary read;
            good = ReadSummary(fields, 1, &read);
            if (good)
                memory.panel = read;
            panelFound |= good;
        } else if (good && fields[0] == "tool") {
            PlaySummary read;
            int tool = 0;
            good = ReadNumber(fields[1], 1, MaxToolNumber, &tool) && ReadSummary(fields, 2, &read) &&
                   (memory.tools.count(tool) || memory.tools.size() < MaxToolsRemembered);
            if (good)
                memory.tools[tool] = read;
        } else if (good && fields[0] == "hand") {
            HandPoint read;
            good = ReadHand(fields, &read);
            if (good)
                memory.hands.push_back(read);
            KeepNewest(memory.hands, MaxHandPoints, false);
        } else if (good && fields[0] == "mistake") {
            RememberedMistake read;
            good = ReadMistake(fields, &read);
            if (good)
                memory.mistakes.push_back(read);
            KeepNewest(memory.mistakes, MaxRememberedMistakes, false);
        } else {
            good = false;
        }
        report->badLines += !good;
    }
    // Every file written has its panel line: one without it was cut short (or is no memory at all).
    report->badLines += !panelFound && !report->empty && report->badLines == 0;
    KeepNewest(memory.hands, MaxHandPoints, true);
    KeepNewest(memory.mistakes, MaxRememberedMistakes, true);
    return memory;
}

std::string LifetimeText(const std::string &title, const PlaySummary &s)
{
    if (s.hands == 0)
        return "  " + title + ": no hand drawn yet.\n";
    const double bet = s.coinsBet > 0 ? static_cast<double>(s.coinsBet) : 1.0;
    return FormatText("  %s: %d hand%s, %lld coins bet, %lld won: %.2f %%\n", title.c_str(), s.hands,
                  s.hands == 1 ? "" : "s", static_cast<long long>(s.coinsBet), static_cast<long long>(s.coinsWon), 100.0 * s.coinsWon / bet) +
           FormatText("    your holds were worth %.2f %%, the best holds %.2f %%\n", 100.0 * s.yourHoldsWorth / bet,
                  100.0 * s.bestHoldsWorth / bet) +
           FormatText("    best hold taken in %d of %d; mistakes %d, costing %.4f coins\n", s.bestHoldTaken, s.hands,
                  s.mistakes, s.mistakesCost);
}

std::string MistakesText(const std::vector<RememberedMistake> &mistakes, const std::vector<std::string> &kinds)
{
    struct Kind {
        std::string name;
        double cost = 0;
        std::vector<size_t> newestFirst;
    };
    std::vector<Kind> groups;
    double total = 0;
    for (size_t i = mistakes.size(); i-- > 0;) {
        const std::string &name = i < kinds.size() ? kinds[i] : std::string("other");
        auto group = std::find_if(groups.begin(), groups.end(), [&](const Kind &k) { return k.name == name; });
        if (group == groups.end()) {
            groups.emplace_back();
            group = groups.end() - 1;
            group->name = name;
        }
        group->cost += mistakes[i].cost;
        group->newestFirst.push_back(i);
        total += mistakes[i].cost;
    }
    if (mistakes.empty())
        return "No mistake remembered yet: the trainer notes each hold worse than the best.\n";
    std::stable_sort(groups.begin(), groups.end(), [](const Kind &a, const Kind &b) {
        return a.cost != b.cost ? a.cost > b.cost : a.newestFirst.size() > b.newestFirst.size();
    });
    std::string text = FormatText("%zu mistake%s remembered (the newest %zu are kept), costing %.4f coins in all.\n"
                              "By kind, the costliest first; in each, the newest first.\n",
                              mistakes.size(), mistakes.size() == 1 ? "" : "s", MaxRememberedMistakes, total);
    for (const Kind &kind : groups) {
        const size_t count = kind.newestFirst.size();
        text += FormatText("\n%s: %zu mistake%s, %.4f coins\n", kind.name.c_str(), count, count == 1 ? "" : "s",
                       kind.cost);
        for (size_t i : kind.newestFirst) {
            const RememberedMistake &m = mistakes[i];
            text += "  Dealt " + HoldRow(m.cards, 31) +
                    FormatText("   tool %d, %d coin%s, %s\n", m.toolNumber, m.wager, m.wager == 1 ? "" : "s",
                           m.evenDeck ? "even deck" : "this machine");
            text += "    held " + HoldRow(m.cards, m.heldMask) + "   best " + HoldRow(m.cards, m.bestMask) +
                    FormatText("   cost %.4f\n", m.cost);
        }
    }
    return text;
}

void CreditSeries(const std::vector<HandPoint> &hands, int toolNumber, std::vector<double> *played,
                  std::vector<double> *perfect, std::string *dealing)
{
    played->assign(1, 0.0);
    perfect->assign(1, 0.0);
    bool machine = false, even = false;
    for (const HandPoint &h : hands) {
        if (toolNumber != 0 && h.toolNumber != toolNumber)
            continue;
        played->push_back(played->back() + h.paid - h.wager);
        perfect->push_back(perfect->back() + h.bestWorth - h.wager);
        (h.evenDeck ? even : machine) = true;
    }
    *dealing = machine && even ? "this machine and even deck" : even ? "even deck" : "this machine";
}
