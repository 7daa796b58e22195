// tool_play_test.cpp: whole games played on a tool with its real buttons and card windows.
#include "tests/panel/panel_checks.h"

#include <random>
#include <vector>

namespace {

class ToolPlay : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(host.Ready()) << "VideoPoker.dll could not be loaded by its exports"; }
    TestHost &host = TestHost::Instance();
};

bool AllDistinct(const std::array<int, 5> &cards)
{
    std::array<int, 5> sorted = cards;
    std::sort(sorted.begin(), sorted.end());
    return std::adjacent_find(sorted.begin(), sorted.end()) == sorted.end();
}

// After a deal: five distinct cards, exactly they marked out of the deck, nothing held.
void ExpectFreshDeal(HWND tool)
{
    const VideoPokerGame &game = Game(tool);
    std::array<int, 5> cards = CardsOf(tool);
    EXPECT_TRUE(AllDistinct(cards));
    int marked = 0;
    for (int c = 0; c < DeckSize; ++c)
        marked += game.dealt[c];
    EXPECT_EQ(marked, 5);
    for (int i = 0; i < HandSize; ++i) {
        EXPECT_LT(cards[i], DeckSize);
        EXPECT_EQ(game.dealt[cards[i]], 1) << "card " << cards[i];
        EXPECT_EQ(game.held[i], 0);
    }
    EXPECT_EQ(game.handComplete, 0);
}

TEST_F(ToolPlay, ThreeCoinsDealtHeldAndDrawnAreCountedAndPaid)
{
    ScopedWindow tool(host.CreateLaidOutTool(300, 175));
    ASSERT_NE(tool.get(), nullptr);
    for (int coin = 1; coin <= 3; ++coin)
        ClickButton(tool, IDC_BET_ONE);
    EXPECT_EQ(FaceOf(tool), ExpectedFace(true, 3, 97, "Video Poker"));

    ClickButton(tool, IDC_DEAL_DRAW);
    EXPECT_EQ(FaceOf(tool), ExpectedFace(false, 3, 97, "Video Poker"));
    ExpectFreshDeal(tool);
    const std::array<int, 5> dealt = CardsOf(tool);

    ClickCard(tool, 0);
    ClickCard(tool, 3);
    ClickCard(tool, 4);
    ClickCard(tool, 4);   // a second click takes the hold back
    const VideoPokerGame &game = Game(tool);
    EXPECT_EQ((std::array<int, 5>{game.held[0], game.held[1], game.held[2], game.held[3], game.held[4]}),
              (std::array<int, 5>{1, 0, 0, 1, 0}));

    ClickButton(tool, IDC_DEAL_DRAW);
    const std::array<int, 5> drawn = CardsOf(tool);
    EXPECT_EQ(drawn[0], dealt[0]);
    EXPECT_EQ(drawn[3], dealt[3]);
    for (int i : {1, 2, 4})
        EXPECT_EQ(std::count(dealt.begin(), dealt.end(), drawn[i]), 0) << "a replacement came from the deal";
    EXPECT_TRUE(AllDistinct(drawn));
    const Hand hand = ClassifyHand(drawn);
    const int credits = 97 + PayFor(hand, 3);
    EXPECT_EQ(FaceOf(tool), ExpectedFace(true, 0, credits, ResultLine(hand, 3)));
    EXPECT_EQ(Game(tool).credits, credits);
    for (int i = 0; i < HandSize; ++i)
        EXPECT_EQ(Game(tool).held[i], 0);
}

TEST_F(ToolPlay, FifthCoinDealsAtOnce)
{
    ScopedWindow tool(host.CreateLaidOutTool(120, 70));
    ASSERT_NE(tool.get(), nullptr);
    for (int coin = 1; coin <= 4; ++coin)
        ClickButton(tool, IDC_BET_ONE);
    EXPECT_EQ(Game(tool).handComplete, 1);
    ClickButton(tool, IDC_BET_ONE);
    EXPECT_EQ(FaceOf(tool), ExpectedFace(false, 5, 95, "Video Poker"));
    ExpectFreshDeal(tool);
}

TEST_F(ToolPlay, BetFiveTopsUpTheWagerAndDeals)
{
    ScopedWindow tool(host.CreateLaidOutTool(120, 70));
    ASSERT_NE(tool.get(), nullptr);
    ClickButton(tool, IDC_BET_ONE);
    ClickButton(tool, IDC_BET_ONE);
    ClickButton(tool, IDC_BET_FIVE);
    EXPECT_EQ(FaceOf(tool), ExpectedFace(false, 5, 95, "Video Poker"));
    ExpectFreshDeal(tool);
}

TEST_F(ToolPlay, CardClicksBetweenHandsChangeNothing)
{
    ScopedWindow tool(host.CreateLaidOutTool(120, 70));
    ASSERT_NE(tool.get(), nullptr);
    const std::array<unsigned char, 72> before = GameBytes(tool);
    for (int i = 0; i < HandSize; ++i)
        ClickCard(tool, i);
    EXPECT_EQ(GameBytes(tool), before);
}

struct HeldHandCase {
    std::array<int, 5> cards;
    int wager;
    Hand expectedHand;      // what the hand is, so a fault in the test's own evaluation shows too
};

