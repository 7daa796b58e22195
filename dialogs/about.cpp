// about.cpp: the About dialog, and the caption that four double-clicks in a row reveal.
#include <cstdint>
#include "dialogs/dialogs.h"
#include "resources/module_instance.h"
#include "resources/resource_ids.h"

// How far the reveal sequence (right, left, right, left double-click) has come: 0..3.
// Module-wide and kept across openings, like the rest of the module's state.
int32_t aboutSequence;

constexpr int HiddenCaptionLength = 20;

struct ScrambledText {
    unsigned char bytes[HiddenCaptionLength + 1];   // always ends with a real zero
};

constexpr unsigned char ScrambleByte(unsigned char plain)
{
    return static_cast<unsigned char>((plain ^ 127) + 31);
}

constexpr unsigned char UnscrambleByte(unsigned char stored)
{
    return static_cast<unsigned char>((stored - 31) ^ 127);
}

// Shorter texts are padded with scrambled zeros: they end the text when unscrambled, yet no
// stored byte is zero, so the stored form never looks shorter than it is.
template <size_t N>
constexpr ScrambledText ScrambleText(const char (&plain)[N])
{
    static_assert(N - 1 <= HiddenCaptionLength, "the hidden caption holds at most 20 characters");
    ScrambledText text{};
    for (size_t i = 0; i < HiddenCaptionLength; ++i)
        text.bytes[i] = ScrambleByte(i < N - 1 ? static_cast<unsigned char>(plain[i]) : 0);
    return text;
}

constexpr bool HasNoStoredZero(const ScrambledText &text)
{
    for (int i = 0; i < HiddenCaptionLength; ++i)
        if (text.bytes[i] == 0)
            return false;
    return true;
}

// Evaluated by the compiler: only the scrambled bytes reach the module.
static constexpr ScrambledText hiddenCaption = ScrambleText("Royal flush at dawn!");
static_assert(HasNoStoredZero(hiddenCaption), "a stored zero would cut the hidden caption short");

static void SetTextFromStringTable(HWND window, int stringId)
{
    char text[100] = "";
    LoadStringA(moduleInstance, stringId, text, sizeof text);
    SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

static void LoadAboutTexts(HWND dialog)
{
    SetTextFromStringTable(dialog, IDS_ABOUT_ITEM);
    // The name line goes to the control that shows it, so it reads from the string table too.
    SetTextFromStringTable(GetDlgItem(dialog, IDC_ABOUT_NAME), IDS_TYPE_NAME);
    SetTextFromStringTable(GetDlgItem(dialog, IDC_ABOUT_COPYRIGHT), IDS_COPYRIGHT);
    SetTextFromStringTable(GetDlgItem(dialog, IDC_ABOUT_AUTHOR), IDS_AUTHOR);
}

static void ShowHiddenCaption(HWND dialog)
{
    char text[100];
    lstrcpyA(text, reinterpret_cast<const char *>(hiddenCaption.bytes));
    // The length is measured anew each time: a byte that unscrambles to zero ends the text.
    for (int i = 0; i < lstrlenA(text); ++i)
        text[i] = static_cast<char>(UnscrambleByte(static_cast<unsigned char>(text[i])));
    SendMessageA(dialog, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

enum SequenceInput { RightDoubleClick = 0, LeftDoubleClick = 1, MouseMoved = 2 };

static void AdvanceSequence(HWND dialog, SequenceInput input)
{
    static const int8_t next[4][3] = {
        /*            right  left  move */
        /* 0 */     { 1,     0,    0 },
        /* 1 */     { 0,     2,    0 },
        /* 2 */     { 3,     0,    0 },
        /* 3 */     { 0,     0,    0 },
    };
    if (aboutSequence == 3 && input == LeftDoubleClick)
        ShowHiddenCaption(dialog);
    aboutSequence = next[aboutSequence][input];
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM, LPARAM)
{
    switch (message)
    {
    case WM_INITDIALOG:    LoadAboutTexts(dialog); return TRUE;
    case WM_COMMAND:       EndDialog(dialog, 1); return TRUE;
    case WM_MOUSEMOVE:     AdvanceSequence(dialog, MouseMoved); return TRUE;
    case WM_RBUTTONDBLCLK: AdvanceSequence(dialog, RightDoubleClick); return TRUE;
    case WM_LBUTTONDBLCLK: AdvanceSequence(dialog, LeftDoubleClick); return TRUE;
    }
    return FALSE;
}
