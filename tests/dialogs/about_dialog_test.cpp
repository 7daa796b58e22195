// about_dialog_test.cpp: the About box opened from the tool's menu and from the page, its texts, the
// double-click sequence that reveals the hidden caption, and every command closing it with 1.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <windows.h>
#include "host/host_messages.h"
#include "resources/resource_ids.h"
#include "tests/common/test_host.h"

namespace {

std::string ModuleString(int id)
{
    char text[256] = "";
    LoadStringA(TestHost::Instance().Module().module, id, text, sizeof text);
    return text;
}

// Sends R (right double-click), L (left double-click) and M (mouse movement) to the dialog, and answers
// "hidden" or "normal" for the caption it shows then, which is put back to normal.
std::string Play(HWND dialog, const char *script)
{
    for (const char *step = script; *step; ++step)
        SendMessageA(dialog, *step == 'R' ? WM_RBUTTONDBLCLK : *step == 'L' ? WM_LBUTTONDBLCLK : WM_MOUSEMOVE, 0,
                     MAKELPARAM(30, 20));
    std::string caption = WindowText(dialog);
    SetWindowTextA(dialog, ModuleString(120).c_str());
    return caption == "Royal flush at dawn!" ? "hidden" : caption == ModuleString(120) ? "normal" : caption;
}

TEST(AboutDialog, OpensFromTheMenuAndThePageWithItsTextsAndAnyCommandClosesIt)
{
    TestHost &host = TestHost::Instance();
    ASSERT_TRUE(host.Ready());
    SetCursorPos(1020, 760);   // away from where the dialogs open, so no real movement reaches them
    ScopedWindow tool(host.CreateLaidOutTool(240, 140));
    std::string texts;
    DLGPROC proc = nullptr;
    ModalRun run = DriveModal([&] { SendMessageA(tool, WM_COMMAND, IDM_ABOUT, 0); }, [&](HWND dialog) {
        for (int id : {IDOK, IDC_ABOUT_NAME, IDC_ABOUT_COPYRIGHT, IDC_ABOUT_AUTHOR})
            texts += WindowText(GetDlgItem(dialog, id)) + "|";
        texts += WindowText(dialog);
        proc = reinterpret_cast<DLGPROC>(GetWindowLongPtrA(dialog, DWLP_DLGPROC));
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    EXPECT_TRUE(run.opened && run.closedByScript && run.owner == GetAncestor(tool, GA_ROOT));
    EXPECT_FALSE(ModuleString(122).empty() || ModuleString(124).empty());
    EXPECT_EQ(texts, "OK|Video Poker|" + ModuleString(122) + "|" + ModuleString(124) + "|About Video Poker...");

    ScopedWindow frame(CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 200, 100, 600, 300, nullptr, nullptr,
                                       nullptr, nullptr));
    HWND page = reinterpret_cast<HWND>(SendMessageA(tool, PTM_CREATEPAGE, WPARAM(frame.get()), MAKELONG(4, 4)));
    const struct {
        const char *how;
        std::function<void()> open;
        std::function<void(HWND)> close;
    } closes[] = {
        {"page button", [&] { SendMessageA(GetDlgItem(page, IDM_ABOUT), BM_CLICK, 0, 0); },
         [](HWND d) { SendMessageA(GetDlgItem(d, IDOK), BM_CLICK, 0, 0); }},
        {"Enter", nullptr, [](HWND d) { PostMessageA(GetDlgItem(d, IDOK), WM_KEYDOWN, VK_RETURN, 0); }},
        {"Escape", nullptr, [](HWND d) { PostMessageA(GetDlgItem(d, IDOK), WM_KEYDOWN, VK_ESCAPE, 0); }},
        {"unknown id", nullptr, [](HWND d) { SendMessageA(d, WM_COMMAND, MAKEWPARAM(4242, 7), 0); }},
    };
    for (const auto &close : closes) {
        INT_PTR result = 1;
        run = DriveModal(close.open ? close.open : [&] {
            result = DialogBoxParamA(host.Module().module, MAKEINTRESOURCEA(IDD_ABOUT), host.Panel(), proc, 0);
        }, close.close);
        EXPECT_TRUE(run.opened && run.closedByScript && result == 1) << close.how;
    }
    EXPECT_TRUE(IsWindow(page) && FindOpenDialog() == nullptr);
}

TEST(AboutDialog, DoubleClickSequenceRevealsTheHiddenCaptionOnlyInOrder)
{
    TestHost &host = TestHost::Instance();
    ScopedWindow tool(host.CreateLaidOutTool(240, 140));
    std::string seen, reopened;
    auto open = [&] { SendMessageA(tool, WM_COMMAND, IDM_ABOUT, 0); };
    DriveModal(open, [&](HWND dialog) {
        // Movement first does not matter, movement between starts over, a left first is ignored, the same
        // button twice starts over, and after a reveal the sequence starts again.
        for (const char *script : {"MRLRL", "MRLMRL", "MRLRML", "MLRLRL", "MRRLRL", "MRLLRL", "MRLRL", "RL"})
            seen += Play(dialog, script) + " ";
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    DriveModal(open, [&](HWND dialog) {
        reopened = WindowText(dialog) + " " + Play(dialog, "RL");   // two clicks complete the two before
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(seen, "hidden normal normal hidden normal normal hidden normal ");
    EXPECT_EQ(reopened, "About Video Poker... hidden") << "the next opening shows the normal caption";
}

}  // namespace
