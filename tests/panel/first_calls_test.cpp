// first_calls_test.cpp: a host that calls the exports out of order, in a process of its own.
#include <gtest/gtest.h>
#include <string>
#include <windows.h>
#include "host/host_messages.h"

namespace {

template <typename Proc>
Proc Export(HMODULE module, const char *name)
{
    return reinterpret_cast<Proc>(reinterpret_cast<void *>(GetProcAddress(module, name)));
}

LRESULT CALLBACK PlainPanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(FirstCalls, NoToolBeforeTheClassesAreRegistered)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string directory(path);
    directory = directory.substr(0, directory.find_last_of("\\/"));
    HMODULE module = LoadLibraryA((directory + "\\VideoPoker.dll").c_str());
    ASSERT_NE(module, nullptr);
    auto enumerate = Export<EnumeratePanelTypesProc>(module, "EnumeratePanelTypes");
    auto init = Export<InitPanelTypeProc>(module, "InitVideoPokerToolType");
    auto create = Export<PanelToolCreateProc>(module, "VideoPokerToolCreate");
    ASSERT_TRUE(enumerate && init && create);

    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = PlainPanelProc;
    wc.hInstance = instance;
    wc.lpszClassName = "VpFirstCallsPanel";
    ASSERT_NE(RegisterClassA(&wc), 0);
    HWND panel = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                                 nullptr, instance, nullptr);
    ASSERT_NE(panel, nullptr);
    const RECT rect = {0, 0, 120, 70};

    EXPECT_EQ(create(panel, &rect, nullptr, 0, 0), nullptr) << "before enumeration";
    char initName[32], createName[32], cleanupName[32];
    ASSERT_EQ(enumerate(initName, createName, cleanupName, instance, 0), TRUE);
    EXPECT_EQ(create(panel, &rect, nullptr, 0, 0), nullptr) << "before initialisation";

    PanelTypeInfo *info = nullptr;
    init(&info, 0);
    ASSERT_NE(info, nullptr);
    HWND tool = create(panel, &rect, nullptr, 0, 0);
    EXPECT_NE(tool, nullptr) << "once the classes exist";
    EXPECT_EQ(GetParent(tool), panel);
    DestroyWindow(tool);
    DestroyWindow(panel);
}

} // namespace
