// pictures.h: the 31 card pictures (ranks, suits, hold marker) as metafile bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr int FirstArtworkId = 231;
constexpr int ArtworkCount = 31;

// A picture's own window: origin and extent in its logical units; the y extent is negative (y up).
struct Frame {
    int originX, originY, extentX, extentY;
};

Frame FrameOf(int artworkId);

struct GlyphFont;

// All 31 pictures, index id - 231; false (with a reason) if the font lacks a character.
bool DrawAllPictures(GlyphFont *font, std::vector<std::vector<uint8_t>> &pictures, std::string &error);
