// analysis_internal.h: what the analysis files share: hold outcome counting and a small work splitter.
#pragma once

#include "engine/analysis.h"

#include <atomic>
#include <thread>

// Cards in a set of up to 13 ranks or positions; a table, since a popcount instruction cannot be
// assumed on every target and the library call it falls back on is slow in the inner loops.
struct BitCountTable {
    uint8_t value[1 << 13];
    constexpr BitCountTable() : value()
    {
        for (int mask = 1; mask < (1 << 13); ++mask)
            value[mask] = static_cast<uint8_t>(value[mask >> 1] + (mask & 1));
    }
};
extern const BitCountTable bitCounts;
inline int BitCount(uint32_t mask) { return bitCounts.value[mask]; }

// counts[m]: how many draws end in each HandRank when exactly the cards of m (bits over the sorted
// cards) stay; the 32 rows of a hand's holds.
void CountHoldOutcomes(const AnalysisTables &tables, const Card sorted[HandSize],
                       int32_t counts[HoldCount][HandRankCount]);

// Runs work(block) once for every block 0..blocks-1 on `threads` threads, the caller's among them;
// each thread takes the next block not yet taken, so uneven blocks even out.
template <typename Work>
void RunBlocks(int threads, int blocks, Work work)
{
    std::atomic<int> next(0);
    auto drain = [&next, blocks, &work]() {
        for (int block = next++; block < blocks; block = next++)
            work(block);
    };
    if (threads > 8)
        threads = 8;
    std::thread helpers[8];
    for (int t = 1; t < threads; ++t)
        helpers[t] = std::thread(drain);
    drain();
    for (int t = 1; t < threads; ++t)
        helpers[t].join();
}
