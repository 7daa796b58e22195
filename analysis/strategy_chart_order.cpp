// strategy_chart_order.cpp: searches the order of a chart's lines that returns most over the tallied deals.
#include "analysis/strategy_chart_order.h"
#include "analysis/analysis_internal.h"

#include <algorithm>
#include <cmath>

namespace {

std::vector<int> PositionsOf(const std::vector<int> &order)
{
    std::vector<int> position(PatternCount, PatternCount);
    for (size_t i = 0; i < order.size(); ++i)
        position[static_cast<size_t>(order[i])] = static_cast<int>(i);
    return position;
}

// The one pattern whose removal from both orders leaves the same order (the line moved, put in or
// taken out), or -1 when there is none.
int OnlyMoved(const std::vector<int> &before, const std::vector<int> &after)
{
    size_t i = 0;
    while (i < before.size() && i < after.size() && before[i] == after[i])
        ++i;
    const int candidates[2] = { i < before.size() ? before[i] : -1, i < after.size() ? after[i] : -1 };
    for (int p : candidates) {
        if (p < 0)
            continue;
        size_t a = i, b = i;
        for (;;) {
            a += a < before.size() && before[a] == p;
            b += b < after.size() && after[b] == p;
            if (a == before.size() || b == after.size() || before[a] != after[b])
                break;
            ++a, ++b;
        }
        if (a == before.size() && b == after.size())
            return p;
    }
    return -1;
}

// The groups that each pattern could take, with what its hold is worth in each; and, for the order last
// asked about, each group's first two lines: where they stand, what they are worth, which they are.
struct Holder {
    uint32_t sample;
    double value;
};

struct FirstLines {   // kept together: the search reads them for groups in no particular order
    int firstPos, secondPos;
    int firstPattern, secondPattern;
    double firstValue, secondValue;
};

struct Holders {
    std::vector<std::vector<Holder>> of;
    std::vector<int> order;
    std::vector<FirstLines> lines;   // by sample
    // Each pattern's insertion gains as last worked out, and the order they were for: the search asks
    // again for the same order more often than not.
    std::vector<std::vector<int>> gainsOrder;
    std::vector<std::vector<double>> gains;
    const std::vector<Holder> &operator[](size_t p) const { return of[p]; }

    explicit Holders(const Samples &data) : of(PatternCount), gainsOrder(PatternCount), gains(PatternCount)
    {
        for (size_t s = 0; s < data.samples.size(); ++s)
            for (uint32_t i = 0; i < data.samples[s].count; ++i) {
                const Entry &entry = data.entries[data.samples[s].first + i];
                of[entry.pattern].push_back({ static_cast<uint32_t>(s), entry.value });
            }
    }

    static void FindFirstLines(const Entry *e, uint32_t count, const std::vector<int> &position, int none,
                               FirstLines &first)
    {
        first = { none, none, -1, -1, 0, 0 };
        for (uint32_t i = 0; i < count; ++i) {
            const int at = position[e[i].pattern];
            if (at < first.firstPos) {
                first.secondPos = first.firstPos;
                first.secondValue = first.firstValue;
                first.secondPattern = first.firstPattern;
                first.firstPos = at;
                first.firstValue = e[i].value;
                first.firstPattern = e[i].pattern;
            } else if (at < first.secondPos) {
                first.secondPos = at;
                first.secondValue = e[i].value;
                first.secondPattern = e[i].pattern;
            }
        }
    }

