// host_driver.cpp: test folders and panel files for the host tests.
#include "tests/quorvane/host_driver.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

std::string FreshTestFolder(const std::string &name)
{
    // Names in the system's code page, as the host takes them, whatever the C++ library makes of narrow paths.
    std::error_code ignored;
    wchar_t wide[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, wide, MAX_PATH);
    const std::filesystem::path folder = std::filesystem::temp_directory_path(ignored) / "quorvane-tests" / wide;
    std::filesystem::remove_all(folder, ignored);
    std::filesystem::create_directories(folder, ignored);
    char ansi[MAX_PATH] = {};
    WideCharToMultiByte(CP_ACP, 0, folder.wstring().c_str(), -1, ansi, MAX_PATH, nullptr, nullptr);
    return ansi;
}

SavedPanel ReadPanel(const std::string &path, PanelFileReport *report)
{
    SavedPanel panel;
    PanelFileReport ignored;
    Store store;
    std::string why;
    if (store.Open(StorePathFor(Utf8FromAnsi(path)), false, true, &why) != StoreState::Opened || !store.ReadPanel(&panel, report ? report : &ignored)) {
        if (report)
            *report = PanelFileReport();
        return SavedPanel();
    }
    return panel;
}

bool WritePanel(const std::string &path, const SavedPanel &panel)
{
    const std::string target = StorePathFor(Utf8FromAnsi(path));
    for (const char *part : {"", "-wal", "-shm"})
        RemoveStoreFile(target + part);
    SavedPanel numbered = panel;
    NumberOldTools(&numbered);
    Store store;
    std::string why;
    bool written = store.Open(target, true, false, &why) == StoreState::Created && store.Begin() &&
                   store.WritePanel(numbered) && store.Commit();
    store.Close(true);
    return written;
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
