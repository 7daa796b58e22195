// tool.cpp: the tool window: creation of a tool and its eleven children, layout, menu, commands, view.
#include <cstdlib>
#include "panel/tool.h"
#include "dialogs/dialogs.h"
#include "resources/module_instance.h"
#include "resources/resource_ids.h"

namespace {

const char ToolClassName[] = VIDEO_POKER_TOOL_CLASS;
const char CardClassName[] = VIDEO_POKER_CARD_CLASS;
const char DisplayClassName[] = VIDEO_POKER_DISPLAY_CLASS;
const DWORD ChildStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
const int CaptionSize = 32;
const int MenuTextSize = 100;

// Where the engine's words are in the string table.
int StringIdOf(GameText text)
{
    switch (text) {
    case TextWagerPrefix:   return IDS_WAGER_PREFIX;
    case TextCreditsPrefix: return IDS_CREDITS_PREFIX;
    case TextDeal:          return IDS_DEAL;
    case TextDraw:          return IDS_DRAW;
    default:                return IDS_TITLE + (text - TextTitle);   // the title, then the hand names
    }
}

// The engine's view over one tool's children. A child that could not be created is a null handle;
// InvalidateRect(NULL) would repaint every window on the desktop, so null handles are skipped.
class ToolView final : public GameView {
public:
    explicit ToolView(VideoPokerToolData &data) : data_(data) {}

    void SetDisplayText(int display, const char *text) override
    {
        HWND window = data_.displayWindows[display];
        if (!window)
            return;
        SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
        InvalidateRect(window, nullptr, TRUE);
    }

    void RepaintCard(int position, bool erase) override
    {
        if (data_.cardWindows[position])
            InvalidateRect(data_.cardWindows[position], nullptr, erase ? TRUE : FALSE);
    }

    void EnableButton(int button, bool on) override
    {
        if (data_.buttons[button])
            EnableWindow(data_.buttons[button], on ? TRUE : FALSE);
    }

    void SetDealDrawLabel(GameText label) override
    {
        char caption[CaptionSize] = "";
        LoadStringA(moduleInstance, StringIdOf(label), caption, sizeof caption);
        if (data_.buttons[DealDrawButton])
            SendMessageA(data_.buttons[DealDrawButton], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(caption));
    }

    // The button answers its own press and release with WM_COMMAND 264 before the release returns.
    void ClickDealDraw() override
    {
        HWND button = data_.buttons[DealDrawButton];
        if (!button)
            return;
        SendMessageA(button, WM_LBUTTONDOWN, 0, 0);
        SendMessageA(button, WM_LBUTTONUP, 0, 0);
    }

    int LoadText(GameText text, char *buffer, int size) override
    {
        if (size <= 0)
            return 0;
        buffer[0] = '\0';
        return LoadStringA(moduleInstance, StringIdOf(text), buffer, size);
    }

private:
    VideoPokerToolData &data_;
};

HFONT CreateToolFont(int height)
{
    char face[CaptionSize] = "";
    LoadStringA(moduleInstance, IDS_FONT_FACE, face, sizeof face);
    return CreateFontA(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_TT_ONLY_PRECIS,
                       CLIP_DEFAULT_PRECIS, PROOF_QUALITY, 0, face);
}

// "%s%d" of a string-table prefix and a number, or the string alone.
void ComposeDisplayText(char *slot, int stringId, const int *number)
{
    char prefix[CaptionSize] = "";
    LoadStringA(moduleInstance, stringId, prefix, sizeof prefix);
    if (number)
        wsprintfA(slot, "%s%d", prefix, *number);
    else
        wsprintfA(slot, "%s", prefix);
}

// The provisional place of card i until the first layout: the fifth of the width is kept as a float.
int ProvisionalCardX(const RECT &rect, int i)
{
    volatile float fifth = (rect.right - rect.left) * 0.2f;   // stored, so x87 builds round it too
    volatile float offset = i * fifth;
    return rect.left + static_cast<int>(offset);
}

void CreateChildren(VideoPokerToolData &data, HWND tool, const RECT &rect)
{
    const int L = rect.left, T = rect.top, R = rect.right, B = rect.bottom;

    for (int i = 0; i < HandSize; ++i)
        data.cardWindows[i] = CreateWindowExA(0, CardClassName, "", ChildStyle, ProvisionalCardX(rect, i), T,
                                              R - L, (3 * (B - T)) / 5, tool, nullptr, hostInstance, nullptr);

    // The displays cannot reach the record yet, so their first texts are written into it directly.
    ComposeDisplayText(data.displayTexts[WagerDisplay], IDS_WAGER_PREFIX, &data.game.wager);
    data.displayWindows[WagerDisplay] = CreateWindowExA(0, DisplayClassName, "", ChildStyle, L, B / 10,
                                                        (R - L) / 2, (B - T) / 10, tool, nullptr,
                                                        hostInstance, nullptr);
    ComposeDisplayText(data.displayTexts[CreditsDisplay], IDS_CREDITS_PREFIX, &data.game.credits);
    data.displayWindows[CreditsDisplay] = CreateWindowExA(0, DisplayClassName, "", ChildStyle, (R - L) / 2,
                                                          B / 10, (R - L) / 2, (B - T) / 10, tool, nullptr,
                                                          hostInstance, nullptr);
    ComposeDisplayText(data.displayTexts[ResultDisplay], IDS_TITLE, nullptr);
    data.displayWindows[ResultDisplay] = CreateWindowExA(0, DisplayClassName, "", ChildStyle, L, T, R,
                                                         (B - T) / 2, tool, nullptr, hostInstance, nullptr);

    const int captions[ButtonCount] = {IDS_BET_ONE, IDS_BET_FIVE,
                                       data.game.handComplete ? IDS_DEAL : IDS_DRAW};
    const int controlIds[ButtonCount] = {IDC_BET_ONE, IDC_BET_FIVE, IDC_DEAL_DRAW};
    for (int b = 0; b < ButtonCount; ++b) {
        char caption[CaptionSize] = "";
        LoadStringA(moduleInstance, captions[b], caption, sizeof caption);
        data.buttons[b] = CreateWindowExA(0, "Button", caption, WS_CHILD | WS_VISIBLE, L, T, R, B, tool,
                                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlIds[b])),
                                          hostInstance, nullptr);
    }
}