// Ten to ace of spades is 47..51; a card is suit * 13 + rank, rank 0 the two.
const HeldHandCase kHeldHands[] = {
    {{47, 48, 49, 50, 51}, 5, Hand::RoyalFlush},
    {{47, 48, 49, 50, 51}, 4, Hand::RoyalFlush},
    {{12, 0, 1, 2, 3}, 2, Hand::StraightFlush},            // ace to five of clubs
    {{7, 20, 33, 46, 6}, 5, Hand::Four},                   // four nines
    {{0, 13, 26, 1, 14}, 5, Hand::FullHouse},              // three twos, two threes
    {{13, 15, 18, 20, 24}, 3, Hand::Flush},
    {{12, 13, 27, 41, 3}, 1, Hand::Straight},              // ace low, mixed suits
    {{9, 22, 35, 2, 17}, 4, Hand::Three},
    {{0, 13, 1, 14, 25}, 5, Hand::TwoPair},
    {{9, 22, 0, 15, 30}, 5, Hand::Jacks},                  // a pair of jacks returns the coins
    {{8, 21, 0, 15, 30}, 5, Hand::Nothing},                // a pair of tens pays nothing
    {{10, 11, 12, 0, 40}, 5, Hand::Nothing},               // queen, king, ace, two, three: no straight
};

TEST_F(ToolPlay, DrawWithEveryCardHeldPaysTheDealtHand)
{
    for (const HeldHandCase &c : kHeldHands) {
        SCOPED_TRACE(HandName(c.expectedHand) + ", " + std::to_string(c.wager) + " coins");
        ASSERT_EQ(ClassifyHand(c.cards), c.expectedHand);
        SavedBlock block(c.cards, {1, 1, 1, 1, 1}, false, c.wager, 20);
        ScopedWindow tool(host.CreateLaidOutTool(240, 140, block.bytes, 72));
        ASSERT_NE(tool.get(), nullptr);
        ClickButton(tool, IDC_DEAL_DRAW);
        EXPECT_EQ(CardsOf(tool), c.cards);
        const int credits = 20 + PayFor(c.expectedHand, c.wager);
        EXPECT_EQ(FaceOf(tool), ExpectedFace(true, 0, credits, ResultLine(c.expectedHand, c.wager)));
    }
}

TEST_F(ToolPlay, ResultLineStaysUntilTheNextDeal)
{
    SavedBlock block({47, 48, 49, 50, 51}, {1, 1, 1, 1, 1}, false, 5, 0);
    ScopedWindow tool(host.CreateLaidOutTool(240, 140, block.bytes, 72));
    ASSERT_NE(tool.get(), nullptr);
    ClickButton(tool, IDC_DEAL_DRAW);
    EXPECT_EQ(DisplayText(tool, 2), "Royal Flush : 4000");
    ClickButton(tool, IDC_BET_ONE);
    ClickButton(tool, IDC_BET_ONE);
    EXPECT_EQ(DisplayText(tool, 2), "Royal Flush : 4000");
    ClickButton(tool, IDC_DEAL_DRAW);
    EXPECT_EQ(DisplayText(tool, 2), "Video Poker");
}

TEST_F(ToolPlay, LosingTheLastCoinsTurnsEveryButtonOff)
{
    SavedBlock block({8, 21, 0, 15, 30}, {1, 1, 1, 1, 1}, false, 5, 0);
    ScopedWindow tool(host.CreateLaidOutTool(240, 140, block.bytes, 72));
    ASSERT_NE(tool.get(), nullptr);
    ClickButton(tool, IDC_DEAL_DRAW);
    EXPECT_EQ(FaceOf(tool), ExpectedFace(true, 0, 0, "Video Poker"));
    EXPECT_FALSE(FaceOf(tool).betOneOn || FaceOf(tool).betFiveOn || FaceOf(tool).dealDrawOn);
}

// Many hands with random holds: every payout, purse and face against the test's own evaluation.
TEST_F(ToolPlay, RandomGamesPayWhatTheHandIsWorth)
{
    std::mt19937 holds(20240611);
    ScopedWindow tool(host.CreateLaidOutTool(300, 175));
    ASSERT_NE(tool.get(), nullptr);
    int credits = 100;
    for (int round = 0; round < 40 && credits > 0; ++round) {
        SCOPED_TRACE("hand " + std::to_string(round));
        int coins = credits >= 5 ? 5 : credits;
        if (coins == 5 && round % 2 == 0) {
            ClickButton(tool, IDC_BET_FIVE);
        } else {
            for (int coin = 0; coin < coins; ++coin)
                ClickButton(tool, IDC_BET_ONE);
            if (coins < 5)
                ClickButton(tool, IDC_DEAL_DRAW);
        }
        credits -= coins;
        ASSERT_EQ(FaceOf(tool), ExpectedFace(false, coins, credits, "Video Poker"));
        ExpectFreshDeal(tool);
        const std::array<int, 5> dealt = CardsOf(tool);

        std::array<int, 5> held = {};
        for (int i = 0; i < HandSize; ++i) {
            held[i] = static_cast<int>(holds() % 2);
            if (held[i])
                ClickCard(tool, i);
        }
        ClickButton(tool, IDC_DEAL_DRAW);

        const std::array<int, 5> drawn = CardsOf(tool);
        EXPECT_TRUE(AllDistinct(drawn));
        for (int i = 0; i < HandSize; ++i) {
            if (held[i])
                EXPECT_EQ(drawn[i], dealt[i]) << "held card " << i;
            else
                EXPECT_EQ(std::count(dealt.begin(), dealt.end(), drawn[i]), 0) << "replaced card " << i;
        }
        const Hand hand = ClassifyHand(drawn);
        credits += PayFor(hand, coins);
        ASSERT_EQ(FaceOf(tool), ExpectedFace(true, 0, credits, ResultLine(hand, coins)));
        ASSERT_EQ(Game(tool).credits, credits);
    }
}

} // namespace
