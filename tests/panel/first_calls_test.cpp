// first_calls_test.cpp: a host that calls the exports out of order, in a process of its own, and a class
// registration that fails once.
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

TEST(FirstCalls, NoToolBeforeTheClassesAreRegisteredAndAFailedRegistrationIsTriedAgain)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string directory(path);
    HMODULE module = LoadLibraryA((directory.substr(0, directory.find_last_of("\\/")) + "\\VideoPoker.dll").c_str());
    auto enumerate = Export<EnumeratePanelTypesProc>(module, "EnumeratePanelTypes");
    auto init = Export<InitPanelTypeProc>(module, "InitVideoPokerToolType");
    auto create = Export<PanelToolCreateProc>(module, "VideoPokerToolCreate");
    ASSERT_TRUE(enumerate && init && create);

    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {0, DefWindowProcA, 0, 0, instance};
    wc.lpszClassName = "VpFirstCallsPanel";
    ASSERT_NE(RegisterClassA(&wc), 0);
    HWND panel = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                                 nullptr, instance, nullptr);
    const RECT rect = {0, 0, 120, 70};
    EXPECT_EQ(create(panel, &rect, nullptr, 0, 0), nullptr) << "before enumeration";
    char names[3][32];
    ASSERT_EQ(enumerate(names[0], names[1], names[2], instance, 0), TRUE);
    EXPECT_EQ(create(panel, &rect, nullptr, 0, 0), nullptr) << "before initialisation";

    // A class of the card's name already there makes the module's registration of it fail.
    wc.lpszClassName = "VideoPokerCard";
    ASSERT_NE(RegisterClassA(&wc), 0);
    PanelTypeInfo *info = nullptr;
    init(&info, 0);
    ASSERT_NE(info, nullptr);
    HWND tool = create(panel, &rect, nullptr, 0, 0);
    EXPECT_TRUE(tool && GetParent(tool) == panel) << "once the classes exist";
    DestroyWindow(tool);
    ASSERT_TRUE(UnregisterClassA("VideoPokerCard", instance));

    init(&info, 0);
    WNDCLASSA card = {};
    EXPECT_TRUE(GetClassInfoA(instance, "VideoPokerCard", &card) && card.lpfnWndProc != DefWindowProcA)
        << "the next initialisation registers it";
    DestroyWindow(panel);
}

} // namespace
