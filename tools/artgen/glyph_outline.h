// glyph_outline.h: glyph outlines read with FreeType, placed by a scale and offset, flattened to rings.
#pragma once

#include <string>
#include <vector>

#include "metafile_writer.h"

struct PointD {
    double x, y;
};

// One piece of a contour, from the previous end point: a line (1 point), a quadratic (2) or a cubic (3).
struct Segment {
    int order;
    PointD p[3];
};

struct Contour {
    PointD start;
    std::vector<Segment> segments;
};

typedef std::vector<Contour> Outline;

struct Box {
    double xMin, yMin, xMax, yMax;
    double Width() const { return xMax - xMin; }
    double Height() const { return yMax - yMin; }
};

// x' = scaleX * x + offsetX, y' = scaleY * y + offsetY.
struct Placement {
    double scaleX, scaleY, offsetX, offsetY;
};

struct GlyphFont;   // an open font face

GlyphFont *OpenGlyphFont(const std::string &path, std::string &error);
void CloseGlyphFont(GlyphFont *font);
// The unhinted outline of a character in font units (y up); false if the font lacks it.
bool LoadCharacterOutline(GlyphFont *font, unsigned codepoint, Outline &outline);

// Appends `other` shifted right by dx font units (for figures built of two characters).
void AppendShifted(Outline &outline, const Outline &other, double dx);

// The ink bounds, curves included.
Box InkBounds(const Outline &outline);

// The outline placed and flattened: every curve is cut into chords that stay within `tolerance`
// (in placed units) of it; points are rounded, repeats and straight-line midpoints dropped.
std::vector<Ring> FlattenOutline(const Outline &outline, const Placement &placement, double tolerance);
