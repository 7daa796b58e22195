// test_host.cpp: the panel host of the window tests: module loading, background, records, helpers.
#include "tests/common/test_host.h"

#include <cstdint>
#include <cstring>
#include "panel/tool.h"

namespace {

const char kPanelClass[] = "VpTestPanel";
const int kPanelWidth = 800;
const int kPanelHeight = 600;
// The panel's window procedure runs while the host is still being constructed (WM_NCCREATE, WM_CREATE),
// when Instance() would wait on its own initialisation: it finds the host here instead.
TestHost *panelHost = nullptr;

std::string ProgramDirectory()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string directory(path);
    size_t slash = directory.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : directory.substr(0, slash);
}

BITMAPINFO TopDownInfo(int width, int height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// Paints PanelBackground over rect of dc, where dc's (0, 0) lies at panel point origin.
void FillWithBackground(HDC dc, const RECT &rect, POINT origin)
{
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0 || width > 4096 || height > 4096)
        return;
    std::vector<uint32_t> bits(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            COLORREF colour = PanelBackground(origin.x + rect.left + x, origin.y + rect.top + y);
            bits[static_cast<size_t>(y) * width + x] =
                (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
        }
    }
    BITMAPINFO info = TopDownInfo(width, height);
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

TestHost::TestHost()
{
    panelHost = this;
    std::string path = ProgramDirectory() + "\\VideoPoker.dll";
    calls_.module = LoadLibraryA(path.c_str());
    if (!calls_.module)
        return;
    calls_.enumerate = reinterpret_cast<EnumeratePanelTypesProc>(
        reinterpret_cast<void *>(GetProcAddress(calls_.module, "EnumeratePanelTypes")));
    calls_.init = reinterpret_cast<InitPanelTypeProc>(
        reinterpret_cast<void *>(GetProcAddress(calls_.module, "InitVideoPokerToolType")));
    calls_.create = reinterpret_cast<PanelToolCreateProc>(
        reinterpret_cast<void *>(GetProcAddress(calls_.module, "VideoPokerToolCreate")));
    calls_.cleanup = reinterpret_cast<PanelToolCleanupProc>(
        reinterpret_cast<void *>(GetProcAddress(calls_.module, "VideoPokerToolCleanup")));
    if (!calls_.enumerate || !calls_.init || !calls_.create || !calls_.cleanup)
        return;

    memset(calls_.initName, 0x7F, sizeof calls_.initName);
    memset(calls_.createName, 0x7F, sizeof calls_.createName);
    memset(calls_.cleanupName, 0x7F, sizeof calls_.cleanupName);
    calls_.firstEnumeration = calls_.enumerate(calls_.initName, calls_.createName, calls_.cleanupName,
                                               HostInstance(), 0);
    calls_.initResult = calls_.init(&calls_.typeInfo, 0);

    WNDCLASSA wc = {};
    wc.lpfnWndProc = PanelProc;
    wc.hInstance = HostInstance();
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kPanelClass;
    RegisterClassA(&wc);
    panel_ = CreateWindowExA(0, kPanelClass, "panel", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                             kPanelWidth, kPanelHeight, nullptr, nullptr, HostInstance(), nullptr);
    if (!panel_)
        return;
    SetForegroundWindow(panel_);
    UpdateWindow(panel_);
    Pump();
    ready_ = calls_.firstEnumeration && calls_.typeInfo;
}

LRESULT CALLBACK TestHost::PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!panelHost)
        return DefWindowProcA(window, message, wParam, lParam);
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
        host.PaintBackground(*request);
        return 0;
    }
    }
    if (message >= WM_USER && message < 0x8000) {
        host.messages_.push_back(HostMessageRecord{message, wParam, lParam});
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void TestHost::PaintBackground(const PanelPaintRequest &request)
{
    // Where the asker's DC origin lies on the panel: the tool's client origin plus the given offset.
    POINT toolOrigin = {0, 0};
    MapWindowPoints(request.window, panel_, &toolOrigin, 1);
    POINT origin = {toolOrigin.x + request.offset.x, toolOrigin.y + request.offset.y};
    FillWithBackground(request.dc, request.rect, origin);
}

HWND TestHost::CreateTool(const RECT &rect, const void *block, DWORD size)
{
    if (!calls_.create || !panel_)
        return nullptr;
    return calls_.create(panel_, &rect, block, size, 0);
}

HWND TestHost::CreateLaidOutTool(int width, int height, const void *block, DWORD size, int x, int y)
{
    RECT rect = {x, y, x + width, y + height};
    HWND tool = CreateTool(rect, block, size);
    if (!tool)
        return nullptr;
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

size_t TestHost::ShowPropertiesCount() const
{
    size_t count = 0;
    for (const HostMessageRecord &record : messages_)
        count += record.message == PTM_SHOWPROPERTIES;
    return count;
}

void TestHost::ClearRecords()
{
    paints_.clear();
    messages_.clear();
}

COLORREF TestHost::ReadPixel(HWND window, int x, int y) const
{
    HDC windowDc = GetDC(window);
    HDC memory = CreateCompatibleDC(windowDc);
    BITMAPINFO info = TopDownInfo(1, 1);
    void *bits = nullptr;
    HBITMAP dib = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, 1, 1, windowDc, x, y, SRCCOPY);
    GdiFlush();
    DWORD pixel = *static_cast<DWORD *>(bits);
    SelectObject(memory, old);
    DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(window, windowDc);
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

Capture TestHost::CaptureClient(HWND window) const
{
    Capture capture;
    RECT client;
    if (!GetClientRect(window, &client) || client.right <= 0 || client.bottom <= 0)
        return capture;
    capture.width = client.right;
    capture.height = client.bottom;
    HDC windowDc = GetDC(window);
    HDC memory = CreateCompatibleDC(windowDc);
    BITMAPINFO info = TopDownInfo(capture.width, capture.height);
    void *bits = nullptr;
    HBITMAP dib = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, capture.width, capture.height, windowDc, 0, 0, SRCCOPY);
    GdiFlush();
    const DWORD *pixels = static_cast<const DWORD *>(bits);
    capture.pixels.resize(static_cast<size_t>(capture.width) * capture.height);
    for (size_t i = 0; i < capture.pixels.size(); ++i)
        capture.pixels[i] = RGB((pixels[i] >> 16) & 0xFF, (pixels[i] >> 8) & 0xFF, pixels[i] & 0xFF);
    SelectObject(memory, old);
    DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(window, windowDc);
    return capture;
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

struct MenuCatch {
    MenuRecord record;
    int chooseIndex = -1;
    int ticks = 0;
};
MenuCatch *activeCatch = nullptr;

void CALLBACK CatchMenu(HWND, UINT, UINT_PTR timer, DWORD)
{
    MenuCatch *catcher = activeCatch;
    HWND popup = FindWindowA("#32768", nullptr);
    if (!catcher || !popup || !IsWindowVisible(popup)) {
        if (!catcher || ++catcher->ticks > 200)
            KillTimer(nullptr, timer);
        return;
    }
    KillTimer(nullptr, timer);
    catcher->record.opened = true;
    GetWindowRect(popup, &catcher->record.windowRect);
    HMENU menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
    int count = menu ? GetMenuItemCount(menu) : 0;
    int selectableBefore = 0;
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        MENUITEMINFOA item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STRING;
        item.dwTypeData = text;
        item.cch = sizeof text;
        GetMenuItemInfoA(menu, i, TRUE, &item);
        catcher->record.items.push_back(MenuItemRecord{item.wID, item.fType, text});
        if (i < catcher->chooseIndex && !(item.fType & MFT_SEPARATOR))
            ++selectableBefore;
    }
    if (catcher->chooseIndex < 0 || catcher->chooseIndex >= count) {
        EndMenu();
        return;
    }
    // From no selection, the first Down selects the first item; separators are skipped.
    for (int i = 0; i <= selectableBefore; ++i)
        PostMessageA(popup, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(popup, WM_CHAR, '\r', 0);
}

} // namespace

MenuRecord OpenContextMenu(HWND window, POINT clientPoint, int chooseIndex)
{
    MenuCatch catcher;
    catcher.chooseIndex = chooseIndex;
    activeCatch = &catcher;
    UINT_PTR timer = SetTimer(nullptr, 0, 20, CatchMenu);
    SendMessageA(window, WM_RBUTTONUP, 0, MAKELPARAM(clientPoint.x, clientPoint.y));
    TestHost::Instance().Pump();
    KillTimer(nullptr, timer);
    activeCatch = nullptr;
    TestHost::Instance().Pump();
    return catcher.record;
}

GdiTableFill::GdiTableFill(int headroom)
{
    objects_.reserve(70000);
    while (objects_.size() < 70000) {
        HRGN region = CreateRectRgn(0, 0, 1, 1);
        if (!region)
            break;
        objects_.push_back(region);
    }
    if (static_cast<int>(objects_.size()) < headroom || objects_.size() >= 70000)
        return;   // the table never filled: nothing can be counted
    for (int i = 0; i < headroom; ++i) {
        DeleteObject(objects_.back());
        objects_.pop_back();
    }
    filled_ = true;
}

GdiTableFill::~GdiTableFill()
{
    for (HGDIOBJ object : objects_)
        DeleteObject(object);
}

int GdiTableFill::CountCreatable() const
{
    std::vector<HGDIOBJ> extra;
    while (extra.size() < 70000) {
        HRGN region = CreateRectRgn(0, 0, 1, 1);
        if (!region)
            break;
        extra.push_back(region);
    }
    for (HGDIOBJ object : extra)
        DeleteObject(object);
    return static_cast<int>(extra.size());
}

namespace {

uint32_t Crc32(const uint8_t *data, size_t size, uint32_t crc = 0)
{
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void PutBigEndian(std::vector<uint8_t> &out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

void PutChunk(std::vector<uint8_t> &out, const char *type, const std::vector<uint8_t> &data)
{
    PutBigEndian(out, static_cast<uint32_t>(data.size()));
    std::vector<uint8_t> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    PutBigEndian(out, Crc32(body.data(), body.size()));
}

} // namespace

bool WritePng(const Capture &capture, const std::string &path)
{
    if (capture.width <= 0 || capture.height <= 0)
        return false;
    std::vector<uint8_t> raw;   // filter byte 0 and RGB per row
    for (int y = 0; y < capture.height; ++y) {
        raw.push_back(0);
        for (int x = 0; x < capture.width; ++x) {
            COLORREF colour = capture.At(x, y);
            raw.push_back(GetRValue(colour));
            raw.push_back(GetGValue(colour));
            raw.push_back(GetBValue(colour));
        }
    }
    std::vector<uint8_t> zlib = {0x78, 0x01};
    uint32_t a = 1, b = 0;
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    for (size_t at = 0; at < raw.size(); at += 65535) {
        size_t length = raw.size() - at < 65535 ? raw.size() - at : 65535;
        zlib.push_back(at + length >= raw.size() ? 1 : 0);
        zlib.push_back(static_cast<uint8_t>(length));
        zlib.push_back(static_cast<uint8_t>(length >> 8));
        zlib.push_back(static_cast<uint8_t>(~length));
        zlib.push_back(static_cast<uint8_t>(~length >> 8));
        zlib.insert(zlib.end(), raw.begin() + at, raw.begin() + at + length);
    }
    PutBigEndian(zlib, (b << 16) | a);

    std::vector<uint8_t> header;
    PutBigEndian(header, capture.width);
    PutBigEndian(header, capture.height);
    header.insert(header.end(), {8, 2, 0, 0, 0});
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", zlib);
    PutChunk(png, "IEND", {});

    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, png.data(), static_cast<DWORD>(png.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == png.size();
}

std::string ScreenshotPath(const std::string &name)
{
    std::string directory = ProgramDirectory() + "\\screenshots";
    CreateDirectoryA(directory.c_str(), nullptr);
    return directory + "\\" + name + ".png";
}
