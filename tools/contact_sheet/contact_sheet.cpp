// contact_sheet: plays all 31 card pictures of VideoPoker.dll at a large tool's size and, enlarged pixel
// by pixel, at the smallest tool's size, and writes them as one PNG.
//   contact_sheet OUT.png [VideoPoker.dll]
#include <windows.h>

#include <cstdio>
#include <vector>

#include "apps/quorvane/png_writer.h"
#include "panel/tool.h"
#include "resources/module_instance.h"
#include "resources/resource_ids.h"

HINSTANCE moduleInstance;
HINSTANCE hostInstance;

namespace {

constexpr COLORREF kFelt = RGB(0x2E, 0x7D, 0x32);

// A 32-bit top-down DIB with a memory DC.
struct Sheet {
    int width, height;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = nullptr;
    uint32_t *bits = nullptr;
    Sheet(int w, int h) : width(w), height(h)
    {
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void *p = nullptr;
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &p, nullptr, 0);
        bits = static_cast<uint32_t *>(p);
        SelectObject(dc, bitmap);
        RECT all = {0, 0, w, h};
        HBRUSH felt = CreateSolidBrush(kFelt);
        FillRect(dc, &all, felt);
        DeleteObject(felt);
    }
    ~Sheet() { DeleteDC(dc), DeleteObject(bitmap); }
    uint32_t At(int x, int y) const { return bits[y * width + x]; }
};

// As the card window places a picture: anisotropic mapping, the viewport on the rectangle.
bool PlayInto(HDC dc, int id, int x, int y, int w, int h)
{
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, 1000, 1000, nullptr);
    SetViewportExtEx(dc, w, h, nullptr);
    SetViewportOrgEx(dc, x, y, nullptr);
    bool played = PlayMetafileResource(dc, id) != 0;
    SetMapMode(dc, MM_TEXT);
    SetViewportOrgEx(dc, 0, 0, nullptr);
    return played;
}

// The rank, suit and marker places of a card R x B pixels large, as the card window lays them out.
SIZE SlotOf(int id, int R, int B)
{
    int ew = R / 6, fb = B - 5, aw = R - 4 - ew, hh = fb / 2;
    if (id == IDA_HOLD_MARKER)
        return {aw, fb / 5};
    return {aw, id >= IDA_SUIT_FIRST ? hh - 3 : hh - fb / 20};
}

// Ranks black then red in two rows of 13, suits and the marker in the third.
POINT CellOf(int index) { return index < 26 ? POINT{index % 13, index / 13} : POINT{index - 26, 2}; }

}  // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: contact_sheet OUT.png [VideoPoker.dll]\n");
        return 2;
    }
    moduleInstance = LoadLibraryA(argc > 2 ? argv[2] : "VideoPoker.dll");
    if (!moduleInstance) {
        std::fprintf(stderr, "contact_sheet: cannot load the module\n");
        return 1;
    }
    const int count = IDA_COUNT;
    const int cellLarge = 104, cellSmall = 20, zoom = 4;   // cards of a 600 x 350 and a 120 x 70 tool
    const int width = 13 * cellLarge + 16, smallTop = 8 + 3 * cellLarge;
    Sheet sheet(width, smallTop + 3 * cellSmall * zoom + 8), tiny(13 * cellSmall, 3 * cellSmall);
    bool played = true;
    for (int i = 0; i < count; ++i) {
        int id = IDA_BLACK_RANK_FIRST + i;
        POINT cell = CellOf(i);
        SIZE large = SlotOf(id, 116, 192), small = SlotOf(id, 24, 38);
        played &= PlayInto(sheet.dc, id, 8 + cell.x * cellLarge, 8 + cell.y * cellLarge, large.cx, large.cy);
        played &= PlayInto(tiny.dc, id, cell.x * cellSmall + 2, cell.y * cellSmall + 2, small.cx, small.cy);
    }
    GdiFlush();
    for (int y = 0; y < tiny.height * zoom; ++y)
        for (int x = 0; x < tiny.width * zoom; ++x)
            sheet.bits[(smallTop + y) * width + 8 + x] = tiny.At(x / zoom, y / zoom);

    std::vector<uint8_t> rgb;
    for (int i = 0; i < sheet.width * sheet.height; ++i)
        rgb.insert(rgb.end(), {uint8_t(sheet.bits[i] >> 16), uint8_t(sheet.bits[i] >> 8), uint8_t(sheet.bits[i])});
    std::vector<uint8_t> png = EncodePng(sheet.width, sheet.height, rgb.data());
    FILE *out = std::fopen(argv[1], "wb");
    bool written = out && std::fwrite(png.data(), 1, png.size(), out) == png.size();
    if (out)
        written &= std::fclose(out) == 0;
    if (!played || !written) {
        std::fprintf(stderr, "contact_sheet: %s\n", played ? "cannot write the picture" : "a picture did not play");
        return 1;
    }
    return 0;
}
