// panel.cpp: the panel window: a felt background painted for itself and under every tool, the tools'
// tabs, outlines and grips, and dragging them to move and resize.
#include "apps/quorvane/host.h"
#include "apps/quorvane/rect_size.h"

#include <windowsx.h>
#include <cmath>

namespace {

// A bitmap we draw into directly: 32 bits a pixel, top row first.
struct PixelBuffer {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ oldBitmap = nullptr;
    uint32_t *bits = nullptr;
    int width = 0, height = 0;

    bool Resize(int w, int h)
    {
        if (w == width && h == height && dc)
            return true;
        Release();
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = w > 0 ? w : 1;
        info.bmiHeader.biHeight = -(h > 0 ? h : 1);
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void *pixels = nullptr;
        bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
        if (!bitmap)
            return false;
        dc = CreateCompatibleDC(nullptr);
        oldBitmap = SelectObject(dc, bitmap);
        bits = static_cast<uint32_t *>(pixels);
        width = w > 0 ? w : 1;
        height = h > 0 ? h : 1;
        return true;
    }
    void Release()
    {
        if (dc) {
            SelectObject(dc, oldBitmap);
            DeleteDC(dc);
        }
        if (bitmap)
            DeleteObject(bitmap);
        dc = nullptr;
        bitmap = nullptr;
        bits = nullptr;
        width = height = 0;
    }
};

PixelBuffer felt;     // the background alone: what tools get painted under them
PixelBuffer canvas;   // felt plus decorations, composed for each paint of the panel

const COLORREF FeltEdge = RGB(10, 58, 34);

uint32_t Pack(int r, int g, int b)
{
    auto clamp = [](int v) { return v < 0 ? 0 : v > 255 ? 255 : v; };
    return static_cast<uint32_t>(clamp(r) << 16 | clamp(g) << 8 | clamp(b));
}

// Felt: a lamp-lit green, brighter a little above the middle, darker towards the rim, with a fine
// twill so that it reads as cloth rather than a flat fill.
uint32_t FeltAt(int x, int y, int width, int height)
{
    double dx = (x - width * 0.5) / (width * 0.62);
    double dy = (y - height * 0.38) / (height * 0.75);
    double d = std::sqrt(dx * dx + dy * dy);
    double t = d > 1 ? 1 : d;
    t = t * t * (3 - 2 * t);
    int r = static_cast<int>(38 + (10 - 38) * t);
    int g = static_cast<int>(128 + (58 - 128) * t);
    int b = static_cast<int>(74 + (34 - 74) * t);
    int twill = ((x + (y >> 1)) & 3) < 2 ? 3 : -2;
    int fleck = ((x * 7 + y * 13) % 29 == 0) ? 4 : 0;
    return Pack(r + twill + fleck, g + twill + fleck, b + twill);
}


// Darkens the canvas under a soft shadow of rect, inside clip.
void Shadow(const RECT &rect, const RECT &clip)
{
    const int dx = 3, dy = 5, soft = 8;
    RECT s = {rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
    RECT area = {s.left - soft, s.top - soft, s.right + soft, s.bottom + soft};
    RECT bounds = {0, 0, canvas.width, canvas.height}, doing;
    if (!IntersectRect(&doing, &area, &clip) || !IntersectRect(&doing, &doing, &bounds))
        return;
    for (int y = doing.top; y < doing.bottom; ++y) {
        int oy = y < s.top ? s.top - y : y >= s.bottom ? y - s.bottom + 1 : 0;
        uint32_t *row = canvas.bits + static_cast<size_t>(y) * canvas.width;
        for (int x = doing.left; x < doing.right; ++x) {
            int ox = x < s.left ? s.left - x : x >= s.right ? x - s.right + 1 : 0;
            double d = std::sqrt(static_cast<double>(ox * ox + oy * oy));
            if (d >= soft)
                continue;
            double keep = 1.0 - 0.5 * (1.0 - d / soft) * (1.0 - d / soft);
            uint32_t p = row[x];
            row[x] = Pack(static_cast<int>(((p >> 16) & 255) * keep), static_cast<int>(((p >> 8) & 255) * keep),
                          static_cast<int>((p & 255) * keep));
        }
    }
}

void FillGradient(HDC dc, const RECT &r, COLORREF top, COLORREF bottom)
{
    int h = Height(r);
    for (int i = 0; i < h; ++i) {
        int f = h > 1 ? i * 256 / (h - 1) : 0;
        COLORREF c = RGB(GetRValue(top) + (GetRValue(bottom) - GetRValue(top)) * f / 256,
                         GetGValue(top) + (GetGValue(bottom) - GetGValue(top)) * f / 256,
                         GetBValue(top) + (GetBValue(bottom) - GetBValue(top)) * f / 256);
        HBRUSH brush = CreateSolidBrush(c);
        RECT line = {r.left, r.top + i, r.right, r.top + i + 1};
        FillRect(dc, &line, brush);
        DeleteObject(brush);
    }
}

void FrameBox(HDC dc, const RECT &r, COLORREF colour, int thickness)
{
    HBRUSH brush = CreateSolidBrush(colour);
    for (int i = 0; i < thickness; ++i) {
        RECT f = {r.left + i, r.top + i, r.right - i, r.bottom - i};
        FrameRect(dc, &f, brush);
    }
    DeleteObject(brush);
}

void FillBox(HDC dc, const RECT &r, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

// The type's picture: the colour bitmap, through the mono bitmap as its mask (1 bits let the tab show
// through, 0 bits take the picture); without a mask the picture is drawn whole.
void DrawTypePicture(HDC dc, const PanelType &type, int x, int y)
{
    BITMAP info = {};
    if (!type.colorBitmap || !GetObject(type.colorBitmap, sizeof info, &info))
        return;
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, type.colorBitmap);
    BITMAP maskInfo = {};
    bool masked = type.monoBitmap && GetObject(type.monoBitmap, sizeof maskInfo, &maskInfo) &&
                  maskInfo.bmBitsPixel == 1 && maskInfo.bmWidth >= info.bmWidth && maskInfo.bmHeight >= info.bmHeight;
    const DWORD keepDestination = 0x00AA0029;
    if (!masked || !MaskBlt(dc, x, y, info.bmWidth, info.bmHeight, source, 0, 0, type.monoBitmap, 0, 0,
                            MAKEROP4(keepDestination, SRCCOPY)))
        BitBlt(dc, x, y, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
}

RECT TabRect(const RECT &r)
{
    RECT t = {r.left - 2, r.top - TabHeight, r.right + 2, r.top};
    return t;
}

RECT CloseBox(const RECT &r)
{
    RECT c = {r.right - 17, r.top - TabHeight + 3, r.right - 1, r.top - 3};
    return c;
}

void DrawTab(HDC dc, const PanelTool &tool, bool selected)
{
    RECT tab = TabRect(tool.rect);
    HRGN round = CreateRoundRectRgn(tab.left, tab.top, tab.right + 1, tab.bottom + 10, 9, 9);
    SelectClipRgn(dc, round);
    if (selected)
        FillGradient(dc, tab, RGB(255, 221, 110), RGB(222, 166, 36));
    else
        FillGradient(dc, tab, RGB(66, 84, 72), RGB(34, 46, 39));
    SelectClipRgn(dc, nullptr);
    DeleteObject(round);

    const PanelType *type = tool.type >= 0 ? &host.types[tool.type] : nullptr;
    COLORREF ink = selected ? RGB(52, 36, 4) : RGB(226, 234, 226);
    int x = tab.left + 5;
    if (type)
        DrawTypePicture(dc, *type, x, tab.top + 2);
    x += 20;
    HGDIOBJ oldFont = SelectObject(dc, host.tabFont);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ink);
    RECT text = {x, tab.top, CloseBox(tool.rect).left - 2, tab.bottom};
    std::string title = ToolTitle(tool);
    DrawTextA(dc, title.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    SelectObject(dc, oldFont);

    // The close box: a small cross.
    RECT box = CloseBox(tool.rect);
    if (Width(tool.rect) > 60) {
        HPEN pen = CreatePen(PS_SOLID, 2, ink);
        HGDIOBJ oldPen = SelectObject(dc, pen);
        int cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
        MoveToEx(dc, cx - 4, cy - 4, nullptr);
        LineTo(dc, cx + 4, cy + 4);
        MoveToEx(dc, cx + 4, cy - 4, nullptr);
        LineTo(dc, cx - 4, cy + 4);
        SelectObject(dc, oldPen);
        DeleteObject(pen);
    }
}

void DrawFrame(HDC dc, const PanelTool &tool, bool selected)
{
    RECT r = tool.rect;
    if (!selected) {
        RECT outline = {r.left - 1, r.top, r.right + 1, r.bottom + 1};
        FrameBox(dc, outline, RGB(20, 34, 26), 1);
        return;
    }
    const COLORREF gold = RGB(244, 190, 40), dark = RGB(70, 50, 6);
    RECT outline = {r.left - 2, r.top, r.right + 2, r.bottom + 2};
    FrameBox(dc, outline, gold, 2);
    // Handles where the edges can be dragged.
    int midY = (r.top + r.bottom) / 2, midX = (r.left + r.right) / 2;
    POINT handles[] = {{r.left - 2, midY}, {r.right + 1, midY}, {midX, r.bottom + 1},
                       {r.left - 2, r.bottom + 1}, {r.right + 1, r.bottom + 1}};
    for (POINT h : handles) {
        RECT box = {h.x - 3, h.y - 3, h.x + 4, h.y + 4};
        FillBox(dc, box, gold);
        FrameBox(dc, box, dark, 1);
    }
}

void DrawPlaceholder(HDC dc, const PanelTool &tool)
{
    RECT r = tool.rect;
    FillBox(dc, r, RGB(24, 40, 30));
    HPEN pen = CreatePen(PS_DOT, 1, RGB(150, 170, 150));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, r.left + 3, r.top + 3, r.right - 3, r.bottom - 3);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
    HGDIOBJ oldFont = SelectObject(dc, host.uiFont);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(200, 214, 200));
    std::string text = "No " + tool.moduleFile + " runs this tool now.\nIts game is kept in the panel file.";
    RECT inner = {r.left + 8, r.top + 8, r.right - 8, r.bottom - 8};
    DrawTextA(dc, text.c_str(), -1, &inner, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, oldFont);
}

void PaintPanel(HWND window)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
    if (!canvas.Resize(client.right, client.bottom) || !felt.bits) {
        HBRUSH brush = CreateSolidBrush(FeltEdge);
        FillRect(dc, &ps.rcPaint, brush);
        DeleteObject(brush);
        EndPaint(window, &ps);
        return;
    }
    RECT area;
    RECT whole = {0, 0, canvas.width, canvas.height};
    IntersectRect(&area, &ps.rcPaint, &whole);
    for (int y = area.top; y < area.bottom; ++y)
        memcpy(canvas.bits + static_cast<size_t>(y) * canvas.width + area.left,
               felt.bits + static_cast<size_t>(y) * felt.width + area.left,
               sizeof(uint32_t) * Width(area));
    GdiFlush();
    for (const PanelTool &t : host.tools) {
        RECT shadowed = {t.rect.left - 2, t.rect.top - TabHeight, t.rect.right + 2, t.rect.bottom + 2};
        Shadow(shadowed, area);
    }
    for (const PanelTool &t : host.tools) {
        bool selected = t.number == host.selected;
        DrawTab(canvas.dc, t, selected);
        DrawFrame(canvas.dc, t, selected);
        if (!t.window)
            DrawPlaceholder(canvas.dc, t);
    }
    if (host.tools.empty()) {
        HGDIOBJ oldFont = SelectObject(canvas.dc, host.uiFont);
        SetBkMode(canvas.dc, TRANSPARENT);
        SetTextColor(canvas.dc, RGB(196, 222, 200));
        const char *hint = host.types.empty()
                               ? "No panel-type module is loaded: see Help > About Quorvane."
                               : "The panel is empty. Press Insert, or use Panel > Add tool, to place a tool.";
        DrawTextA(canvas.dc, hint, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(canvas.dc, oldFont);
    }
    BitBlt(dc, area.left, area.top, Width(area), Height(area), canvas.dc, area.left, area.top, SRCCOPY);
    EndPaint(window, &ps);
}

// A tool's request: the felt that lies under the asking window, found through the tool's place on
// the panel and the request's offset of the asking window within the tool.
void PaintBackgroundRequest(HWND panel, const PanelPaintRequest *request)
{
    POINT origin = {0, 0};
    if (request->window)
        MapWindowPoints(request->window, panel, &origin, 1);
    origin.x += request->offset.x;
    origin.y += request->offset.y;
    PaintFeltInto(request->dc, request->rect, origin);
}

struct Hit {
    PanelTool *tool = nullptr;
    DragKind kind = DragKind::None;
};

Hit HitTest(POINT p)
{
    Hit hit;
    for (auto t = host.tools.rbegin(); t != host.tools.rend(); ++t) {
        const RECT &r = t->rect;
        RECT decorated = DecoratedRect(r);
        if (!PtInRect(&decorated, p))
            continue;
        hit.tool = &*t;
        RECT close = CloseBox(r);
        InflateRect(&close, 1, 1);
        if (p.y < r.top) {
            hit.kind = PtInRect(&close, p) && Width(r) > 60 ? DragKind::Close : DragKind::Move;
            return hit;
        }
        bool nearLeft = p.x < r.left + 12, nearRight = p.x >= r.right - 12;
        bool low = p.y >= r.bottom - 12;
        if (p.y >= r.bottom || p.x < r.left || p.x >= r.right) {
            if (low && nearLeft)
                hit.kind = DragKind::BottomLeft;
            else if (low && nearRight)
                hit.kind = DragKind::BottomRight;
            else if (p.y >= r.bottom)
                hit.kind = DragKind::Bottom;
            else
                hit.kind = p.x < r.left ? DragKind::Left : DragKind::Right;
            return hit;
        }
        hit.kind = DragKind::None;     // inside the tool: the tool's own window has it
        return hit;
    }
    return hit;
}

LPCSTR CursorFor(DragKind kind)
{
    switch (kind) {
    case DragKind::Move:        return IDC_SIZEALL;
    case DragKind::Left:
    case DragKind::Right:       return IDC_SIZEWE;
    case DragKind::Bottom:      return IDC_SIZENS;
    case DragKind::BottomLeft:  return IDC_SIZENESW;
    case DragKind::BottomRight: return IDC_SIZENWSE;
    case DragKind::Close:       return IDC_HAND;
    default:                    return IDC_ARROW;
    }
}

void DescribeSize(const PanelTool &tool)
{
    SetStatus(ToolTitle(tool) + ": " + std::to_string(Width(tool.rect)) + " x " +
              std::to_string(Height(tool.rect)) + " (kept at 12 to 7 by the tool).");
}

void BeginDrag(HWND panel, DragKind kind, PanelTool &tool, POINT at)
{
    host.drag = kind;
    host.dragTool = tool.number;
    host.dragAnchor = at;
    host.dragStartRect = tool.rect;
    SetCapture(panel);
    if (kind == DragKind::Move)
        SetStatus("Moving " + ToolTitle(tool) + ": release to place it, Esc to cancel.");
    else if (kind != DragKind::Close)
        DescribeSize(tool);
}

void ContinueDrag(POINT at)
{
    PanelTool *tool = ToolByNumber(host.dragTool);
    if (!tool)
        return;
    const RECT &s = host.dragStartRect;
    int dx = at.x - host.dragAnchor.x, dy = at.y - host.dragAnchor.y;
    ToolSize start = {Width(s), Height(s)};
    switch (host.drag) {
    case DragKind::Move:
        MoveToolTo(*tool, s.left + dx, s.top + dy);
        SetStatus("Moving " + ToolTitle(*tool) + " to " + std::to_string(tool->rect.left) + ", " +
                  std::to_string(tool->rect.top) + ".");
        return;
    case DragKind::Right:
        ResizeTool(*tool, WidthEdgeQuestion, false, ToolSize{start.width + dx, start.height}, s, host.drag);
        break;
    case DragKind::Left:
        ResizeTool(*tool, WidthEdgeQuestion, false, ToolSize{start.width - dx, start.height}, s, host.drag);
        break;
    case DragKind::Bottom:
        ResizeTool(*tool, HeightEdgeQuestion, true, ToolSize{start.width, start.height + dy}, s, host.drag);
        break;
    case DragKind::BottomRight:
    case DragKind::BottomLeft: {
        ToolSize wished = {host.drag == DragKind::BottomRight ? start.width + dx : start.width - dx,
                           start.height + dy};
        ResizeTool(*tool, CornerQuestion, HeightLeads(start, wished), wished, s, host.drag);
        break;
    }
    default:
        return;
    }
    DescribeSize(*tool);
}

void EndDrag(HWND panel, POINT at, bool keep)
{
    DragKind kind = host.drag;
    host.drag = DragKind::None;
    if (GetCapture() == panel)
        ReleaseCapture();
    PanelTool *tool = ToolByNumber(host.dragTool);
    if (!tool)
        return;
    if (kind == DragKind::Close) {
        Hit hit = HitTest(at);
        if (keep && hit.tool == tool && hit.kind == DragKind::Close)
            RemoveTool(tool->number, true);
        return;
    }
    if (!keep) {
        const RECT &s = host.dragStartRect;
        if (kind == DragKind::Move)
            MoveToolTo(*tool, s.left, s.top);
        else
            ResizeTool(*tool, CornerQuestion, false, ToolSize{Width(s), Height(s)}, s, DragKind::BottomRight);
        SetStatus("Cancelled.");
        return;
    }
    SetStatus((kind == DragKind::Move ? "Moved " : "Resized ") + ToolTitle(*tool) + " to " +
              std::to_string(Width(tool->rect)) + " x " + std::to_string(Height(tool->rect)) + " at " +
              std::to_string(tool->rect.left) + ", " + std::to_string(tool->rect.top) + ".");
    SaveSoon();
}

void ShowToolMenu(HWND panel, PanelTool &tool, POINT at)
{
    SelectTool(tool.number);
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, CmdProperties, "&Properties...\tAlt+Enter");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, CmdLarger, "&Larger\tCtrl++");
    AppendMenuA(menu, MF_STRING, CmdSmaller, "&Smaller\tCtrl+-");
    AppendMenuA(menu, MF_STRING, CmdDefaultSize, "&Default size\tCtrl+0");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, CmdRemoveTool, "&Remove\tDel");
    ClientToScreen(panel, &at);
    TrackPopupMenuEx(menu, TPM_RIGHTBUTTON, at.x, at.y, host.mainWindow, nullptr);
    DestroyMenu(menu);
}

