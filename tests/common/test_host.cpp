// test_host.cpp: the panel host of the window tests: module loading, background, records, helpers.
#include "tests/common/test_host.h"

#include <cstdint>
#include <algorithm>
#include <cstring>
#include <functional>
#include "panel/tool.h"

namespace {

// The panel's window procedure runs while the host is still being constructed (WM_NCCREATE, WM_CREATE),
// when Instance() would wait on its own initialisation: it finds the host here instead.
TestHost *panelHost = nullptr;

// Paints PanelBackground over rect of dc, where dc's (0, 0) lies at panel point origin.
void FillWithBackground(HDC dc, const RECT &rect, POINT origin)
{
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0 || width > 4096 || height > 4096)
        return;
    std::vector<uint32_t> bits;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            COLORREF colour = PanelBackground(origin.x + rect.left + x, origin.y + rect.top + y);
            bits.push_back(GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour));
        }
    BITMAPINFO info = {{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB}};   // top-down
    StretchDIBits(dc, rect.left, rect.top, width, height, 0, 0, width, height, bits.data(), &info,
                  DIB_RGB_COLORS, SRCCOPY);
}

} // namespace

COLORREF PanelBackground(int x, int y)
{
    return RGB((x * 3) & 0xFF, (y * 5) & 0xFF, 0x5A + ((x / 256 + y / 256) & 7) * 8);
}

TestHost &TestHost::Instance()
{
    static TestHost host;
    return host;
}

PanelToolCreateProc LoadModule(HMODULE *module)
{
    *module = LoadLibraryA(ProgramBeside("VideoPoker.dll").c_str());
    auto enumerate = reinterpret_cast<EnumeratePanelTypesProc>(GetProcAddress(*module, "EnumeratePanelTypes"));
    char names[3][64];
    PanelTypeInfo *info = nullptr;
    if (!enumerate || !enumerate(names[0], names[1], names[2], GetModuleHandleA(nullptr), 0))
        return nullptr;
    auto init = reinterpret_cast<InitPanelTypeProc>(GetProcAddress(*module, names[0]));
    if (!init || !init(&info, 0) || !info)
        return nullptr;
    return reinterpret_cast<PanelToolCreateProc>(GetProcAddress(*module, names[1]));
}

TestHost::TestHost()
{
    panelHost = this;
    if (!(create_ = LoadModule(&module_)))
        return;
    WNDCLASSA wc = {0, PanelProc, 0, 0, HostInstance(), nullptr, LoadCursor(nullptr, IDC_ARROW)};
    wc.lpszClassName = "VpTestPanel";
    RegisterClassA(&wc);
    panel_ = CreateWindowExA(0, wc.lpszClassName, "panel", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 800,
                             600, nullptr, nullptr, HostInstance(), nullptr);
    SetForegroundWindow(panel_);
    Pump();
    ready_ = panel_ != nullptr;
}

