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


SavedTool PokerTool(int x, int y, int width, int height, const VideoPokerGame &game)
{
    SavedTool t;
    t.moduleFile = "VideoPoker.dll";
    t.typeName = "Video Poker";
    t.x = x;
    t.y = y;
    t.width = width;
    t.height = height;
    t.state = BytesOf(game);
    return t;
}
