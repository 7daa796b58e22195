// panel_model_test.cpp: the host's model without a window: tools placed apart, moved within the panel,
// selected and removed; the news of a damaged panel.
#include <gtest/gtest.h>

#include "apps/quorvane/panel_model.h"
#include "apps/quorvane/panel_store.h"

namespace {

const SIZE Panel = {780, 500};

PanelTool &PlaceAt(PanelModel &model, const char *type, ToolSize size)
{
    PanelTool tool;
    tool.typeName = type;
    POINT at = model.FreeSpot(size, Panel);
    tool.rect = {at.x, at.y, at.x + size.width, at.y + size.height};
    tool.state = {uint8_t(model.tools.size())};
    return model.Place(tool);
}

TEST(PanelModel, PlacesToolsApartMovesThemWithinTheNumbersComeBackAfterRemoval)
{
    PanelModel model;
    for (int i = 0; i < 4; ++i)
        PlaceAt(model, "Clock", ToolSize{240, 140});
    for (size_t a = 0; a < 4; ++a)
        for (size_t b = a + 1; b < 4; ++b) {
            RECT x = DecoratedRect(model.tools[a].rect), y = DecoratedRect(model.tools[b].rect);
            EXPECT_TRUE(x.right <= y.left || y.right <= x.left || x.bottom <= y.top || y.bottom <= x.top) << a << b;
        }
    EXPECT_EQ(ToolTitle(model.tools[3]), "Clock 4");
    PanelModel pair;
    PlaceAt(pair, "Clock", ToolSize{360, 209});
    EXPECT_EQ(pair.FreeSpot(ToolSize{360, 209}, SIZE{772, 500}).y, pair.tools[0].rect.top)
        << "side by side where the room is, though off the grid of places";
    PanelModel one;
    PlaceAt(one, "Clock", ToolSize{240, 140});
    ASSERT_EQ(one.Select(1), &one.tools[0]);
    POINT wide = one.FreeSpot(ToolSize{600, 300}, Panel);
    EXPECT_TRUE(wide.x == 159 && wide.y == 180) << wide.x << "," << wide.y
                                                 << ": with no free place, the one covering least of the other";

    RECT far = model.Within(model.tools[0].rect, -500, 9000, Panel);
    EXPECT_EQ(far.left, EdgeBand) << "the tab stays on the panel";
    EXPECT_EQ(far.bottom, Panel.cy - EdgeBand);
    EXPECT_EQ(model.Within(far, 9000, -500, Panel).right, Panel.cx - EdgeBand) << "and its frame";

    ASSERT_TRUE(model.Select(2));
    EXPECT_EQ(model.tools.back().number, 2) << "the selected tool is on top";
    EXPECT_EQ(model.Neighbour(1), 3);
    EXPECT_EQ(model.Neighbour(-2), 4) << "round the ends";
    PanelTool removed;
    ASSERT_TRUE(model.Remove(2, &removed));
    EXPECT_EQ(removed.state, std::vector<uint8_t>{1}) << "its block goes with it";
    EXPECT_EQ(model.selected, model.tools.back().number) << "the top tool is selected next";
    EXPECT_EQ(PlaceAt(model, "Clock", ToolSize{240, 140}).number, 5) << "a number never given before";
    PanelTool kept;
    kept.number = 7;
    EXPECT_EQ(model.Place(kept).number, 7) << "a number from the store is kept";
    EXPECT_EQ(model.Place(kept).number, 8) << "unless another tool has it";
    model.Remove(8, &removed), model.Remove(7, &removed);
    model.nextNumber = MaxToolNumber + 1;
    EXPECT_EQ(model.Place(PanelTool()).number, 2) << "past the last number a tab shows, the lowest free";
    model.Remove(2, &removed);
    std::vector<SavedTool> saved = model.Saved();
    ASSERT_EQ(saved.size(), 4u);
    EXPECT_EQ(saved.back().width, 240);
    EXPECT_EQ(saved.back().number, model.tools.back().number);
    EXPECT_EQ(saved.front().state, std::vector<uint8_t>{0}) << "bottom first, blocks as last read";
}

TEST(PanelStore, ADamagedFileCostsOnlyItsDamagedToolsAndSaysSo)
{
    SavedPanel panel;
    for (int i = 0; i < 3; ++i)
        panel.tools.push_back(SavedTool{"Clock.dll", "Clock", 20, 40 + 200 * i, 240, 140, {uint8_t(i)}});
    std::string text = FormatPanelFile(panel);
    const size_t first = text.find("tool\t");
    text[first + 2] ^= 1;                            // one tool line no longer checks
    PanelFileReport report;
    SavedPanel read = ParsePanelFile(text.data(), text.size(), &report);
    RestoreNews news = NewsOfRestore(report, static_cast<int>(read.tools.size()), false, 1, "panel.cfg.bad", 3,
                                     "panel.cfg", {"Clock 3"});
    EXPECT_TRUE(news.warning);
    EXPECT_EQ(news.text, "The panel file panel.cfg was damaged: 2 tools were read back; Clock 3 was reset to a new "
                         "game. The file as it was is kept as panel.cfg.bad. 1 tool needs a module that is not "
                         "loaded; kept in the panel.");
    ParsePanelFile("", 0, &report);
    EXPECT_EQ(NewsOfRestore(report, 0, true, 0, "p.bad", 1, "p").text,
              "The panel file p was empty: a fresh panel starts. The file as it was is kept as p.bad.");
    EXPECT_EQ(NewsOfRestore(report, 0, true, 0, "", 1, "p").text, "The panel file p was empty: a fresh panel starts.");
    report = {};
    report.headerFound = report.endFound = true;
    EXPECT_EQ(NewsOfRestore(report, 3, false, 0, "", 3, "panel.cfg").text, "Restored 3 tools from panel.cfg.");
}

} // namespace
