// png_writer.h: a small PNG encoder (8-bit RGB, deflate with fixed Huffman codes) for screenshots.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// rgb: height rows of width pixels, 3 bytes each (red, green, blue), top row first.
std::vector<uint8_t> EncodePng(int width, int height, const uint8_t *rgb);

// The zlib stream of data (deflate, fixed codes, LZ77 over a 32 KB window). Exposed for tests.
std::vector<uint8_t> ZlibCompress(const uint8_t *data, size_t length);
