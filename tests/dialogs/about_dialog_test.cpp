// about_dialog_test.cpp: the About box opened from the tool's menu and from the page, its texts, the
// double-click sequence that reveals the hidden caption, and every command closing it with 1.
#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <string>
#include <vector>
#include <windows.h>
#include "host/host_messages.h"
#include "tests/common/test_host.h"
#include "tests/dialogs/modal_driver.h"

namespace {

const char kHiddenCaption[] = "Royal flush at dawn!";

std::string ModuleString(int id)
{
    char text[256] = "";
    LoadStringA(TestHost::Instance().Module().module, id, text, sizeof text);
    return text;
}

// Sends the double-clicks and movements of a script such as "RLRL" (R right, L left double-click,
// M mouse movement, C the normal caption put back) to the dialog, in one go.
void Play(HWND dialog, const char *script)
{
    for (const char *step = script; *step; ++step) {
        switch (*step) {
        case 'R': SendMessageA(dialog, WM_RBUTTONDBLCLK, MK_RBUTTON, MAKELPARAM(30, 20)); break;
        case 'L': SendMessageA(dialog, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(30, 20)); break;
        case 'M': SendMessageA(dialog, WM_MOUSEMOVE, 0, MAKELPARAM(31, 20)); break;
        case 'C': SetWindowTextA(dialog, ModuleString(120).c_str()); break;
        }
    }
}

void CloseWith(HWND dialog, WORD command)
{
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
}

class AboutDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(host.Ready());
        // The pointer away from where the dialogs open, so no real movement reaches them.
        SetCursorPos(1020, 760);
        tool = host.CreateLaidOutTool(240, 140);
        ASSERT_NE(tool, nullptr);
    }
    void TearDown() override
    {
        if (tool)
            DestroyWindow(tool);
        host.Pump();
    }

    // Opens the About box with the tool's menu command and runs script inside it.
    ModalRun FromMenu(const std::function<void(HWND)> &script)
    {
        return DriveModal([&] { SendMessageA(tool, WM_COMMAND, 119, 0); }, script);
    }

    // The dialog procedure of the About box, taken from a box the tool opened.
    DLGPROC AboutProc()
    {
        DLGPROC proc = nullptr;
        FromMenu([&](HWND dialog) {
            proc = reinterpret_cast<DLGPROC>(GetWindowLongPtrA(dialog, DWLP_DLGPROC));
            CloseWith(dialog, IDOK);
        });
        return proc;
    }

    TestHost &host = TestHost::Instance();
    HWND tool = nullptr;
};

TEST_F(AboutDialog, MenuCommandOpensTheBoxWithItsTexts)
{
    std::string caption, nameLine, copyright, author, ok;
    std::vector<int> ids;
    LONG okStyle = 0;
    ModalRun run = FromMenu([&](HWND dialog) {
        caption = WindowText(dialog);
        nameLine = WindowText(GetDlgItem(dialog, 115));
        copyright = WindowText(GetDlgItem(dialog, 121));
        author = WindowText(GetDlgItem(dialog, 123));
        ok = WindowText(GetDlgItem(dialog, IDOK));
        okStyle = GetWindowLongA(GetDlgItem(dialog, IDOK), GWL_STYLE);
        for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            ids.push_back(GetDlgCtrlID(child));
        CloseWith(dialog, IDOK);
    });
    ASSERT_TRUE(run.opened);
    EXPECT_TRUE(run.closedByScript);
    EXPECT_EQ(run.owner, GetAncestor(tool, GA_ROOT));
    EXPECT_EQ(caption, "About Video Poker...");
    EXPECT_EQ(nameLine, "Video Poker");     // the name line reads from the string table
    EXPECT_FALSE(copyright.empty());
    EXPECT_EQ(copyright, ModuleString(122));
    EXPECT_FALSE(author.empty());
    EXPECT_EQ(author, ModuleString(124));
    EXPECT_EQ(ok, "OK");
    EXPECT_EQ(okStyle & 0x0F, BS_DEFPUSHBUTTON);
    EXPECT_EQ(ids, (std::vector<int>{IDOK, 115, 121, 123}));
    EXPECT_EQ(FindOpenDialog(), nullptr);
}

