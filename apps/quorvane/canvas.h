// canvas.h: a 32-bit top-down DIB selected into a memory DC, for drawing or screen reads that are read
// back; pixels as 0x00RRGGBB, row by row from the top. The host's screenshots, vp-pictures and the window
// tests draw on it.
#pragma once

#include <windows.h>
#include <cstdint>
#include <vector>

struct Canvas {
    Canvas(int width, int height, uint32_t fill = 0);
    ~Canvas();
    Canvas(const Canvas &) = delete;
    Canvas &operator=(const Canvas &) = delete;

    bool Ready() const { return bits != nullptr; }
    void Fill(uint32_t colour);
    uint32_t At(int x, int y);           // once GDI has finished what it was asked to draw
    std::vector<uint32_t> Pixels();
    std::vector<uint8_t> Png();          // empty when the canvas could not be made

    const int width, height;
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ saved = nullptr;
    uint32_t *bits = nullptr;
};
