// panel_file_test.cpp: an older host's panel file (and the export) written and read back, and read after
// every kind of damage, as the import reads it.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "apps/quorvane/panel_file.h"

namespace {

SavedTool Tool(const char *module, const char *type, int x, int y, int w, int h, uint8_t seed, size_t size)
{
    SavedTool t;
    t.moduleFile = module;
    t.typeName = type;
    t.x = x, t.y = y, t.width = w, t.height = h;
    for (size_t i = 0; i < size; ++i)
        t.state.push_back(static_cast<uint8_t>(seed * 31 + i * 7));
    return t;
}

SavedPanel ThreeTools()
{
    SavedPanel p;
    p.generation = 41;
    p.hasWindow = true;
    p.window = {-8, 12, 800, 600, true};
    p.tools.push_back(Tool("VideoPoker.dll", "Video Poker", 20, 40, 360, 210, 1, 72));
    p.tools.push_back(Tool("odd\tname%.dll", "Line\r\nbreak 100%", 400, 40, 300, 175, 2, 72));
    p.tools.push_back(Tool("Other.dll", "Clock", -30, 300, 240, 140, 0, 0));
    p.tools[0].number = 4, p.tools[1].number = 1;    // the third as an older host wrote it: no number
    return p;
}

SavedPanel Parse(const std::string &text, PanelFileReport *report)
{
    return ParsePanelFile(text.data(), text.size(), report);
}

TEST(PanelFile, ComesBackWholeWithAnyLineEndingAndNotes)
{
    EXPECT_EQ(CheckedLine("123456789"), "123456789\tcbf43926");   // the CRC-32 of zlib and PNG
    for (const char *ending : {"\n", "\r", "\r\n"}) {
        std::string text = FormatPanelFile(ThreeTools()), other;
        for (char c : text)
            other += c == '\r' ? "" : c == '\n' ? ending : std::string(1, c);
        PanelFileReport report;
        SavedPanel back = Parse("# a note someone added" + std::string(ending) + ending + other, &report);
        EXPECT_TRUE(report.Clean() && report.endFound) << int(ending[0]) << int(ending[1]);
        EXPECT_EQ(back.generation, 41u);
        EXPECT_TRUE(back.SameContent(ThreeTools())) << int(ending[0]) << int(ending[1]);
        EXPECT_EQ(back.tools[0].number, 4) << "the numbers on the tabs come back";
    }
    PanelFileReport report;
    Parse("\r\n\n\r", &report);
    EXPECT_TRUE(report.empty && !report.Clean()) << "no host writes a blank file: it is damage";
}

std::string Header() { return CheckedLine("quorvane-panel\t1\t0") + "\n"; }
std::string Line(const char *content) { return CheckedLine(content) + "\n"; }
const char *const GoodTool = "tool\tVideoPoker.dll\tVideo Poker\t1\t2\t120\t70\t-";

TEST(PanelFile, EachKindOfDamageCostsOnlyWhatItTouchesAndIsReported)
{
    const std::string full = FormatPanelFile(ThreeTools());
    const size_t second = full.find("tool\t", full.find("tool\t") + 1);
    struct Case { const char *what; std::function<std::string()> text; size_t tools; int lost; };
    const Case cases[] = {
        {"a letter of one tool changed", [&] { std::string t = full; t[t.find('\t', second + 5) + 3] ^= 4; return t; }, 2, 1},
        {"a tool line gone", [&] { std::string t = full; return t.erase(second, t.find('\n', second) + 1 - second); }, 2, 1},
        {"cut inside the last tool", [&] { return full.substr(0, full.rfind("tool\t") + 20); }, 2, 1},
        {"cut before the end line", [&] { return full.substr(0, full.rfind("end\t")); }, 3, 0},
        {"no width", [] { return Header() + Line("tool\tVideoPoker.dll\tVideo Poker\t1\t2\t0\t70\t-") + Line("end\t1"); }, 0, 1},
        {"wider than a screen", [] { return Header() + Line("tool\tVideoPoker.dll\tVideo Poker\t1\t2\t9000\t70\t-") + Line("end\t1"); }, 0, 1},
        {"far out of reach", [] { return Header() + Line("tool\tVideoPoker.dll\tVideo Poker\t99999999999\t2\t120\t70\t-") + Line("end\t1"); }, 0, 1},
        {"half a byte of state", [] { return Header() + Line("tool\tVideoPoker.dll\tVideo Poker\t1\t2\t120\t70\tabc") + Line("end\t1"); }, 0, 1},
        {"state not hex", [] { return Header() + Line("tool\tVideoPoker.dll\tVideo Poker\t1\t2\t120\t70\tzz") + Line("end\t1"); }, 0, 1},
        {"a broken escape", [] { return Header() + Line("tool\tVideo%2Poker.dll\tVideo Poker\t1\t2\t120\t70\t-") + Line("end\t1"); }, 0, 1},
        {"junk without a check", [] { return Header() + "tool\tjunk\n" + Line(GoodTool) + Line("end\t1"); }, 1, 0},
        {"a field short", [] { return Header() + Line("tool\tVideoPoker.dll\tVideo Poker\t1\t2\t120\t70") + Line("end\t0"); }, 0, 0},
        {"a newer format", [&] { return Line("quorvane-panel\t2\t0") + Line(GoodTool) + Line("end\t1"); }, 0, 0},
        {"a line after the end", [] { return Header() + Line("end\t0") + Line(GoodTool); }, 0, 0},
        {"more tools than a panel holds", [] {
            std::string t = Header();
            for (int i = 0; i < MaxPanelTools + 2; ++i)
                t += Line(GoodTool);
            return t + Line("end\t66"); }, size_t(MaxPanelTools), 0},
    };
    for (const Case &c : cases) {
        PanelFileReport report;
        SavedPanel back = Parse(c.text(), &report);
        EXPECT_FALSE(report.Clean()) << c.what;
        EXPECT_EQ(back.tools.size(), c.tools) << c.what;
        EXPECT_EQ(report.LostTools(), c.lost) << c.what;
        for (const SavedTool &t : back.tools)    // what comes back is an original, unchanged
            EXPECT_TRUE(t.state.empty() || t == ThreeTools().tools[0] || t == ThreeTools().tools[1]) << c.what;
    }
    PanelFileReport report;
    Parse(Header() + Line("end\t1000000"), &report);
    EXPECT_EQ(report.missingTools, MaxPanelTools) << "no panel ever saved more";
}

TEST(PanelFile, PlacesKeptAt96DpiComeBackTheSameFromAnyScreen)
{
    SavedTool tool = ThreeTools().tools[2];
    SavedTool shown = ToolAtDpi(tool, StoreDpi, 144);
    EXPECT_TRUE(shown.x == -45 && shown.y == 450 && shown.width == 360 && shown.height == 210);
    EXPECT_TRUE(shown.state == tool.state && shown.typeName == tool.typeName);
    EXPECT_EQ(ToolAtDpi(Tool("m", "t", 15, 7, 121, 69, 0, 0), StoreDpi, 144).x, 23) << "the nearest pixel";
    // Every place and size on the screens players have, kept again, is what was kept.
    for (int dpi : {96, 120, 144, 168, 192, 240, 288})
        for (int v = -40; v <= 1200; ++v) {
            SavedTool kept = Tool("m", "t", v, -v, v + 1, 3 * v, 0, 0);
            ASSERT_EQ(ToolAtDpi(ToolAtDpi(kept, StoreDpi, dpi), dpi, StoreDpi), kept) << dpi << " " << v;
        }
    SavedWindow window = ThreeTools().window;
    SavedWindow big = WindowAtDpi(window, StoreDpi, 192);
    EXPECT_TRUE(big.x == -16 && big.width == 1600 && big.maximized);
    EXPECT_EQ(WindowAtDpi(big, 192, StoreDpi), window);
}

} // namespace