TEST_F(AboutDialog, PageButtonOpensTheBoxOwnedByThePagesWindow)
{
    HWND frame = CreateWindowExA(0, "STATIC", "properties", WS_POPUP | WS_VISIBLE, 200, 100, 600, 300,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(frame, nullptr);
    HWND page = reinterpret_cast<HWND>(
        SendMessageA(tool, PTM_CREATEPAGE, reinterpret_cast<WPARAM>(frame), MAKELONG(4, 4)));
    ASSERT_NE(page, nullptr);
    std::string caption;
    ModalRun run = DriveModal(
        [&] { SendMessageA(GetDlgItem(page, 119), BM_CLICK, 0, 0); },
        [&](HWND dialog) {
            caption = WindowText(dialog);
            CloseWith(dialog, IDOK);
        });
    ASSERT_TRUE(run.opened);
    EXPECT_TRUE(run.closedByScript);
    EXPECT_EQ(run.owner, frame);    // a child cannot own a popup: its top-level window does
    EXPECT_EQ(caption, "About Video Poker...");
    EXPECT_TRUE(IsWindow(page));    // the page stays after the box closes
    DestroyWindow(frame);
}

TEST_F(AboutDialog, DoubleClickSequenceRevealsTheHiddenCaptionOnlyInOrder)
{
    struct Case {
        const char *script;
        bool revealed;
    } cases[] = {
        {"RLRL", true},
        {"MRLRL", true},            // movement before the first click does not matter
        {"RLRLL", true},            // the caption stays once shown
        {"RLMRL", false},           // movement between clicks starts over
        {"RLRML", false},
        {"RMLRL", false},
        {"LRLR", false},            // a left click first is ignored: this ends one click short
        {"LRLRL", true},
        {"RRLRL", false},           // the same button twice starts over
        {"RLLRL", false},
        {"RLRRL", false},
        {"RLRLCRL", false},         // after a reveal the sequence starts again at the beginning
        {"RLRLCRLRL", true},
        {"RLRLRLRL", true},
    };
    const std::string normal = ModuleString(120);
    std::vector<std::string> captions;
    std::string revealed;
    ModalRun run = FromMenu([&](HWND dialog) {
        for (const Case &c : cases) {
            Play(dialog, "CM");
            Play(dialog, c.script);
            captions.push_back(WindowText(dialog));
        }
        Play(dialog, "CMRLRL");
        revealed = WindowText(dialog);
        CloseWith(dialog, IDOK);
    });
    ASSERT_TRUE(run.opened);
    ASSERT_EQ(captions.size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(captions[i], cases[i].revealed ? kHiddenCaption : normal) << cases[i].script;
    EXPECT_EQ(revealed, kHiddenCaption);
    EXPECT_LE(revealed.size(), 20u);
}

TEST_F(AboutDialog, NextOpeningShowsTheNormalCaptionAndTheSequenceCarriesOver)
{
    std::string shown, reopened, afterTwoMore;
    FromMenu([&](HWND dialog) {
        Play(dialog, "MRLRL");
        shown = WindowText(dialog);
        CloseWith(dialog, IDOK);
    });
    ModalRun second = FromMenu([&](HWND dialog) {
        reopened = WindowText(dialog);
        Play(dialog, "RL");
        CloseWith(dialog, IDOK);
    });
    ModalRun third = FromMenu([&](HWND dialog) {
        Play(dialog, "RL");     // two clicks here complete the two of the box before
        afterTwoMore = WindowText(dialog);
        CloseWith(dialog, IDOK);
    });
    ASSERT_TRUE(second.opened);
    ASSERT_TRUE(third.opened);
    EXPECT_EQ(shown, kHiddenCaption);
    EXPECT_EQ(reopened, "About Video Poker...");
    EXPECT_EQ(afterTwoMore, kHiddenCaption);
}

TEST_F(AboutDialog, AnyCommandClosesItWithOne)
{
    DLGPROC proc = AboutProc();
    ASSERT_NE(proc, nullptr);
    HMODULE module = host.Module().module;
    struct Close {
        const char *how;
        std::function<void(HWND)> act;
    } closes[] = {
        {"OK clicked", [](HWND d) { SendMessageA(GetDlgItem(d, IDOK), BM_CLICK, 0, 0); }},
        {"Enter", [](HWND d) { PostMessageA(GetDlgItem(d, IDOK), WM_KEYDOWN, VK_RETURN, 0); }},
        {"Escape", [](HWND d) { PostMessageA(GetDlgItem(d, IDOK), WM_KEYDOWN, VK_ESCAPE, 0); }},
        {"IDCANCEL", [](HWND d) { CloseWith(d, IDCANCEL); }},
        {"unknown id", [](HWND d) { SendMessageA(d, WM_COMMAND, MAKEWPARAM(4242, 7), 0); }},
        {"menu-style command", [](HWND d) { SendMessageA(d, WM_COMMAND, 0, 0); }},
    };
    for (const Close &close : closes) {
        INT_PTR result = 0;
        ModalRun run = DriveModal(
            [&] { result = DialogBoxParamA(module, MAKEINTRESOURCEA(125), host.Panel(), proc, 0); },
            close.act);
        EXPECT_TRUE(run.opened) << close.how;
        EXPECT_TRUE(run.closedByScript) << close.how;
        EXPECT_EQ(result, 1) << close.how;
    }
}

TEST_F(AboutDialog, ClicksAndMovementLeaveTheBoxOpen)
{
    bool stillOpen = false;
    ModalRun run = FromMenu([&](HWND dialog) {
        Play(dialog, "RLMRMLR");
        SendMessageA(dialog, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 20));
        SendMessageA(dialog, WM_LBUTTONUP, 0, MAKELPARAM(30, 20));
        host.Pump();
        stillOpen = IsWindowVisible(dialog) != FALSE;
        CloseWith(dialog, IDOK);
    });
    ASSERT_TRUE(run.opened);
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(run.closedByScript);
}

}  // namespace