LRESULT CALLBACK TestHost::PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    TestHost &host = *panelHost;
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        FillWithBackground(dc, ps.rcPaint, POINT{0, 0});
        EndPaint(window, &ps);
        return 0;
    }
    case PTM_PAINTBACKGROUND: {
        const PanelPaintRequest *request = reinterpret_cast<const PanelPaintRequest *>(lParam);
        host.paints_.push_back(PaintRecord{*request, WindowFromDC(request->dc)});
        // Where the asker's DC origin lies on the panel: the tool's client origin plus the given offset.
        POINT origin = request->offset;
        MapWindowPoints(request->window, window, &origin, 1);
        FillWithBackground(request->dc, request->rect, origin);
        return 0;
    }
    }
    if (message >= WM_USER && message < 0x8000) {
        host.messages_.push_back(HostMessageRecord{message, wParam, lParam});
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND TestHost::CreateTool(const RECT &rect, const void *block, DWORD size)
{
    return ready_ ? create_(panel_, &rect, block, size, 0) : nullptr;
}

HWND TestHost::CreateLaidOutTool(int width, int height, const void *block, DWORD size, int x, int y)
{
    HWND tool = CreateTool(RECT{x, y, x + width, y + height}, block, size);
    SendMessageA(tool, PTM_LAYOUT, 0, 0);
    Pump();
    return tool;
}

void TestHost::Resize(HWND tool, int width, int height)
{
    SetWindowPos(tool, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(tool, PTM_LAYOUT, 0, 0);
    Pump();
}

void TestHost::Pump()
{
    // A window that never validates its update region would feed WM_PAINT forever: stop somewhere.
    MSG msg;
    for (int count = 0; count < 20000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++count) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

Capture TestHost::CaptureClient(HWND window) const
{
    RECT client;
    if (!GetClientRect(window, &client) || client.right <= 0 || client.bottom <= 0)
        return Capture();
    Canvas canvas(client.right, client.bottom, 0);
    HDC windowDc = GetDC(window);
    BitBlt(canvas.dc, 0, 0, client.right, client.bottom, windowDc, 0, 0, SRCCOPY);
    ReleaseDC(window, windowDc);
    return CaptureOf(canvas);
}

COLORREF TestHost::BackgroundUnder(HWND window, int x, int y) const
{
    POINT point = {x, y};
    MapWindowPoints(window, panel_, &point, 1);
    return PanelBackground(point.x, point.y);
}

VideoPokerToolData *ToolRecord(HWND tool)
{
    void *address = nullptr;
    if (SendMessageA(tool, PTM_GETSTATE, 0, reinterpret_cast<LPARAM>(&address)) != GameRecordSize)
        return nullptr;
    return static_cast<VideoPokerToolData *>(address);
}

namespace {

// Runs open(), which enters a modal loop on this thread, and calls tick every 20 ms inside that loop
// until it answers true.
const std::function<bool()> *activeTick = nullptr;

void CALLBACK RunActiveTick(HWND, UINT, UINT_PTR, DWORD)
{
    const std::function<bool()> *running = activeTick;
    activeTick = nullptr;   // a tick that pumps messages must not run again inside itself
    if (running && !(*running)())
        activeTick = running;
}

void InsideModal(const std::function<void()> &open, const std::function<bool()> &tick)
{
    const std::function<bool()> *outer = activeTick;
    activeTick = &tick;
    UINT_PTR timer = SetTimer(nullptr, 0, 20, RunActiveTick);
    open();
    KillTimer(nullptr, timer);
    activeTick = outer;
}

} // namespace

MenuRecord OpenContextMenu(HWND window, POINT clientPoint, int chooseIndex, const std::function<void()> &whileOpen)
{
    MenuRecord record;
    int ticks = 0;
    InsideModal([&] {
        SendMessageA(window, WM_RBUTTONUP, 0, MAKELPARAM(clientPoint.x, clientPoint.y));
        TestHost::Instance().Pump();
    }, [&] {
        HWND popup = FindWindowA("#32768", nullptr);
        if (!popup || !IsWindowVisible(popup))
            return ++ticks > 200;
        record.opened = true;
        GetWindowRect(popup, &record.windowRect);
        HMENU menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
        int count = menu ? GetMenuItemCount(menu) : 0, downs = 1;   // the first Down selects the first item
        for (int i = 0; i < count; ++i) {
            char text[256] = {};
            MENUITEMINFOA item = {sizeof item, MIIM_ID | MIIM_FTYPE | MIIM_STRING};
            item.dwTypeData = text;
            item.cch = sizeof text;
            GetMenuItemInfoA(menu, i, TRUE, &item);
            record.items.push_back(MenuItemRecord{item.wID, item.fType, text});
            downs += i < chooseIndex && !(item.fType & MFT_SEPARATOR);   // separators are skipped
        }
        if (whileOpen)
            whileOpen();
        if (chooseIndex < 0 || chooseIndex >= count || !IsWindow(popup)) {
            EndMenu();
            return true;
        }
        for (int i = 0; i < downs; ++i)
            PostMessageA(popup, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(popup, WM_CHAR, '\r', 0);
        return true;
    });
    TestHost::Instance().Pump();
    return record;
}

HWND FindOpenDialog()
{
    HWND dialog = nullptr;
    while ((dialog = FindWindowExA(nullptr, dialog, "#32770", nullptr)) != nullptr)
        if (IsWindowVisible(dialog) && GetWindowThreadProcessId(dialog, nullptr) == GetCurrentThreadId())
            return dialog;
    return nullptr;
}

ModalRun DriveModal(const std::function<void()> &open, const std::function<void(HWND dialog)> &script)
{
    ModalRun run;
    HWND shown = nullptr;
    int ticks = 0;
    InsideModal(open, [&] {
        HWND dialog = FindOpenDialog();
        if (!shown && dialog) {
            shown = dialog;
            run.opened = true;
            run.owner = GetWindow(dialog, GW_OWNER);
            script(dialog);
        } else if (shown && dialog == shown && ++ticks > 150) {   // about three seconds still open
            EndDialog(dialog, -1);
        }
        return false;
    });
    run.closedByScript = run.opened && ticks <= 150;
    return run;
}

namespace {

// Creates one-pixel regions until the table is full or `limit` are made.
std::vector<HGDIOBJ> CreateRegions(size_t limit)
{
    std::vector<HGDIOBJ> regions;
    for (HRGN region; regions.size() < limit && (region = CreateRectRgn(0, 0, 1, 1)) != nullptr;)
        regions.push_back(region);
    return regions;
}

} // namespace

GdiTableFill::GdiTableFill(int headroom) : objects_(CreateRegions(70000))
{
    // A table that never filled counts nothing.
    filled_ = static_cast<int>(objects_.size()) >= headroom && objects_.size() < 70000;
    for (int i = 0; filled_ && i < headroom; ++i, objects_.pop_back())
        DeleteObject(objects_.back());
}

GdiTableFill::~GdiTableFill()
{
    for (HGDIOBJ object : objects_)
        DeleteObject(object);
}

int GdiTableFill::CountCreatable() const
{
    std::vector<HGDIOBJ> extra = CreateRegions(70000);
    for (HGDIOBJ object : extra)
        DeleteObject(object);
    return static_cast<int>(extra.size());
}

Capture CaptureOf(Canvas &canvas)
{
    Capture capture;
    capture.width = canvas.width;
    capture.height = canvas.height;
    for (uint32_t p : canvas.Pixels())
        capture.pixels.push_back(RGB(p >> 16, (p >> 8) & 0xFF, p & 0xFF));
    return capture;
}

Ink FindInk(const Capture &capture, const RECT &area, const std::function<bool(int x, int y)> &is)
{
    Ink ink;
    for (int y = std::max<int>(area.top, 0); y < std::min<int>(area.bottom, capture.height); ++y)
        for (int x = std::max<int>(area.left, 0); x < std::min<int>(area.right, capture.width); ++x)
            if (is(x, y)) {
                const RECT pixel = {x, y, x + 1, y + 1};
                UnionRect(&ink.box, &ink.box, &pixel);
                ++ink.count;
            }
    return ink;
}

Ink FindColour(const Capture &capture, COLORREF colour, const RECT &area)
{
    return FindInk(capture, area, [&](int x, int y) { return capture.At(x, y) == colour; });
}
