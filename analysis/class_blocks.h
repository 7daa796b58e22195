// class_blocks.h: the one driver over every deal, shared by the game's analysis, the machine's and the
// charts: the classes of deals listed once, cut into blocks, and the blocks run over the threads.
#pragma once

#include "analysis/analysis_internal.h"

#include <algorithm>
#include <cstdlib>

// A run of consecutive deal classes, one block of the work over every deal, and the thread it runs on.
struct ClassBlock {
    const DealClass *classes;
    int count;
    int index;    // 0 .. blocks - 1, in the order of the classes
    int thread;
};

// Classes are handed out in blocks this size: enough blocks to even out two or eight threads, each long
// enough that taking the next costs nothing.
constexpr int ClassBlockSize = 1024;
constexpr int ClassBlockCount(int blockSize) { return (DealClassCount + blockSize - 1) / blockSize; }

// The one driver over every deal: lists the classes of deals, cuts them into blocks of blockSize and runs
// work(block) for each over RunBlocks. False, and no work done, when memory runs out.
template <typename Work>
bool RunClassBlocks(int threads, int blockSize, Work work)
{
    DealClass *classes = static_cast<DealClass *>(calloc(DealClassCount, sizeof(DealClass)));
    if (!classes || ListDealClasses(classes) != DealClassCount) {
        free(classes);
        return false;
    }
    RunBlocks(threads, ClassBlockCount(blockSize), [&](int block, int thread) {
        const int first = block * blockSize;
        work(ClassBlock{ classes + first, std::min(blockSize, DealClassCount - first), block, thread });
    });
    free(classes);
    return true;
}
