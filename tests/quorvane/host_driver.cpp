// host_driver.cpp: test folders and panel files for the host tests.
#include "tests/quorvane/host_driver.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

std::string FreshTestFolder(const std::string &name)
{
    std::error_code ignored;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(ignored) / "quorvane-tests" / name;
    std::filesystem::remove_all(folder, ignored);
    std::filesystem::create_directories(folder, ignored);
    return folder.string();
}

SavedPanel ReadPanel(const std::string &path, PanelFileReport *report)
{
    std::string text;
    ReadWholeFile(path, &text);
    return ParsePanelFile(text.data(), text.size(), report);
}

bool WritePanel(const std::string &path, const SavedPanel &panel)
{
    return WriteFileAtomically(path, FormatPanelFile(panel));
}

std::vector<uint8_t> BlockOf(const VideoPokerGame &game)
{
    const uint8_t *bytes = reinterpret_cast<const uint8_t *>(&game);
    return std::vector<uint8_t>(bytes, bytes + sizeof game);
}

VideoPokerGame GameOf(const std::vector<uint8_t> &block)
{
    VideoPokerGame game = {};
    memcpy(&game, block.data(), std::min(block.size(), sizeof game));
    return game;
}

SavedTool PokerTool(int x, int y, int width, int height, const VideoPokerGame &game)
{
    SavedTool t;
    t.moduleFile = "VideoPoker.dll";
    t.typeName = "Video Poker";
    t.x = x;
    t.y = y;
    t.width = width;
    t.height = height;
    t.state = BlockOf(game);
    return t;
}