void ShowPanelMenu(HWND panel, POINT at)
{
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_POPUP | (host.types.empty() ? MF_GRAYED : 0),
                reinterpret_cast<UINT_PTR>(host.addToolMenu), "&Add tool");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, CmdSaveNow, "&Save now\tCtrl+S");
    ClientToScreen(panel, &at);
    TrackPopupMenuEx(menu, TPM_RIGHTBUTTON, at.x, at.y, host.mainWindow, nullptr);
    RemoveMenu(menu, 0, MF_BYPOSITION);   // the submenu belongs to the main menu
    DestroyMenu(menu);
}

POINT PointOf(LPARAM lParam)
{
    POINT p = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    return p;
}

LRESULT CALLBACK PanelWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        RebuildFelt(LOWORD(lParam), HIWORD(lParam));
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        PaintPanel(window);
        return 0;
    case PTM_PAINTBACKGROUND:
        PaintBackgroundRequest(window, reinterpret_cast<const PanelPaintRequest *>(lParam));
        return 0;
    case PTM_SHOWPROPERTIES:
        ShowPropertiesFor(reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) == window && LOWORD(lParam) == HTCLIENT) {
            POINT p;
            GetCursorPos(&p);
            ScreenToClient(window, &p);
            DragKind kind = host.drag != DragKind::None ? host.drag : HitTest(p).kind;
            SetCursor(LoadCursor(nullptr, CursorFor(kind)));
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN: {
        SetFocus(window);
        Hit hit = HitTest(PointOf(lParam));
        if (!hit.tool)
            return 0;
        int number = hit.tool->number;
        SelectTool(number);
        if (hit.kind != DragKind::None)
            BeginDrag(window, hit.kind, *ToolByNumber(number), PointOf(lParam));
        return 0;
    }
    case WM_LBUTTONDBLCLK: {
        Hit hit = HitTest(PointOf(lParam));
        if (hit.tool && hit.kind == DragKind::Move && hit.tool->window)
            ShowPropertiesFor(hit.tool->window);
        return 0;
    }
    case WM_MOUSEMOVE:
        // A move without the button held is not part of the drag (the release comes on its own).
        if (host.drag != DragKind::None && host.drag != DragKind::Close && (wParam & MK_LBUTTON))
            ContinueDrag(PointOf(lParam));
        return 0;
    case WM_LBUTTONUP:
        if (host.drag != DragKind::None)
            EndDrag(window, PointOf(lParam), true);
        return 0;
    case WM_CAPTURECHANGED:
        if (host.drag != DragKind::None && reinterpret_cast<HWND>(lParam) != window)
            EndDrag(window, host.dragAnchor, host.drag != DragKind::Close);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE && host.drag != DragKind::None) {
            EndDrag(window, host.dragAnchor, false);
            return 0;
        }
        break;
    case WM_RBUTTONUP: {
        Hit hit = HitTest(PointOf(lParam));
        if (hit.tool)
            ShowToolMenu(window, *hit.tool, PointOf(lParam));
        else
            ShowPanelMenu(window, PointOf(lParam));
        return 0;
    }
    case WM_DESTROY:
        felt.Release();
        canvas.Release();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

