// random.cpp: the one generator every tool of the module shares, and the clock that seeds it.
#include "engine/game.h"

#include <ctime>

// The C runtime's own formula, so a given second deals the same cards on every platform and build.
static uint32_t randomState = 1;

static int64_t SystemClock()
{
    return static_cast<int64_t>(time(nullptr));
}

static GameClock gameClock = SystemClock;

void SeedRandom(uint32_t seed)
{
    randomState = seed;
}

int NextRandom()
{
    randomState = randomState * 214013u + 2531011u;
    return static_cast<int>((randomState >> 16) & 0x7FFF);
}

int ScaleRandom(int value, int n)
{
    // MulDiv rounds to nearest, halves away from zero; with an odd divisor no half can occur.
    const int64_t divisor = 32767;
    int64_t product = static_cast<int64_t>(value) * n;
    if (product >= 0)
        return static_cast<int>((2 * product + divisor) / (2 * divisor));
    return -static_cast<int>((-2 * product + divisor) / (2 * divisor));
}

void SetGameClock(GameClock clock)
{
    gameClock = clock ? clock : SystemClock;
}

int64_t GameTime()
{
    return gameClock();
}