LRESULT PaintTool(HWND window, VideoPokerToolData *data)
{
    if (!GetUpdateRect(window, nullptr, FALSE))
        return 0;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    PanelPaintRequest request = {};
    request.window = data ? data->toolWindow : window;   // the same handle once the record exists
    request.dc = dc;
    GetClientRect(window, &request.rect);
    request.isChild = 0;
    request.offset = POINT{0, 0};
    SendMessageA(GetParent(window), PTM_PAINTBACKGROUND, 0, reinterpret_cast<LPARAM>(&request));
    EndPaint(window, &paint);
    return 0;
}

void DestroyTool(HWND window, VideoPokerToolData *data)
{
    if (!data)
        return;
    SetWindowLongPtrA(window, 0, 0);   // the children, destroyed next, must find no record
    if (data->font)
        DeleteObject(data->font);
    ForgetPropertiesTarget(window);     // an open properties page must never reach a destroyed tool
    free(data);
}

// The properties page's "New Game", on the tool that asked for a page last.
void StartNewGame(HWND tool)
{
    if (VideoPokerToolData *data = ToolDataOf(tool))
        RunOnTool(data, NewGame);
}

// Only the tool's own commands act; any other id, whoever sends it, changes nothing.
LRESULT RunCommand(HWND window, VideoPokerToolData *data, int command)
{
    switch (command) {
    case IDM_PROPERTIES:
        SendMessageA(GetParent(window), PTM_SHOWPROPERTIES, reinterpret_cast<WPARAM>(window), 0);
        return 0;
    case IDM_ABOUT:
        DialogBoxParamA(moduleInstance, MAKEINTRESOURCEA(IDD_ABOUT), window, AboutDialogProc, 0);
        return 0;
    case IDC_BET_ONE:
        if (data)
            RunOnTool(data, BetOne);
        return 0;
    case IDC_BET_FIVE:
        if (data)
            RunOnTool(data, BetFive);
        return 0;
    case IDC_DEAL_DRAW:
        if (data)
            RunOnTool(data, DealOrDraw);
        return 0;
    }
    return 0;
}