void RebuildFelt(int width, int height)
{
    if (!felt.Resize(width, height))
        return;
    for (int y = 0; y < felt.height; ++y)
        for (int x = 0; x < felt.width; ++x)
            felt.bits[static_cast<size_t>(y) * felt.width + x] = FeltAt(x, y, felt.width, felt.height);
    GdiFlush();
}

void PaintFeltInto(HDC dc, const RECT &rect, POINT panelOrigin)
{
    HBRUSH edge = CreateSolidBrush(FeltEdge);
    FillRect(dc, &rect, edge);     // beyond the panel's own area: the felt's rim colour
    DeleteObject(edge);
    if (!felt.dc)
        return;
    RECT wanted = {panelOrigin.x + rect.left, panelOrigin.y + rect.top, panelOrigin.x + rect.right,
                   panelOrigin.y + rect.bottom};
    RECT have = {0, 0, felt.width, felt.height}, both;
    if (!IntersectRect(&both, &wanted, &have))
        return;
    BitBlt(dc, both.left - panelOrigin.x, both.top - panelOrigin.y, Width(both), Height(both), felt.dc,
           both.left, both.top, SRCCOPY);
}

void BeginMoveDrag(int number, POINT panelPoint)
{
    if (PanelTool *tool = ToolByNumber(number))
        BeginDrag(host.panelWindow, DragKind::Move, *tool, panelPoint);
}

bool RegisterPanelClass()
{
    return RegisterHostClass(QUORVANE_PANEL_CLASS, PanelWndProc, nullptr, CS_DBLCLKS);
}

HWND CreatePanelWindow(HWND parent)
{
    return CreateWindowExA(0, QUORVANE_PANEL_CLASS, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_TABSTOP,
                           0, 0, 0, 0, parent, nullptr, host.instance, nullptr);
}
