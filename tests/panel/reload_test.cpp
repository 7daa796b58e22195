// reload_test.cpp: the module freed and loaded again at another address, as a host that reloads its
// plug-ins does: the second load makes, paints and plays tools like the first; a tool of the first load
// left alive keeps its classes in use, and the second load then makes no tool rather than run dead code.
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <windows.h>
#include "panel/tool.h"
#include "resources/resource_ids.h"
#include "tests/common/test_host.h"

namespace {

// Frees the module and keeps its address range from being used again, so the next load lies elsewhere.
void FreeAndReserve(HMODULE module)
{
    const auto *dos = reinterpret_cast<const IMAGE_DOS_HEADER *>(module);
    const SIZE_T size = reinterpret_cast<const IMAGE_NT_HEADERS *>(reinterpret_cast<const char *>(dos) + dos->e_lfanew)
                            ->OptionalHeader.SizeOfImage;
    FreeLibrary(module);
    ASSERT_EQ(GetModuleHandleA("VideoPoker.dll"), nullptr) << "the module is still loaded";
    ASSERT_NE(VirtualAlloc(module, size, MEM_RESERVE, PAGE_NOACCESS), nullptr);
}

// The wager and credits of a tool's record.
std::string Purse(HWND tool)
{
    const VideoPokerToolData *record = ToolRecord(tool);
    return record ? std::to_string(record->game.wager) + "/" + std::to_string(record->game.credits) : "no record";
}

// Creates a tool, lays it out, paints it and plays Bet 5 (which deals) and the draw; "" when it all worked.
std::string CreateAndPlay(PanelToolCreateProc create, HWND panel, HWND *made)
{
    const RECT rect = {10, 10, 310, 185};
    HWND tool = create(panel, &rect, nullptr, 0, 0);
    *made = tool;
    if (!tool)
        return "no tool";
    SendMessageA(tool, PTM_LAYOUT, 0, 0);
    RedrawWindow(tool, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    SendMessageA(GetDlgItem(tool, IDC_BET_FIVE), BM_CLICK, 0, 0);   // five coins deal at once
    const std::string dealt = Purse(tool);
    SendMessageA(GetDlgItem(tool, IDC_DEAL_DRAW), BM_CLICK, 0, 0);
    TestHost::Pump();
    const std::string drawn = Purse(tool);
    return dealt == "5/95" && drawn.substr(0, 2) == "0/" ? "" : "purse " + dealt + " then " + drawn;
}

// Points a window of the module and all its children at DefWindowProc, so they outlive the module's code.
void Orphan(HWND window)
{
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcA));
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        Orphan(child);
}

TEST(Reload, ASecondLoadElsewhereWorksAndAToolOfTheFirstStillAliveStopsIt)
{
    HWND panel = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 400, 300, nullptr,
                                 nullptr, nullptr, nullptr);
    HMODULE first = nullptr, second = nullptr, third = nullptr;
    PanelToolCreateProc create = LoadModule(&first);
    ASSERT_TRUE(create);
    HWND tool = nullptr;
    ASSERT_EQ(CreateAndPlay(create, panel, &tool), "");
    DestroyWindow(tool);
    FreeAndReserve(first);

    ASSERT_TRUE(create = LoadModule(&second)) << "enumeration or initialisation failed on the second load";
    ASSERT_NE(second, first) << "the second load lies where the first did: this proves nothing";
    EXPECT_EQ(CreateAndPlay(create, panel, &tool), "");

    // A host that frees the module with a tool still open: the tool is harmless (it runs DefWindowProc
    // now), but its windows keep the classes, which still name the freed code.
    ASSERT_TRUE(tool);
    Orphan(tool);
    FreeAndReserve(second);
    ASSERT_TRUE((create = LoadModule(&third)) && third != second);
    HWND none = nullptr;
    EXPECT_EQ(CreateAndPlay(create, panel, &none), "no tool");
    EXPECT_TRUE(IsWindow(tool)) << "the old tool is the host's to deal with";
    DestroyWindow(panel);
}

} // namespace
