// png_writer.h: a PNG (8-bit RGB) for screenshots: the chunks around zlib's stream of the filtered rows.
#pragma once

#include <cstdint>
#include <vector>

// rgb: height rows of width pixels, 3 bytes each (red, green, blue), top row first. Empty when zlib
// could not compress (no memory).
std::vector<uint8_t> EncodePng(int width, int height, const uint8_t *rgb);
