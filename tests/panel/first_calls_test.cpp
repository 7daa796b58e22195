// first_calls_test.cpp: the exports as a host first calls them, in order and out of it, in a process of
// their own: enumeration, class registration (one that fails once), the type descriptor.
#include <gtest/gtest.h>
#include <string>
#include <windows.h>
#include "tests/common/test_host.h"

namespace {

TEST(FirstCalls, EnumerationThenInitialisationEvenAfterAFailedRegistration)
{
    HMODULE module = LoadLibraryA(ProgramBeside("VideoPoker.dll").c_str());
    auto enumerate = reinterpret_cast<EnumeratePanelTypesProc>(GetProcAddress(module, "EnumeratePanelTypes"));
    auto init = reinterpret_cast<InitPanelTypeProc>(GetProcAddress(module, "InitVideoPokerToolType"));
    auto create = reinterpret_cast<PanelToolCreateProc>(GetProcAddress(module, "VideoPokerToolCreate"));
    ASSERT_TRUE(enumerate && init && create);

    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {0, DefWindowProcA, 0, 0, instance};
    wc.lpszClassName = "VpFirstCallsPanel";
    ASSERT_NE(RegisterClassA(&wc), 0);
    HWND panel = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                                 nullptr, instance, nullptr);
    const RECT rect = {0, 0, 120, 70};
    EXPECT_EQ(create(panel, &rect, nullptr, 0, 0), nullptr) << "before enumeration";

    // The names with their zeros and nothing past them, in buffers filled with 0x7F; a second: no type.
    char names[2][3][32];
    memset(names, 0x7F, sizeof names);
    ASSERT_EQ(enumerate(names[0][0], names[0][1], names[0][2], instance, 0), TRUE);
    EXPECT_EQ(enumerate(names[1][0], names[1][1], names[1][2], instance, 0), FALSE);
    std::string dirty = std::string(names[0][0], sizeof names);
    for (char &c : dirty)
        c = c == 0x7F ? '.' : c ? c : '0';
    EXPECT_EQ(dirty, "InitVideoPokerToolType0.........VideoPokerToolCreate0...........VideoPokerToolCleanup0.........." +
                         std::string(96, '.'));
    EXPECT_EQ(create(panel, &rect, nullptr, 0, 0), nullptr) << "before initialisation";

    // A class of the card's name already there makes the module's registration of it fail.
    wc.lpszClassName = "VideoPokerCard";
    ASSERT_NE(RegisterClassA(&wc), 0);
    PanelTypeInfo *info = nullptr;
    EXPECT_EQ(init(&info, 0), &info) << "the slot's address is returned";
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(create(panel, &rect, nullptr, 0, 0), nullptr) << "the host's class is not the module's card";
    ASSERT_TRUE(UnregisterClassA("VideoPokerCard", instance));

    GdiTableFill fill(50);
    const int free = fill.CountCreatable();
    PanelTypeInfo *again = nullptr;
    init(&again, 0);
    EXPECT_EQ(fill.CountCreatable(), free) << "a second initialisation loads no bitmap again";
    EXPECT_EQ(again, info);
    HWND tool = create(panel, &rect, nullptr, 0, 0);
    EXPECT_TRUE(tool && GetParent(tool) == panel) << "once the classes are the module's";
    DestroyWindow(tool);
    EXPECT_EQ(std::string(info->name) + "|" + info->description, "Video Poker|Video Poker Tool for Quorvane");
    BITMAP color = {}, mono = {};
    GetObjectA(info->colorBitmap, sizeof color, &color);
    GetObjectA(info->monoBitmap, sizeof mono, &mono);
    EXPECT_TRUE(color.bmWidth == 16 && color.bmHeight == 16 && mono.bmWidth == 16 && mono.bmBitsPixel == 1);

    // Each class under the host's instance, not the module's; the card's now registered at last.
    const struct { const char *name; int windowExtra; bool arrow; int brush; } classes[] = {
        {"VideoPokerTool", sizeof(LONG_PTR), true, BLACK_BRUSH}, {"VideoPokerCard", 0, false, WHITE_BRUSH},
        {"VideoPokerDisplay", 0, false, WHITE_BRUSH}};
    for (const auto &c : classes) {
        WNDCLASSA got = {};
        ASSERT_TRUE(GetClassInfoA(instance, c.name, &got)) << c.name;
        EXPECT_TRUE(got.style == CS_DBLCLKS && got.cbWndExtra == c.windowExtra && got.lpfnWndProc != DefWindowProcA &&
                    got.hCursor == (c.arrow ? LoadCursor(nullptr, IDC_ARROW) : nullptr) &&
                    got.hbrBackground == GetStockObject(c.brush)) << c.name;
        EXPECT_FALSE(GetClassInfoA(module, c.name, &got)) << "not under the module's instance";
    }
    DestroyWindow(panel);
}

} // namespace
