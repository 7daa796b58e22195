// classify_test.cpp: hand categories by the engine's rule and the analysis's fast classifier, over every
// hand: the full-deck totals.
#include "analysis/analysis.h"

#include <gtest/gtest.h>

namespace {

TEST(HandCategories, EveryHandGivesTheFullDeckTotalsAndBothClassifiersAgree)
{
    int64_t byRank[HandRankCount] = {}, disagreements = 0;
    Card hand[HandSize];
    for (int a = 0; a < DeckSize; ++a)
        for (int b = a + 1; b < DeckSize; ++b)
            for (int c = b + 1; c < DeckSize; ++c)
                for (int d = c + 1; d < DeckSize; ++d)
                    for (int e = d + 1; e < DeckSize; ++e) {
                        // Not sorted, so no rank or suit arrives in a convenient place.
                        hand[0] = Card(d), hand[1] = Card(a), hand[2] = Card(e), hand[3] = Card(c), hand[4] = Card(b);
                        const HandRank rank = EvaluateCards(hand);
                        disagreements += ClassifyCards(hand) != rank;
                        if (rank >= 0 && rank < HandRankCount)
                            ++byRank[rank];
                    }
    EXPECT_EQ(disagreements, 0);
    const int64_t expected[HandRankCount] = { 2062860, 4, 36, 624, 3744, 5108, 10200, 54912, 123552, 337920 };
    for (int h = 0; h < HandRankCount; ++h)
        EXPECT_EQ(byRank[h], expected[h]) << "HandRank " << h;
}

} // namespace