    void FirstLinesOf(const Samples &data, const std::vector<int> &now)
    {
        if (now == order && !lines.empty())
            return;
        // Most steps of the search move one line: only the groups that line could take look again, the
        // others keep their first two lines, at their new places.
        const int moved = lines.empty() ? -1 : OnlyMoved(order, now);
        order = now;
        const int none = static_cast<int>(order.size());
        std::vector<int> position(PatternCount, none);
        for (size_t i = 0; i < order.size(); ++i)
            position[static_cast<size_t>(order[i])] = static_cast<int>(i);
        const size_t samples = data.samples.size();
        if (moved < 0 || of[static_cast<size_t>(moved)].empty()) {
            lines.resize(samples);
            for (size_t s = 0; s < samples; ++s)
                FindFirstLines(&data.entries[data.samples[s].first], data.samples[s].count, position, none, lines[s]);
            return;
        }
        for (FirstLines &first : lines) {
            first.firstPos = first.firstPattern < 0 ? none : position[static_cast<size_t>(first.firstPattern)];
            first.secondPos = first.secondPattern < 0 ? none : position[static_cast<size_t>(first.secondPattern)];
        }
        for (const Holder &h : of[static_cast<size_t>(moved)])
            FindFirstLines(&data.entries[data.samples[h.sample].first], data.samples[h.sample].count, position, none,
                           lines[h.sample]);
    }
};

// Where in order, without p, each hand that p could take would otherwise go, and what it would win there.
// gain[j]: the change in return when p goes in at line j (before order[j]) instead of where it is.
void InsertionGains(const Samples &data, Holders &holders, const std::vector<int> &order, int p,
                    std::vector<double> &gain)
{
    if (holders.gainsOrder[static_cast<size_t>(p)] == order && !holders.gainsOrder[static_cast<size_t>(p)].empty()) {
        gain = holders.gains[static_cast<size_t>(p)];
        return;
    }
    holders.FirstLinesOf(data, order);
    int current = PatternCount;
    for (size_t i = 0; i < order.size(); ++i)
        if (order[i] == p)
            current = static_cast<int>(i);
    const bool present = current < PatternCount;
    const int n = static_cast<int>(order.size()) - (present ? 1 : 0);
    gain.assign(static_cast<size_t>(n) + 1, 0.0);
    for (const Holder &h : holders[static_cast<size_t>(p)]) {
        const FirstLines &first = holders.lines[h.sample];
        const bool firstIsP = first.firstPattern == p;
        int at = firstIsP ? first.secondPos : first.firstPos;
        const double otherValue = at >= static_cast<int>(order.size()) ? 0 : firstIsP ? first.secondValue : first.firstValue;
        // at, counted in order without p
        const int other = at >= static_cast<int>(order.size()) ? n : present && at > current ? at - 1 : at;
        const double own = h.value;
        // Now: p takes the hand when it stands before the hand's other first line.
        bool takesNow = present && current <= other;
        double now = takesNow ? own : otherValue;
        // Going in at j <= other, p takes it; beyond, the other line does.
        gain[0] += own - now;
        if (other < n)
            gain[static_cast<size_t>(other) + 1] += otherValue - own;
    }
    for (size_t j = 1; j < gain.size(); ++j)
        gain[j] += gain[j - 1];
    holders.gainsOrder[static_cast<size_t>(p)] = order;
    holders.gains[static_cast<size_t>(p)] = gain;
}

// First, greedily, the line that costs least per deal among the hands it takes, until none is left;
// "draw five" last.
std::vector<int> GreedyOrder(const Samples &data, const Holders &holders, const std::vector<char> &allowed)
{
    std::vector<int> order;
    std::vector<char> covered(data.samples.size(), 0), used(PatternCount, 0);
    std::vector<double> regret(PatternCount), reach(PatternCount);
    for (int p = 0; p < PatternCount; ++p)
        used[static_cast<size_t>(p)] = !allowed[static_cast<size_t>(p)];
    for (;;) {
        std::fill(regret.begin(), regret.end(), 0.0);
        std::fill(reach.begin(), reach.end(), 0.0);
        for (size_t s = 0; s < data.samples.size(); ++s) {
            if (covered[s])
                continue;
            const Entry *e = &data.entries[data.samples[s].first];
            for (uint32_t i = 0; i < data.samples[s].count; ++i)
                if (!used[e[i].pattern]) {
                    regret[e[i].pattern] += data.optimum[s] - e[i].value;
                    reach[e[i].pattern] += 1;
                }
        }
        int pick = -1;
        for (int p = 0; p < PatternCount; ++p)
            if (!used[p] && reach[p] > 0 && p != DrawFive
                && (pick < 0 || regret[p] * reach[pick] < regret[pick] * reach[p]))
                pick = p;
        if (pick < 0)
            break;
        used[pick] = 1;
        order.push_back(pick);
        for (const Holder &h : holders[static_cast<size_t>(pick)])
            covered[h.sample] = 1;
    }
    order.push_back(DrawFive);
    return order;
}

// Where a line adds most. The last line stays "draw five": a line goes in before it or not at all.
size_t BestInsertion(const std::vector<double> &gain)
{
    size_t best = 0;
    for (size_t j = 0; j + 1 < gain.size(); ++j)
        if (gain[j] > gain[best])
            best = j;
    return best;
}

// Moves single lines to where they add most, until none gains by moving.
void MoveLinesToBest(const Samples &data, Holders &holders, std::vector<int> &order, const std::vector<char> &allowed)
{
    std::vector<double> gain;
    for (bool changed = true; changed;) {
        changed = false;
        for (int p = 0; p < PatternCount; ++p) {
            if (p == DrawFive || !allowed[p])
                continue;
            const auto at = std::find(order.begin(), order.end(), p);
            if (at == order.end())
                continue;
            const long here = at - order.begin();
            InsertionGains(data, holders, order, p, gain);
            const size_t best = BestInsertion(gain);
            const double stay = gain[static_cast<size_t>(here)];
            if (gain[best] > stay + 1e-6 * (1 + std::abs(stay))) {
                order.erase(order.begin() + here);
                order.insert(order.begin() + static_cast<long>(best), p);
                changed = true;
            }
        }
    }
}

// The line, other than keep and "draw five", whose hands lose least by going to their next line. On a tie
// with narrowerOnTie the narrower line goes, so a general line outlives the special cases it covers.
int CheapestLine(const Samples &data, Holders &holders, const std::vector<int> &order, int keep, bool narrowerOnTie)
{
    std::vector<double> gain;
    int drop = -1;
    double dropLoss = 0;
    for (size_t i = 0; i + 1 < order.size(); ++i) {
        if (order[i] == keep)
            continue;
        InsertionGains(data, holders, order, order[i], gain);
        double loss = gain[i] - gain.back();
        if (drop < 0 || loss < dropLoss
            || (narrowerOnTie && loss == dropLoss && holders[order[i]].size() < holders[order[drop]].size())) {
            drop = static_cast<int>(i);
            dropLoss = loss;
        }
    }
    return drop;
}

// What the line that adds least loses; a line left out is tried only where it would add more by itself.
double LeastLoss(const Samples &data, Holders &holders, const std::vector<int> &order)
{
    std::vector<double> gain;
    double leastLoss = -1;
    for (size_t i = 0; i + 1 < order.size(); ++i) {
        InsertionGains(data, holders, order, order[i], gain);
        if (leastLoss < 0 || gain[i] - gain.back() < leastLoss)
            leastLoss = gain[i] - gain.back();
    }
    return leastLoss;
}

// Trades the cheapest line for p, put where it adds most, when the order then returns more than value
// (which it then becomes); otherwise leaves order as it was.
bool TradeFor(const Samples &data, Holders &holders, std::vector<int> &order, const std::vector<char> &allowed, int p,
              double leastLoss, double &value)
{
    std::vector<int> saved = order;
    std::vector<double> gain;
    InsertionGains(data, holders, order, p, gain);
    const size_t best = BestInsertion(gain);
    if (gain[best] <= leastLoss)
        return false;
    order.insert(order.begin() + static_cast<long>(best), p);
    order.erase(order.begin() + CheapestLine(data, holders, order, p, false));
    MoveLinesToBest(data, holders, order, allowed);
    const double tradedValue = data.Value(order);
    if (tradedValue > value * (1 + 1e-12)) {
        value = tradedValue;
        return true;
    }
    order = saved;
    return false;
}

// One vocabulary's search.
std::vector<int> SearchOrder(const Samples &data, size_t maxLines, const std::vector<char> &allowed)
{
    Holders holders(data);
    for (int p = 0; p < PatternCount; ++p)
        if (!allowed[p])
            holders.of[static_cast<size_t>(p)].clear();
    std::vector<int> order = GreedyOrder(data, holders, allowed);
    MoveLinesToBest(data, holders, order, allowed);
    while (order.size() > maxLines) {
        order.erase(order.begin() + CheapestLine(data, holders, order, -1, true));
        MoveLinesToBest(data, holders, order, allowed);
    }
    for (bool traded = true; traded;) {
        traded = false;
        double value = data.Value(order);
        const double leastLoss = LeastLoss(data, holders, order);
        for (int p = 0; p < PatternCount; ++p) {
            if (p == DrawFive || std::find(order.begin(), order.end(), p) != order.end() || holders[p].empty())
                continue;
            if (TradeFor(data, holders, order, allowed, p, leastLoss, value))
                traded = true;
        }
    }
    return order;
}

} // namespace

