// panel_file_test.cpp: the panel file written and read back, and read after truncation, bit flips and junk.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "apps/quorvane/crc32.h"
#include "apps/quorvane/panel_file.h"

namespace {

std::vector<uint8_t> Block(uint8_t seed, size_t size)
{
    std::vector<uint8_t> block(size);
    for (size_t i = 0; i < size; ++i)
        block[i] = static_cast<uint8_t>(seed * 31 + i * 7);
    return block;
}

SavedTool Tool(const char *module, const char *type, int x, int y, int w, int h, std::vector<uint8_t> state)
{
    SavedTool t;
    t.moduleFile = module;
    t.typeName = type;
    t.x = x;
    t.y = y;
    t.width = w;
    t.height = h;
    t.state = std::move(state);
    return t;
}

SavedPanel ThreeTools()
{
    SavedPanel p;
    p.generation = 41;
    p.hasWindow = true;
    p.window = {-8, 12, 800, 600, true};
    p.tools.push_back(Tool("VideoPoker.dll", "Video Poker", 20, 40, 360, 210, Block(1, 72)));
    p.tools.push_back(Tool("VideoPoker.dll", "Video Poker", 400, 40, 300, 175, Block(2, 72)));
    p.tools.push_back(Tool("Other.dll", "Clock", -30, 300, 240, 140, {}));
    return p;
}

SavedPanel Parse(const std::string &text, PanelFileReport *report)
{
    return ParsePanelFile(text.data(), text.size(), report);
}

// The tools read must be originals, in their order, each unchanged.
void ExpectFaithfulSubsequence(const std::vector<SavedTool> &read, const std::vector<SavedTool> &original)
{
    size_t next = 0;
    for (const SavedTool &t : read) {
        while (next < original.size() && original[next] != t)
            ++next;
        ASSERT_LT(next, original.size()) << "a tool came back changed or out of order: " << t.typeName << " at "
                                         << t.x << "," << t.y;
        ++next;
    }
}

TEST(PanelFileCheck, Crc32MatchesTheStandardCheckValue)
{
    EXPECT_EQ(Crc32(0, "123456789", 9), 0xCBF43926u);
    EXPECT_EQ(Crc32(Crc32(0, "1234", 4), "56789", 5), 0xCBF43926u);
    EXPECT_EQ(Crc32(0, "", 0), 0u);
}

TEST(PanelFileCheck, CheckedLineCarriesTheCrcOfItsContent)
{
    std::string line = CheckedLine("end\t3");
    char expected[16];
    snprintf(expected, sizeof expected, "\t%08x", Crc32(0, "end\t3", 5));
    EXPECT_EQ(line, std::string("end\t3") + expected);
    std::string content;
    EXPECT_TRUE(VerifyCheckedLine(line, &content));
    EXPECT_EQ(content, "end\t3");
    std::string upper = line;
    for (size_t i = upper.rfind('\t'); i < upper.size(); ++i)
        upper[i] = static_cast<char>(toupper(upper[i]));
    EXPECT_FALSE(VerifyCheckedLine(upper.substr(0, upper.size() - 1), &content)) << "seven digits";
    EXPECT_FALSE(VerifyCheckedLine("end\t3", &content)) << "no check at all";
}

TEST(PanelFileRoundTrip, EveryFieldComesBack)
{
    SavedPanel p = ThreeTools();
    PanelFileReport report;
    SavedPanel back = Parse(FormatPanelFile(p), &report);
    EXPECT_TRUE(report.Clean());
    EXPECT_TRUE(report.headerFound && report.endFound);
    EXPECT_EQ(back.generation, 41u);
    EXPECT_TRUE(back.SameContent(p));
    ASSERT_EQ(back.tools.size(), 3u);
    EXPECT_TRUE(back.tools[2].state.empty());
    EXPECT_EQ(back.tools[0].state, Block(1, 72));
}

TEST(PanelFileRoundTrip, NamesWithTabsPercentsAndLineBreaksSurvive)
{
    SavedPanel p;
    p.tools.push_back(Tool("odd\tname%.dll", "Line\r\nbreak 100%", 5, 6, 7, 8, {0, 255}));
    PanelFileReport report;
    SavedPanel back = Parse(FormatPanelFile(p), &report);
    EXPECT_TRUE(report.Clean());
    ASSERT_EQ(back.tools.size(), 1u);
    EXPECT_EQ(back.tools[0], p.tools[0]);
}

TEST(PanelFileRoundTrip, ReadsAnyLineEndingAndSkipsComments)
{
    for (const char *ending : {"\n", "\r", "\r\n"}) {
        std::string text = FormatPanelFile(ThreeTools()), other;
        for (char c : text)
            other += c == '\r' ? "" : c == '\n' ? ending : std::string(1, c);
        PanelFileReport report;
        SavedPanel back = Parse("# a note someone added" + std::string(ending) + ending + other, &report);
        EXPECT_TRUE(report.Clean() && back.SameContent(ThreeTools())) << int(ending[0]) << int(ending[1]);
    }
}

TEST(PanelFileRoundTrip, OnlyABlankFileIsAnEmptyPanelNotDamage)
{
    for (const char *text : {"", "\r\n\n\r", "# only a note\r"}) {
        PanelFileReport report;
        SavedPanel back = Parse(text, &report);
        bool blank = text[0] != '#';
        EXPECT_EQ(report.empty, blank) << text;
        EXPECT_EQ(report.Clean(), blank) << text;
        EXPECT_TRUE(back.tools.empty());
    }
}

TEST(PanelFileDamage, EveryTruncationKeepsTheToolsBeforeTheCut)
{
    SavedPanel p = ThreeTools();
    std::string text = FormatPanelFile(p);
    size_t lastLineStart = text.rfind("end\t");
    for (size_t cut = 0; cut <= text.size(); ++cut) {
        PanelFileReport report;
        SavedPanel back = Parse(text.substr(0, cut), &report);
        ExpectFaithfulSubsequence(back.tools, p.tools);
        // Each tool whose whole line (CRC included) is before the cut comes back.
        size_t whole = 0;
        size_t at = 0;
        while ((at = text.find("tool\t", at)) != std::string::npos) {
            if (text.find('\r', at) <= cut)
                ++whole;
            at += 5;
        }
        EXPECT_EQ(back.tools.size(), whole) << "cut at " << cut;
        bool complete = cut >= text.find('\r', lastLineStart);
        EXPECT_EQ(report.Clean(), complete || cut == 0) << "cut at " << cut;
        if (!complete && cut > 0 && !report.empty) {
            EXPECT_FALSE(report.endFound);
        }
    }
}

TEST(PanelFileDamage, NoSingleBitFlipChangesAToolOrLosesOneSilently)
{
    SavedPanel p = ThreeTools();
    std::string text = FormatPanelFile(p);
    for (size_t byte = 0; byte < text.size(); ++byte) {
        for (int bit = 0; bit < 8; ++bit) {
            std::string flipped = text;
            flipped[byte] = static_cast<char>(flipped[byte] ^ (1 << bit));
            PanelFileReport report;
            SavedPanel back = Parse(flipped, &report);
            ExpectFaithfulSubsequence(back.tools, p.tools);
            if (testing::Test::HasFatalFailure())
                return;
            // A tool that did not come back is counted as lost, so the host can start it fresh.
            EXPECT_GE(back.tools.size() + report.LostTools(), p.tools.size())
                << "byte " << byte << " bit " << bit;
            // Past the leading comment, every changed bit is noticed.
            if (byte >= text.find('\n')) {
                EXPECT_FALSE(report.Clean()) << "byte " << byte << " bit " << bit;
            }
        }
    }
}

TEST(PanelFileDamage, ADamagedToolLineCostsOnlyThatTool)
{
    SavedPanel p = ThreeTools();
    std::string text = FormatPanelFile(p);
    size_t second = text.find("tool\t", text.find("tool\t") + 1);
    text[text.find('\t', second + 5) + 3] ^= 0x04;     // a letter of the second tool's type name
    PanelFileReport report;
    SavedPanel back = Parse(text, &report);
    ASSERT_EQ(back.tools.size(), 2u);
    EXPECT_EQ(back.tools[0], p.tools[0]);
    EXPECT_EQ(back.tools[1], p.tools[2]);
    EXPECT_EQ(report.damagedToolLines, 1);
    EXPECT_EQ(report.LostTools(), 1);
    EXPECT_TRUE(report.endFound);
    EXPECT_FALSE(report.Clean());
}

TEST(PanelFileDamage, TheEndLineCountsToolsWhoseLinesVanished)
{
    SavedPanel p = ThreeTools();
    std::string text = FormatPanelFile(p);
    size_t first = text.find("tool\t");
    text.erase(first, text.find('\n', first) + 1 - first);    // a whole line gone, as by a bad editor
    PanelFileReport report;
    SavedPanel back = Parse(text, &report);
    EXPECT_EQ(back.tools.size(), 2u);
    EXPECT_EQ(report.damagedToolLines, 0);
    EXPECT_EQ(report.missingTools, 1);
    EXPECT_FALSE(report.Clean());
}

TEST(PanelFileDamage, CheckedButImpossibleLinesAreDamage)
{
    const char *bad[] = {
        "tool\tVideoPoker.dll\tVideo Poker\t1\t2\t0\t70\t-",           // no width
        "tool\tVideoPoker.dll\tVideo Poker\t1\t2\t9000\t70\t-",        // wider than any screen
        "tool\tVideoPoker.dll\tVideo Poker\t1\t2\t120\t70\tabc",       // half a byte of state
        "tool\tVideoPoker.dll\tVideo Poker\t1\t2\t120\t70\tzz",        // not hex
        "tool\tVideo%2Poker.dll\tVideo Poker\t1\t2\t120\t70\t-",       // a broken escape
        "tool\tVideoPoker.dll\tVideo Poker\t+1\t2\t120\t70\t-",        // not plain decimal
        "tool\tVideoPoker.dll\tVideo Poker\t99999999999\t2\t120\t70\t-",
    };
    for (const char *content : bad) {
        std::string text = CheckedLine("quorvane-panel\t1\t0") + "\n" + CheckedLine(content) + "\n" +
                           CheckedLine("end\t1") + "\n";
        PanelFileReport report;
        SavedPanel back = Parse(text, &report);
        EXPECT_TRUE(back.tools.empty()) << content;
        EXPECT_EQ(report.damagedToolLines, 1) << content;
        EXPECT_EQ(report.LostTools(), 1) << content;
    }
}

TEST(PanelFileDamage, JunkIsDamageButOnlyToolShapedLinesAreLostTools)
{
    std::string good = CheckedLine("tool\tVideoPoker.dll\tVideo Poker\t1\t2\t120\t70\t-"), flipped = good;
    flipped[6] ^= 1;
    const std::pair<std::string, int> lines[] = {
        {flipped + "\n", 1},                                                          // its check fails
        {good.substr(0, 30), 1},                                                       // cut off by the end
        {"tool\tjunk\n", 0},                                                           // no check at all
        {CheckedLine("tool\tVideoPoker.dll\tVideo Poker\t1\t2\t120\t70") + "\n", 0},       // a field short
        {CheckedLine("tool\tVideoPoker.dll\tVideo Poker\t1\t2\t120\t70\t-\tx") + "\n", 0}, // a field over
    };
    for (const auto &[line, lost] : lines) {
        PanelFileReport report;
        SavedPanel back = Parse(CheckedLine("quorvane-panel\t1\t0") + "\n" + line, &report);
        EXPECT_TRUE(back.tools.empty());
        EXPECT_EQ(report.damagedToolLines + report.damagedOtherLines, 1) << line;
        EXPECT_EQ(report.LostTools(), lost) << line;
    }
    PanelFileReport report;
    Parse(CheckedLine("quorvane-panel\t1\t0") + "\n" + CheckedLine("end\t1000000") + "\n", &report);
    EXPECT_EQ(report.missingTools, MaxPanelTools) << "no panel ever saved more";
}

TEST(PanelFileDamage, ANewerFormatIsNotReadAtAll)
{
    std::string text = FormatPanelFile(ThreeTools());
    std::string header = CheckedLine("quorvane-panel\t1\t41");
    text.replace(text.find(header), header.size(), CheckedLine("quorvane-panel\t2\t41"));
    PanelFileReport report;
    SavedPanel back = Parse(text, &report);
    EXPECT_TRUE(report.newerVersion);
    EXPECT_TRUE(back.tools.empty());
    EXPECT_FALSE(report.Clean());
}

TEST(PanelFileDamage, LinesAfterTheEndAndToolsBeyondTheLimitAreNotTaken)
{
    SavedPanel p;
    for (int i = 0; i < MaxPanelTools + 2; ++i)
        p.tools.push_back(Tool("VideoPoker.dll", "Video Poker", i, i, 120, 70, Block(static_cast<uint8_t>(i), 72)));
    std::string text = FormatPanelFile(p) + CheckedLine("tool\tVideoPoker.dll\tVideo Poker\t1\t1\t120\t70\t-") + "\n";
    PanelFileReport report;
    SavedPanel back = Parse(text, &report);
    EXPECT_EQ(back.tools.size(), static_cast<size_t>(MaxPanelTools));
    EXPECT_EQ(report.droppedTools, 2);
    EXPECT_EQ(report.damagedOtherLines, 1);
    EXPECT_EQ(report.missingTools, 0);
    EXPECT_FALSE(report.Clean());
}

TEST(PanelFileDamage, RandomJunkNeverYieldsATool)
{
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        std::string junk(random() % 600, '\0');
        for (char &c : junk)
            c = static_cast<char>(round % 2 ? random() % 256 : "tol\t\n\r0123456789abcdef-"[random() % 23]);
        PanelFileReport report;
        SavedPanel back = Parse(junk, &report);
        EXPECT_TRUE(back.tools.empty());
        EXPECT_FALSE(report.endFound);
    }
}

TEST(PanelFileDamage, RandomDamageToARealFileKeepsEveryToolItReturnsIntact)
{
    SavedPanel p = ThreeTools();
    std::string text = FormatPanelFile(p);
    std::mt19937 random(11);
    for (int round = 0; round < 3000; ++round) {
        std::string damaged = text;
        int edits = 1 + random() % 6;
        for (int e = 0; e < edits && !damaged.empty(); ++e) {
            size_t at = random() % damaged.size();
            switch (random() % 3) {
            case 0: damaged[at] = static_cast<char>(random() % 256); break;
            case 1: damaged.erase(at, 1 + random() % 20); break;
            default: damaged.insert(at, 1, static_cast<char>(random() % 256)); break;
            }
        }
        PanelFileReport report;
        SavedPanel back = Parse(damaged, &report);
        ExpectFaithfulSubsequence(back.tools, p.tools);
        if (testing::Test::HasFatalFailure())
            return;
    }
}

} // namespace