void LayoutToolChildren(HWND window, VideoPokerToolData *data)
{
    RECT client;
    GetClientRect(window, &client);
    const int W = client.right, H = client.bottom;

    for (int i = 0; i < HandSize; ++i)
        SetWindowPos(data->cardWindows[i], window, (W * i) / 5 + W / 300, H / 4, W / 5 - W / 150,
                     (11 * H) / 20, SWP_NOZORDER);

    if (data->font)
        DeleteObject(data->font);
    volatile double fontHeight = H * 0.13333333333333333;   // stored, so x87 builds round to double
    data->font = CreateToolFont(static_cast<int>(fontHeight));
    for (int b = 0; b < ButtonCount; ++b)
        SendMessageA(data->buttons[b], WM_SETFONT, reinterpret_cast<WPARAM>(data->font), 0);

    const int buttonY = H - H / 5 + 2, buttonHeight = H / 5 - 4;
    SetWindowPos(data->buttons[BetOneButton], window, W / 300, buttonY, W / 5 - W / 150, buttonHeight,
                 SWP_NOZORDER);
    SetWindowPos(data->buttons[BetFiveButton], window, W / 5 + W / 300, buttonY, 2 * (W / 5) - W / 150,
                 buttonHeight, SWP_NOZORDER);
    SetWindowPos(data->buttons[DealDrawButton], window, 3 * (W / 5) + W / 300, buttonY,
                 2 * (W / 5) - W / 150, buttonHeight, SWP_NOZORDER);
    SetWindowPos(data->displayWindows[WagerDisplay], window, W / 300, H / 8, W / 2 - 4, H / 8, SWP_NOZORDER);
    SetWindowPos(data->displayWindows[CreditsDisplay], window, W / 2 + W / 300, H / 8, W / 2 - 4, H / 8,
                 SWP_NOZORDER);
    SetWindowPos(data->displayWindows[ResultDisplay], window, W / 300, 0, W - W / 150, H / 8, SWP_NOZORDER);
}

LRESULT ShowToolMenu(HWND window, LPARAM lParam)
{
    POINT point = {LOWORD(lParam), HIWORD(lParam)};
    HMENU menu = CreatePopupMenu();
    char text[MenuTextSize] = "";
    LoadStringA(moduleInstance, IDS_ABOUT_ITEM, text, sizeof text);
    AppendMenuA(menu, MF_STRING, IDM_ABOUT, text);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    LoadStringA(moduleInstance, IDS_PROPERTIES_ITEM, text, sizeof text);
    AppendMenuA(menu, MF_STRING, IDM_PROPERTIES, text);
    ClientToScreen(window, &point);
    TrackPopupMenuEx(menu, TPM_RIGHTBUTTON, point.x, point.y, window, nullptr);
    DestroyMenu(menu);
    return 0;
}

} // namespace

VideoPokerToolData *ToolDataOf(HWND toolWindow)
{
    return reinterpret_cast<VideoPokerToolData *>(GetWindowLongPtrA(toolWindow, 0));
}

void RunOnTool(VideoPokerToolData *data, void (*operation)(VideoPokerGame &game, GameView &view))
{
    ToolView view(*data);
    operation(data->game, view);
}

HWND CreateVideoPokerTool(HWND parent, const RECT *rect, const void *savedState, DWORD savedSize)
{
    VideoPokerToolData *data = static_cast<VideoPokerToolData *>(calloc(1, sizeof(VideoPokerToolData)));
    if (!data)
        return nullptr;
    InitGameRecord(data->game, savedState, savedSize);

    const RECT place = *rect;
    HWND tool = CreateWindowExA(0, ToolClassName, "", ChildStyle, place.left, place.top,
                                place.right - place.left, place.bottom - place.top, parent, nullptr,
                                hostInstance, nullptr);
    if (!tool) {
        free(data);
        return nullptr;
    }
    CreateChildren(*data, tool, place);
    data->font = CreateToolFont(place.bottom / 7);   // not set on the buttons: the first layout replaces it

    data->toolWindow = tool;
    RunOnTool(data, ShowGameState);

    SetWindowLongPtrA(tool, 0, reinterpret_cast<LONG_PTR>(data));
    return tool;
}

LRESULT CALLBACK VideoPokerToolWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    VideoPokerToolData *data = ToolDataOf(window);
    switch (message) {
    case WM_DESTROY:
        DestroyTool(window, data);
        return 0;
    case WM_PAINT:
        return PaintTool(window, data);
    case WM_RBUTTONUP:
        return ShowToolMenu(window, lParam);
    case WM_COMMAND:
        return RunCommand(window, data, LOWORD(wParam));
    case PTM_GETSTATE:
        return HandleGetState(window, data, wParam, lParam);
    case PTM_SETSTATE:
        return HandleSetState(window, data, wParam, lParam);
    case PTM_GETDEFAULTSIZE:
        return HandleGetDefaultSize(window, data, wParam, lParam);
    case PTM_ADJUSTSIZE1:
    case PTM_ADJUSTSIZE2:
    case PTM_ADJUSTSIZE3:
        return HandleAdjustSize(window, data, wParam, lParam);
    case PTM_CREATEPAGE:
        return CreatePropertiesPage(window, StartNewGame, wParam, lParam);
    case PTM_LAYOUT:
        if (data)
            LayoutToolChildren(window, data);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
