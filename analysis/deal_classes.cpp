// deal_classes.cpp: every deal of five cards, one of each class of suit renamings, with the class's weight.
#include "analysis/analysis_internal.h"

#include <cstdlib>

namespace {

constexpr int SuitCount = 4;
constexpr int RankCount = 13;

// Masks of up to five ranks, ordered by (card count, mask) from the highest down: listing the suits
// of a deal in that order names each class of suit renamings exactly once.
struct SuitMasks {
    uint16_t mask[2400];
    int count;
    int firstWithAtMost[HandSize + 1];   // index of the first mask of that many cards or fewer
};


void ListSuitMasks(SuitMasks &masks)
{
    masks.count = 0;
    for (int cards = HandSize; cards >= 0; --cards) {
        masks.firstWithAtMost[cards] = masks.count;
        for (int mask = (1 << RankCount) - 1; mask >= 0; --mask)
            if (BitCount(mask) == cards)
                masks.mask[masks.count++] = static_cast<uint16_t>(mask);
    }
}

struct ClassLister {
    SuitMasks masks;
    int suitMask[SuitCount];
    DealClass *classes;
    int count;
};

void EmitClass(ClassLister &lister)
{
    DealClass &deal = lister.classes[lister.count++];
    int size = 0;
    for (int suit = 0; suit < SuitCount; ++suit)
        for (int rank = 0; rank < RankCount; ++rank)
            if (lister.suitMask[suit] & (1 << rank))
                deal.cards[size++] = static_cast<Card>(suit * RankCount + rank);
    // 24 renamings of the suits, less those that only swap suits holding the same ranks.
    int deals = 24;
    for (int suit = 0, run = 1; suit < SuitCount; ++suit) {
        bool sameAsNext = suit + 1 < SuitCount && lister.suitMask[suit + 1] == lister.suitMask[suit];
        if (sameAsNext) {
            ++run;
            deals /= run;
        } else {
            run = 1;
        }
    }
    deal.deals = static_cast<uint8_t>(deals);
}

void ListFrom(ClassLister &lister, int suit, int cardsLeft, int fromIndex)
{
    if (suit == SuitCount) {
        if (cardsLeft == 0)
            EmitClass(lister);
        return;
    }
    int suitsLeft = SuitCount - suit;
    int start = fromIndex > lister.masks.firstWithAtMost[cardsLeft] ? fromIndex
                                                                     : lister.masks.firstWithAtMost[cardsLeft];
    for (int i = start; i < lister.masks.count; ++i) {
        int mask = lister.masks.mask[i];
        if (BitCount(mask) * suitsLeft < cardsLeft)
            break;   // later suits hold no more than this one
        lister.suitMask[suit] = mask;
        ListFrom(lister, suit + 1, cardsLeft - BitCount(mask), i);
    }
}

} // namespace

constexpr SuitOrders suitOrders;

int ListDealClasses(DealClass *classes)
{
    ClassLister *lister = static_cast<ClassLister *>(calloc(1, sizeof(ClassLister)));
    if (!lister)
        return 0;
    ListSuitMasks(lister->masks);
    lister->classes = classes;
    ListFrom(*lister, 0, HandSize, 0);
    int count = lister->count;
    free(lister);
    return count;
}

