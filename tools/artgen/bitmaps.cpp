// bitmaps.cpp: the descriptor's bitmaps, drawn pixel by pixel from the patterns below.
#include "bitmaps.h"

namespace {

// The standard 16-colour palette, as (red, green, blue), in its usual order.
const uint8_t StandardPalette[16][3] = {
    {0, 0, 0}, {128, 0, 0}, {0, 128, 0}, {128, 128, 0}, {0, 0, 128}, {128, 0, 128}, {0, 128, 128},
    {192, 192, 192}, {128, 128, 128}, {255, 0, 0}, {0, 255, 0}, {255, 255, 0}, {0, 0, 255},
    {255, 0, 255}, {0, 255, 255}, {255, 255, 255},
};
constexpr uint8_t PaletteBlack = 0, PaletteRed = 9, PaletteWhite = 15;

// 7 x 7 suits; '#' is ink.
const char *const Diamond[7] = {"...#...", "..###..", ".#####.", "#######", ".#####.", "..###..", "...#..."};
const char *const Club[7] = {"..###..", "..###..", "##.#.##", "#######", "##.#.##", "...#...", "..###.."};
const char *const Spade[7] = {"...#...", "..###..", ".#####.", "#######", "##.#.##", "...#...", "..###.."};
const char *const Heart[7] = {".##.##.", "#######", "#######", ".#####.", "..###..", "...#...", "......."};

void Put16(std::vector<uint8_t> &b, unsigned v) { b.push_back(v & 0xFF); b.push_back((v >> 8) & 0xFF); }
void Put32(std::vector<uint8_t> &b, unsigned v) { Put16(b, v & 0xFFFF); Put16(b, v >> 16); }

// File header, BITMAPINFOHEADER and palette of a 16 x 16 bitmap; the pixel rows follow.
std::vector<uint8_t> BitmapHeader(unsigned bitsPerPixel, unsigned paletteSize, unsigned pixelBytes)
{
    const unsigned offset = 14 + 40 + 4 * paletteSize;
    std::vector<uint8_t> b{'B', 'M'};
    Put32(b, offset + pixelBytes);
    Put32(b, 0);
    Put32(b, offset);
    Put32(b, 40);
    Put32(b, 16);              // width
    Put32(b, 16);              // height: rows are stored bottom up
    Put16(b, 1);
    Put16(b, bitsPerPixel);
    Put32(b, 0);               // no compression
    Put32(b, pixelBytes);
    Put32(b, 2835);            // 72 dots per inch
    Put32(b, 2835);
    Put32(b, paletteSize);
    Put32(b, 0);
    return b;
}

void Stamp(uint8_t pixels[16][16], const char *const pattern[7], int left, int top, uint8_t colour)
{
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 7; ++x)
            if (pattern[y][x] == '#')
                pixels[top + y][left + x] = colour;
}

} // namespace

std::vector<uint8_t> TypeColourBitmap()
{
    uint8_t pixels[16][16];    // [row from the top][column]
    for (auto &row : pixels)
        for (uint8_t &p : row)
            p = PaletteWhite;
    Stamp(pixels, Diamond, 0, 0, PaletteRed);
    Stamp(pixels, Club, 9, 0, PaletteBlack);
    Stamp(pixels, Spade, 0, 9, PaletteBlack);
    Stamp(pixels, Heart, 9, 9, PaletteRed);

    std::vector<uint8_t> b = BitmapHeader(4, 16, 16 * 8);
    for (const auto &c : StandardPalette) {
        b.push_back(c[2]);     // RGBQUAD: blue, green, red, 0
        b.push_back(c[1]);
        b.push_back(c[0]);
        b.push_back(0);
    }
    for (int row = 15; row >= 0; --row)
        for (int x = 0; x < 16; x += 2)
            b.push_back(static_cast<uint8_t>(pixels[row][x] << 4 | pixels[row][x + 1]));
    return b;
}

std::vector<uint8_t> TypeMonoBitmap()
{
    std::vector<uint8_t> b = BitmapHeader(1, 2, 16 * 4);
    const uint8_t palette[8] = {0, 0, 0, 0, 255, 255, 255, 0};
    b.insert(b.end(), palette, palette + 8);
    b.insert(b.end(), 16 * 4, 0);   // rows of 16 bits padded to 32
    return b;
}
