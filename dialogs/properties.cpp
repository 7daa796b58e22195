// properties.cpp: the properties page the host embeds: the pay table, "New Game" and "About Poker...".
#include "dialogs/dialogs.h"
#include "resources/module_instance.h"
#include "resources/resource_ids.h"

static INT_PTR CALLBACK PropertiesPageProc(HWND page, UINT message, WPARAM wParam, LPARAM);

// The tool that asked for a page last; every open page acts on it. Null when no live tool asked.
HWND pageTarget;
NewGameRoutine pageNewGame;

LRESULT CreatePropertiesPage(HWND tool, NewGameRoutine newGame, WPARAM wParam, LPARAM lParam)
{
    pageTarget = tool;   // replaced even when the page cannot be made
    pageNewGame = newGame;
    HWND page = CreateDialogParamA(moduleInstance, MAKEINTRESOURCEA(IDD_PROPERTIES_PAGE),
                                   reinterpret_cast<HWND>(wParam), PropertiesPageProc, 0);
    if (!page)
        return 0;
    SetWindowPos(page, HWND_TOP, LOWORD(lParam), HIWORD(lParam), 0, 0, SWP_NOSIZE);
    return reinterpret_cast<LRESULT>(page);
}

void ForgetPropertiesTarget(HWND tool)
{
    // A page may outlive its tool; it must never reach the freed record.
    if (pageTarget == tool)
        pageTarget = nullptr;
}

static void SetItemFromStringTable(HWND page, int controlId, int stringId)
{
    char text[32] = "";
    LoadStringA(moduleInstance, stringId, text, sizeof text);
    SendDlgItemMessageA(page, controlId, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

static void LoadPageTexts(HWND page)
{
    SetItemFromStringTable(page, IDC_NEW_GAME, IDS_NEW_GAME);
    SetItemFromStringTable(page, IDC_COINS_PLAYED, IDS_COINS_PLAYED);
    for (int row = 0; row <= IDC_HAND_NAME_LAST - IDC_HAND_NAME_FIRST; ++row)
        SetItemFromStringTable(page, IDC_HAND_NAME_FIRST + row, IDS_HAND_FIRST + row);
}

static void OpenAboutDialog(HWND page)
{
    DialogBoxParamA(moduleInstance, MAKEINTRESOURCEA(IDD_ABOUT), page, AboutDialogProc, 0);
}

static void StartNewGameOnTarget()
{
    if (pageTarget && pageNewGame)   // its tool is gone: nothing to restore
        pageNewGame(pageTarget);
}

static INT_PTR CALLBACK PropertiesPageProc(HWND page, UINT message, WPARAM wParam, LPARAM)
{
    switch (message)
    {
    case WM_INITDIALOG:
        LoadPageTexts(page);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam))
        {
        case IDM_ABOUT:    OpenAboutDialog(page); return FALSE;
        case IDC_NEW_GAME: StartNewGameOnTarget(); return FALSE;
        }
        return FALSE;
    }
    return FALSE;
}
