// glyph_outline.cpp: FreeType outlines to placed, flattened integer rings.
#include "glyph_outline.h"

#include <cmath>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

struct GlyphFont {
    FT_Library library;
    FT_Face face;
};

GlyphFont *OpenGlyphFont(const std::string &path, std::string &error)
{
    GlyphFont *font = new GlyphFont{};
    if (FT_Init_FreeType(&font->library) != 0) {
        error = "cannot start FreeType";
        delete font;
        return nullptr;
    }
    if (FT_New_Face(font->library, path.c_str(), 0, &font->face) != 0) {
        error = "cannot open font " + path;
        FT_Done_FreeType(font->library);
        delete font;
        return nullptr;
    }
    return font;
}

void CloseGlyphFont(GlyphFont *font)
{
    if (!font)
        return;
    FT_Done_Face(font->face);
    FT_Done_FreeType(font->library);
    delete font;
}

namespace {

PointD FromVector(const FT_Vector *v) { return PointD{static_cast<double>(v->x), static_cast<double>(v->y)}; }

int MoveTo(const FT_Vector *to, void *user)
{
    Outline *outline = static_cast<Outline *>(user);
    outline->push_back(Contour{FromVector(to), {}});
    return 0;
}

int LineTo(const FT_Vector *to, void *user)
{
    static_cast<Outline *>(user)->back().segments.push_back(Segment{1, {FromVector(to)}});
    return 0;
}

int ConicTo(const FT_Vector *control, const FT_Vector *to, void *user)
{
    static_cast<Outline *>(user)->back().segments.push_back(
        Segment{2, {FromVector(control), FromVector(to)}});
    return 0;
}

int CubicTo(const FT_Vector *c1, const FT_Vector *c2, const FT_Vector *to, void *user)
{
    static_cast<Outline *>(user)->back().segments.push_back(
        Segment{3, {FromVector(c1), FromVector(c2), FromVector(to)}});
    return 0;
}

PointD Place(const PointD &p, const Placement &t)
{
    return PointD{t.scaleX * p.x + t.offsetX, t.scaleY * p.y + t.offsetY};
}

double Length(double x, double y) { return std::sqrt(x * x + y * y); }

// Chords needed so that a curve whose second difference is `bend` stays within `tolerance`.
int ChordCount(double bend, double tolerance)
{
    int n = static_cast<int>(std::ceil(std::sqrt(bend / tolerance)));
    return n < 1 ? 1 : n;
}

// The contour's points, curves cut into chords, in placed (unrounded) units.
std::vector<PointD> FlattenContour(const Contour &contour, const Placement &t, double tolerance)
{
    std::vector<PointD> points{Place(contour.start, t)};
    for (const Segment &s : contour.segments) {
        PointD p0 = points.back();
        if (s.order == 1) {
            points.push_back(Place(s.p[0], t));
        } else if (s.order == 2) {
            PointD p1 = Place(s.p[0], t), p2 = Place(s.p[1], t);
            // A chord over a parameter step h strays at most |p0 - 2 p1 + p2| h^2 / 4.
            int n = ChordCount(Length(p0.x - 2 * p1.x + p2.x, p0.y - 2 * p1.y + p2.y) / 4, tolerance);
            for (int i = 1; i <= n; ++i) {
                double u = static_cast<double>(i) / n, v = 1 - u;
                points.push_back(PointD{v * v * p0.x + 2 * u * v * p1.x + u * u * p2.x,
                                        v * v * p0.y + 2 * u * v * p1.y + u * u * p2.y});
            }
        } else {
            PointD p1 = Place(s.p[0], t), p2 = Place(s.p[1], t), p3 = Place(s.p[2], t);
            double bend = std::fmax(Length(p0.x - 2 * p1.x + p2.x, p0.y - 2 * p1.y + p2.y),
                                    Length(p1.x - 2 * p2.x + p3.x, p1.y - 2 * p2.y + p3.y));
            int n = ChordCount(bend * 3 / 4, tolerance);
            for (int i = 1; i <= n; ++i) {
                double u = static_cast<double>(i) / n, v = 1 - u;
                double a = v * v * v, b = 3 * u * v * v, c = 3 * u * u * v, d = u * u * u;
                points.push_back(PointD{a * p0.x + b * p1.x + c * p2.x + d * p3.x,
                                        a * p0.y + b * p1.y + c * p2.y + d * p3.y});
            }
        }
    }
    return points;
}

bool Collinear(const Point16 &a, const Point16 &b, const Point16 &c)
{
    long cross = static_cast<long>(b.x - a.x) * (c.y - a.y) - static_cast<long>(b.y - a.y) * (c.x - a.x);
    return cross == 0;
}

Ring RoundRing(const std::vector<PointD> &points)
{
    Ring ring;
    for (const PointD &p : points) {
        Point16 q{static_cast<int16_t>(std::lround(p.x)), static_cast<int16_t>(std::lround(p.y))};
        if (!ring.empty() && ring.back().x == q.x && ring.back().y == q.y)
            continue;
        if (ring.size() >= 2 && Collinear(ring[ring.size() - 2], ring.back(), q))
            ring.back() = q;
        else
            ring.push_back(q);
    }
    // The ring closes by itself: drop a last point that repeats the first or lies on the closing line.
    while (ring.size() > 3) {
        const Point16 &first = ring.front(), &last = ring.back();
        if ((first.x == last.x && first.y == last.y) || Collinear(ring[ring.size() - 2], last, first))
            ring.pop_back();
        else if (Collinear(last, first, ring[1]))
            ring.erase(ring.begin());
        else
            break;
    }
    return ring;
}

} // namespace

bool LoadCharacterOutline(GlyphFont *font, unsigned codepoint, Outline &outline)
{
    outline.clear();
    FT_UInt index = FT_Get_Char_Index(font->face, codepoint);
    if (index == 0)
        return false;
    if (FT_Load_Glyph(font->face, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0)
        return false;
    if (font->face->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
        return false;
    FT_Outline_Funcs funcs = {MoveTo, LineTo, ConicTo, CubicTo, 0, 0};
    return FT_Outline_Decompose(&font->face->glyph->outline, &funcs, &outline) == 0 && !outline.empty();
}

void AppendShifted(Outline &outline, const Outline &other, double dx)
{
    for (Contour c : other) {
        c.start.x += dx;
        for (Segment &s : c.segments)
            for (int i = 0; i < s.order; ++i)
                s.p[i].x += dx;
        outline.push_back(c);
    }
}

Box InkBounds(const Outline &outline)
{
    Box box{1e300, 1e300, -1e300, -1e300};
    for (const Contour &c : outline)
        for (const PointD &p : FlattenContour(c, Placement{1, 1, 0, 0}, 0.05)) {
            box.xMin = std::fmin(box.xMin, p.x);
            box.yMin = std::fmin(box.yMin, p.y);
            box.xMax = std::fmax(box.xMax, p.x);
            box.yMax = std::fmax(box.yMax, p.y);
        }
    return box;
}

std::vector<Ring> FlattenOutline(const Outline &outline, const Placement &placement, double tolerance)
{
    std::vector<Ring> rings;
    for (const Contour &c : outline) {
        Ring ring = RoundRing(FlattenContour(c, placement, tolerance));
        if (ring.size() >= 3)
            rings.push_back(ring);
    }
    return rings;
}
