// bitmaps.h: the two 16 x 16 bitmaps of the panel-type descriptor, as .bmp file bytes.
#pragma once

#include <cstdint>
#include <vector>

// 4 bits per pixel, standard 16-colour palette: the four suits in the quarters on white.
std::vector<uint8_t> TypeColourBitmap();
// 1 bit per pixel, black and white palette, every bit zero.
std::vector<uint8_t> TypeMonoBitmap();