double Samples::Value(const std::vector<int> &order) const
{
    const std::vector<int> position = PositionsOf(order);
    double total = 0;
    for (const Sample &sample : samples) {
        const Entry *e = &entries[sample.first];
        int best = PatternCount;
        double value = 0;
        for (uint32_t i = 0; i < sample.count; ++i)
            if (position[e[i].pattern] < best) {
                best = position[e[i].pattern];
                value = e[i].value;
            }
        total += value;
    }
    return total;
}

std::vector<int> OrderLines(const Samples &data, size_t maxLines, const std::vector<char> allowed[VocabularyCount],
                            int threads)
{
    std::vector<int> tried[VocabularyCount];
    RunBlocks(threads, VocabularyCount, [&](int v, int) { tried[v] = SearchOrder(data, maxLines, allowed[v]); });
    // The first of them that does best.
    std::vector<int> order = tried[0];
    for (int v = 1; v < VocabularyCount; ++v)
        if (data.Value(tried[v]) > data.Value(order))
            order = tried[v];
    return order;
}

std::vector<double> KeepLinesThatAdd(const Samples &data, std::vector<int> &order)
{
    Holders holders(data);
    std::vector<double> gain, adds(order.size());
    for (size_t i = 0; i + 1 < order.size(); ++i) {
        InsertionGains(data, holders, order, order[i], gain);
        adds[i] = gain[i] - gain.back();
        if (adds[i] <= 0) {
            order.erase(order.begin() + static_cast<long>(i));
            adds.assign(order.size(), 0);
            i = static_cast<size_t>(-1);   // again from the top
        }
    }
    return adds;
}
