// game_analysis.cpp: optimal play over every deal, one deal per class of suit renamings.
#include "analysis/analysis_internal.h"
#include "analysis/class_blocks.h"

#include <cstdlib>

namespace {

struct Tally {
    uint64_t paid;
    uint64_t finalHands[HandRankCount];
};

} // namespace

bool AnalyzeGame(const AnalysisTables &tables, int coins, int threads, GameAnalysis &result)
{
    if (coins < 1 || coins > MaxWager)
        return false;
    constexpr int Blocks = ClassBlockCount(ClassBlockSize);
    Tally *tallies = static_cast<Tally *>(calloc(Blocks, sizeof(Tally)));
    if (!tallies)
        return false;

    int64_t payout[HandRankCount];
    for (int h = 0; h < HandRankCount; ++h)
        payout[h] = PayoutFor(h, coins);

    auto tallyBlock = [&](const ClassBlock &block) {
        Tally &tally = tallies[block.index];
        for (int c = 0; c < block.count; ++c) {
            const DealClass &deal = block.classes[c];
            int32_t counts[HoldCount][HandRankCount];
            CountHoldOutcomes(tables, deal.cards, counts);
            // The best hold as AnalyzeHolds ranks them: value, then fewer cards drawn, then lower mask.
            int best = 0;
            int64_t bestValue = -1;
            for (int mask = 0; mask < HoldCount; ++mask) {
                int64_t paid = 0;
                for (int h = 0; h < HandRankCount; ++h)
                    paid += payout[h] * counts[mask][h];
                int64_t value = paid * DrawScale(HandSize - BitCount(mask));
                bool isBetter = value > bestValue
                                || (value == bestValue && BitCount(mask) > BitCount(best));
                if (isBetter) {
                    best = mask;
                    bestValue = value;
                }
            }
            uint64_t deals = deal.deals;
            int64_t bestScale = DrawScale(HandSize - BitCount(best));
            tally.paid += deals * static_cast<uint64_t>(bestValue);
            for (int h = 0; h < HandRankCount; ++h)
                tally.finalHands[h] += deals * static_cast<uint64_t>(counts[best][h] * bestScale);
        }
    };
    if (!RunClassBlocks(threads, ClassBlockSize, tallyBlock)) {
        free(tallies);
        return false;
    }

    result = GameAnalysis();
    result.coins = coins;
    result.denominator = static_cast<uint64_t>(DealCount) * DrawDenominator;
    for (int block = 0; block < Blocks; ++block) {
        result.paidNumerator += tallies[block].paid;
        for (int h = 0; h < HandRankCount; ++h)
            result.finalHands[h] += tallies[block].finalHands[h];
    }
    result.returnRate = static_cast<double>(result.paidNumerator)
                        / (static_cast<double>(coins) * static_cast<double>(result.denominator));
    free(tallies);
    return true;
}
