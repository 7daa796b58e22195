// text_view.cpp: the trainer windows' text, painted line by line (see text_view.h).
#include "apps/quorvane/trainer/text_view.h"
#include "apps/quorvane/companion.h"
#include "analysis/cards.h"

#include <algorithm>
#include <cctype>

namespace {

#define QUORVANE_TEXT_CLASS "QuorvaneText"
const int TextIndent = Scaled(4);
HFONT font = nullptr;
int lineHeight = 0;

std::string WithLineBreaks(const std::string &text)   // the text view keeps CR LF line ends
{
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

std::string TextOf(HWND window)
{
    std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, &text[0], static_cast<int>(text.size()))));
    return text;
}

TEXTMETRICA FontMetrics(HWND window)
{
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return metrics;
}

int LineHeight(HWND window)
{
    if (lineHeight == 0) {
        const TEXTMETRICA metrics = FontMetrics(window);
        lineHeight = metrics.tmHeight > 0 ? metrics.tmHeight : 16;
    }
    return lineHeight;
}

void SetLineRange(HWND window, const char *text)
{
    int lines = 1;
    for (const char *c = text; *c; ++c)
        lines += *c == '\n';
    RECT client;
    GetClientRect(window, &client);
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE;
    info.nMax = lines - 1;
    info.nPage = static_cast<UINT>(client.bottom / LineHeight(window));
    SetScrollInfo(window, SB_VERT, &info, TRUE);
}

void ScrollTo(HWND window, int line)
{
    SetScrollPos(window, SB_VERT, line, TRUE);   // kept within the range by the scroll bar
    InvalidateRect(window, nullptr, TRUE);
}

// A card's name in the text ("KS", "TD") standing alone as a word.
bool IsCardAt(const std::string &line, size_t i)
{
    auto word = [&](size_t at) { return at < line.size() && isalnum(static_cast<unsigned char>(line[at])); };
    const int card = i + 1 < line.size() ? ParseCard(&line[i], 2) : -1;   // as CardName writes it: "as" is a word
    return card >= 0 && line.compare(i, 2, CardName(Card(card))) == 0 && !(i > 0 && word(i - 1)) && !word(i + 2);
}

// One line in the fixed-pitch font, with each card shown as a player reads it: rank and suit symbol,
// hearts and diamonds in red. The text itself keeps the letters, for copying and for other programs.
void PaintLine(HDC dc, int y, const std::string &line, int charWidth)
{
    const COLORREF ink = GetSysColor(COLOR_WINDOWTEXT);
    size_t run = 0;
    for (size_t i = 0; i <= line.size(); ++i) {
        bool card = i < line.size() && IsCardAt(line, i);
        if (!card && i < line.size())
            continue;
        if (i > run)
            TextOutA(dc, TextIndent + static_cast<int>(run) * charWidth, y, line.c_str() + run, static_cast<int>(i - run));
        if (!card)
            break;
        const char suit = line[i + 1];
        const wchar_t shown[2] = {static_cast<wchar_t>(line[i]),
                                  static_cast<wchar_t>(suit == 'C' ? 0x2663 : suit == 'D' ? 0x2666 : suit == 'H' ? 0x2665 : 0x2660)};
        SetTextColor(dc, suit == 'D' || suit == 'H' ? RGB(200, 0, 0) : ink);
        TextOutW(dc, TextIndent + static_cast<int>(i) * charWidth, y, shown, 2);
        SetTextColor(dc, ink);
        run = i + 2;
        ++i;
    }
}

void PaintLines(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    const int height = LineHeight(window), charWidth = metrics.tmAveCharWidth > 0 ? metrics.tmAveCharWidth : 8;
    const std::string text = TextOf(window);
    int y = TextIndent / 2 - GetScrollPos(window, SB_VERT) * height;
    for (size_t start = 0; start <= text.size() && y < paint.rcPaint.bottom; y += height) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        size_t shown = end > start && text[end - 1] == '\r' ? end - 1 - start : end - start;
        if (y + height > paint.rcPaint.top)
            PaintLine(dc, y, text.substr(start, shown), charWidth);
        start = end + 1;
    }
    SelectObject(dc, old);
    EndPaint(window, &paint);
}

// The windows' text, painted line by line. An edit control lays out all of its text on every change,
// which takes tens of milliseconds under Wine: far too slow to follow a panel in play.
LRESULT CALLBACK TextViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SETTEXT: {
        LRESULT done = DefWindowProcA(window, message, wParam, lParam);
        SetLineRange(window, lParam ? reinterpret_cast<const char *>(lParam) : "");
        InvalidateRect(window, nullptr, TRUE);
        return done;
    }
    case WM_SIZE:
        SetLineRange(window, TextOf(window).c_str());
        InvalidateRect(window, nullptr, TRUE);
        return 0;
    case WM_VSCROLL: {
        SCROLLINFO info = {};
        info.cbSize = sizeof info;
        info.fMask = SIF_ALL;
        GetScrollInfo(window, SB_VERT, &info);
        int line = info.nPos, page = std::max(1, static_cast<int>(info.nPage) - 1);
        switch (LOWORD(wParam)) {
        case SB_LINEUP: line -= 1; break;
        case SB_LINEDOWN: line += 1; break;
        case SB_PAGEUP: line -= page; break;
        case SB_PAGEDOWN: line += page; break;
        case SB_THUMBTRACK: line = info.nTrackPos; break;
        case SB_TOP: line = 0; break;
        case SB_BOTTOM: line = info.nMax; break;
        }
        ScrollTo(window, line);
        return 0;
    }
    case WM_KEYDOWN:   // the keys of the window the text is in
        return SendMessageA(GetParent(window), message, wParam, lParam);
    case WM_MOUSEWHEEL:
        ScrollTo(window, GetScrollPos(window, SB_VERT) - GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA * 3);
        return 0;
    case WM_PAINT:
        PaintLines(window);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

bool RegisterTextView()
{
    if (!font)
        font = CreateFontA(-Scaled(13), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, "Courier New");
    return RegisterCompanionClass(QUORVANE_TEXT_CLASS, TextViewProc, GetSysColorBrush(COLOR_WINDOW));
}

HWND CreateTextView(HWND parent, int id)
{
    return CreateWindowExA(WS_EX_CLIENTEDGE, QUORVANE_TEXT_CLASS, "", WS_CHILD | WS_VISIBLE | WS_VSCROLL, 0, 0, 0, 0,
                           parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), HostInstance(), nullptr);
}

void SetViewText(HWND view, const std::string &text)
{
    std::string shown = WithLineBreaks(text);
    if (TextOf(view) != shown)      // unchanged text keeps its scroll position
        SetWindowTextA(view, shown.c_str());
}

int TextViewWidth(HWND view, const std::string &text)
{
    const TEXTMETRICA metrics = FontMetrics(view);
    size_t longest = 0;
    for (size_t start = 0; start <= text.size();) {
        size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end;
        longest = std::max(longest, end - start);
        start = end + 1;
    }
    const int charWidth = metrics.tmAveCharWidth > 0 ? metrics.tmAveCharWidth : 8;
    return 2 * TextIndent + static_cast<int>(longest + 1) * charWidth + GetSystemMetrics(SM_CXVSCROLL);
}
