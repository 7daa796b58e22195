// png_writer.h: PNG files of 0x00RRGGBB pixel rows, written with the host's own encoder.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>
#include "apps/quorvane/png_writer.h"

// Writes the image, given as rows of 0x00RRGGBB pixels from the top, to path; false if it cannot.
inline bool WritePng(const char *path, int width, int height, const uint32_t *pixels)
{
    std::vector<uint8_t> rgb;
    for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i)
        rgb.insert(rgb.end(), {uint8_t(pixels[i] >> 16), uint8_t(pixels[i] >> 8), uint8_t(pixels[i])});
    std::vector<uint8_t> png = EncodePng(width, height, rgb.data());
    FILE *f = std::fopen(path, "wb");
    bool written = f && std::fwrite(png.data(), 1, png.size(), f) == png.size();
    return f && std::fclose(f) == 0 && written;
}
