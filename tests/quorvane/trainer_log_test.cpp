// trainer_log_test.cpp: the trainer's memory through its file, damaged files, its caps and its texts.
#include <gtest/gtest.h>

#include "analysis/cards.h"
#include "apps/quorvane/trainer/trainer_log.h"
#include "tests/quorvane/judged_hands.h"

namespace {

TrainerMemory Read(const std::string &text, TrainerFileReport *report)
{
    return ParseTrainerFile(text.data(), text.size(), report);
}

TEST(TrainerLog, ItsFileKeepsEverythingAndADamagedLineCostsOnlyItself)
{
    TrainerMemory memory;
    Remember(memory, 2, Judged("AS KS QS JS 2D", 0x11, 0x0F, 5, 0, 1.25, 18.5));
    Remember(memory, 3, Judged("9C 9D KS 4H 2C", 0x03, 0x03, 1, 1, 0.75, 0.75));
    const std::string text = FormatTrainerFile(memory);
    TrainerFileReport report;
    TrainerMemory read = Read(text, &report);   // read back whole: below, nothing lost to damage either
    EXPECT_DOUBLE_EQ(read.tools[2].mistakesCost, 17.25);
    EXPECT_EQ(read.tools[3].bestHoldTaken, 1);
    ASSERT_EQ(read.mistakes.size(), 1u);
    EXPECT_EQ(HoldRow(read.mistakes[0].cards, read.mistakes[0].bestMask), "AS KS QS JS --");
    std::vector<double> played, perfect;
    std::string dealing;
    CreditSeries(read.hands, 0, &played, &perfect, &dealing);
    EXPECT_EQ(played, (std::vector<double>{0, -5, -5}));
    EXPECT_EQ(perfect, (std::vector<double>{0, 13.5, 13.25}));
    EXPECT_EQ(dealing, "this machine");

    // Garbage among the lines, and the last line cut short: each bad line is skipped, nothing else lost.
    const size_t afterPanel = text.find("\ntool") + 1;
    const char binary[] = "hand 2 5 0 4\0\xff machine\n";
    std::string damaged = text.substr(0, afterPanel) + "mistake 2 machine 5 1e400 AS KS QS JS 2D x...x xxxx.\n" +
                          "hand 2 9 0 4.5 machine\ntool 99999999999999999999999 1 5 0 1 1 1 0 0\npanel 1 2\n" +
                          std::string(binary, sizeof binary - 1) + std::string(100000, '7') + "\n" +
                          "mistake 2 machine 5 1.0 AS AS QS JS 2D x...x xxxx.\n" +
                          "mistake 2 machine 5 1.0 AS KS QS JS 2D xxxx. xxxx.\n" + text.substr(afterPanel) +
                          "tool 4 1 5 0 0.5 1.5 0 1 1.0";
    read = Read(damaged, &report);
    EXPECT_EQ(report.badLines, 9);
    EXPECT_EQ(FormatTrainerFile(read), text);
    EXPECT_TRUE(Read("quorvane-trainer 2\n" + text.substr(text.find('\n') + 1), &report).mistakes.empty());
    EXPECT_TRUE(report.newerVersion);
}

TEST(TrainerLog, KeepsTheNewestMistakesAndHandsAndListsTheCostliestKindsFirst)
{
    TrainerMemory memory;
    for (int i = 1; i <= 2100; ++i)
        Remember(memory, 1, Judged("AS KS QS JS 2D", 0x11, 0x0F, 5, 0, 1, 1 + i / 1000.0));
    ASSERT_EQ(memory.mistakes.size(), MaxRememberedMistakes);
    EXPECT_DOUBLE_EQ(memory.mistakes.front().cost, 1.601);
    EXPECT_EQ(memory.hands.size(), MaxHandPoints);

    // Kind "pair" costs 2.5 in two mistakes, "royal" 3 in one: the royal first; in a kind, the newest first.
    memory.mistakes.resize(3);
    memory.mistakes[0].cost = 1.0;
    memory.mistakes[1].cost = 3.0;
    memory.mistakes[2].cost = 1.5;
    const std::string listed = MistakesText(memory.mistakes, {"pair", "royal", "pair"});
    EXPECT_LT(listed.find("royal: 1 mistake, 3.0000 coins"), listed.find("pair: 2 mistakes, 2.5000 coins"));
    EXPECT_LT(listed.find("cost 1.5000"), listed.find("cost 1.0000"));
}

} // namespace
