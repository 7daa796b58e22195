// pictures.cpp: card indices and suits from font outlines, and the hold marker from geometry of our own.
#include "pictures.h"

#include <cmath>
#include <cstdio>

#include "glyph_outline.h"
#include "metafile_writer.h"

namespace {

constexpr uint16_t CopyPen = 13;      // R2_COPYPEN
constexpr uint16_t Alternate = 1;     // ALTERNATE fill

// Chords stay within this many logical units of a curve: about a fifth of a pixel when a tool is
// 600 x 350 and its rank picture is some 84 pixels tall.
constexpr double CurveTolerance = 12.0;

const Frame NarrowRankFrame = {-2978, 2989, 5964, -5961};
const Frame WideRankFrame = {-3718, 3715, 7436, -7432};      // the ten and the queen
const Frame SuitFrame = {-2978, 2986, 5964, -5958};
const Frame HoldMarkerFrame = {-3712, 1366, 7625, -2933};

// Ranks two .. ace: the characters that show them.
const char *const RankText[13] = {"2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K", "A"};
const unsigned SuitCharacter[4] = {0x2663, 0x2666, 0x2665, 0x2660};   // club, diamond, heart, spade

// The rank and suit glyphs keep these fractions of their frame free on each side.
constexpr double RankMarginX = 0.08, RankMarginTop = 0.07, RankMarginBottom = 0.07;
constexpr double SuitMarginX = 0.08, SuitMarginY = 0.08;
// A figure may be made narrower than the font draws it, down to this fraction, to keep its height.
constexpr double SmallestSqueeze = 0.72;

double FrameLeft(const Frame &f) { return f.originX; }
double FrameTop(const Frame &f) { return f.originY; }
double FrameWidth(const Frame &f) { return f.extentX; }
double FrameHeight(const Frame &f) { return -f.extentY; }

// The rank's outline; the ten is its two figures set close together.
bool RankOutline(GlyphFont *font, int rank, Outline &outline)
{
    const char *text = RankText[rank];
    if (!LoadCharacterOutline(font, static_cast<unsigned char>(text[0]), outline))
        return false;
    if (text[1] == 0)
        return true;
    Outline second;
    if (!LoadCharacterOutline(font, static_cast<unsigned char>(text[1]), second))
        return false;
    const double gap = 70;   // font units between the two figures' ink
    AppendShifted(outline, second, InkBounds(outline).xMax + gap - InkBounds(second).xMin);
    return true;
}

// Every rank is drawn as tall as a plain figure of the font (its ink from below the baseline to the
// top of the round figures) inside the margins; a glyph that reaches further (the descender of J and
// the tail of Q) is lowered in height to fit, and one too wide is squeezed sideways.
Placement PlaceRank(const Outline &outline, const Box &figure, const Frame &frame)
{
    Box ink = InkBounds(outline);
    double bandHeight = FrameHeight(frame) * (1 - RankMarginTop - RankMarginBottom);
    double bandWidth = FrameWidth(frame) * (1 - 2 * RankMarginX);
    double scale = bandHeight / figure.Height();
    double scaleY = std::fmin(scale, bandHeight / ink.Height());
    double scaleX = scale;
    if (ink.Width() * scaleX > bandWidth)
        scaleX = std::fmax(bandWidth / ink.Width(), scale * SmallestSqueeze);
    if (ink.Width() * scaleX > bandWidth) {   // still too wide: shrink as a whole
        double shrink = bandWidth / (ink.Width() * scaleX);
        scaleX *= shrink;
        scaleY *= shrink;
    }
    double centreX = FrameLeft(frame) + FrameWidth(frame) / 2;
    double bandBottom = FrameTop(frame) - FrameHeight(frame) * (1 - RankMarginBottom);
    double centreY = bandBottom + bandHeight / 2;
    return Placement{scaleX, scaleY, centreX - scaleX * (ink.xMin + ink.xMax) / 2,
                     centreY - scaleY * (ink.yMin + ink.yMax) / 2};
}

Placement PlaceSuit(const Outline &outline, const Frame &frame)
{
    Box ink = InkBounds(outline);
    double scale = std::fmin(FrameWidth(frame) * (1 - 2 * SuitMarginX) / ink.Width(),
                             FrameHeight(frame) * (1 - 2 * SuitMarginY) / ink.Height());
    double centreX = FrameLeft(frame) + FrameWidth(frame) / 2;
    double centreY = FrameTop(frame) - FrameHeight(frame) / 2;
    return Placement{scale, scale, centreX - scale * (ink.xMin + ink.xMax) / 2,
                     centreY - scale * (ink.yMin + ink.yMax) / 2};
}

// The objects every picture carries, whether it draws with them or not: a player of the format may
// expect them.
struct PictureObjects {
    uint16_t nullBrush, blackPen, nullPen, whiteBrush;
};

PictureObjects BeginPicture(MetafileWriter &mf, const Frame &frame)
{
    SetWindowOrg(mf, frame.originX, frame.originY);
    SetWindowExt(mf, frame.extentX, frame.extentY);
    PictureObjects objects;
    objects.nullBrush = CreateNullBrush(mf);
    objects.blackPen = CreateSolidPen(mf, Black);
    objects.nullPen = CreateNullPen(mf);
    objects.whiteBrush = CreateSolidBrush(mf, White);
    return objects;
}

// After a picture's own objects: the modes, then the null brush and the black pen selected, so that
// nothing is filled before the picture picks its brush.
void EndSetup(MetafileWriter &mf, const PictureObjects &objects)
{
    SetRop2(mf, CopyPen);
    SetPolyFillMode(mf, Alternate);
    SelectObject(mf, objects.nullBrush);
    SelectObject(mf, objects.blackPen);
}

// A white box over the whole frame, outlined in white, then the glyph filled with no outline; holes
// are the glyph's inner rings under the alternate fill rule.
std::vector<uint8_t> GlyphPicture(const Frame &frame, const std::vector<Ring> &glyph, uint32_t colour)
{
    MetafileWriter mf;
    const PictureObjects objects = BeginPicture(mf, frame);
    uint16_t whitePen = CreateSolidPen(mf, White);
    uint16_t fillBrush = CreateSolidBrush(mf, colour);
    EndSetup(mf, objects);

    const int16_t left = static_cast<int16_t>(frame.originX), top = static_cast<int16_t>(frame.originY);
    const int16_t right = static_cast<int16_t>(frame.originX + frame.extentX);
    const int16_t bottom = static_cast<int16_t>(frame.originY + frame.extentY);
    SelectObject(mf, whitePen);
    SelectObject(mf, objects.whiteBrush);
    Polygon(mf, Ring{{left, top}, {right, top}, {right, bottom}, {left, bottom}});

    SelectObject(mf, objects.nullPen);
    SelectObject(mf, fillBrush);
    if (glyph.size() == 1)
        Polygon(mf, glyph[0]);
    else
        PolyPolygon(mf, glyph);
    return FinishMetafile(mf);
}

// ---- The hold marker: a key on its side, ring left, bit with teeth right ----

void AddArc(std::vector<PointD> &points, double cx, double cy, double radius, double from, double to)
{
    // Chords whose sagitta stays within the curve tolerance.
    double step = 2 * std::acos(1 - CurveTolerance / radius);
    int n = static_cast<int>(std::ceil(std::fabs(to - from) / step));
    for (int i = 0; i <= n; ++i) {
        double a = from + (to - from) * i / n;
        points.push_back(PointD{cx + radius * std::cos(a), cy + radius * std::sin(a)});
    }
}

Ring ToRing(const std::vector<PointD> &points, double dx, double dy)
{
    Outline outline{Contour{points[0], {}}};
    for (size_t i = 1; i < points.size(); ++i)
        outline[0].segments.push_back(Segment{1, {points[i]}});
    std::vector<Ring> rings = FlattenOutline(outline, Placement{1, 1, dx, dy}, CurveTolerance);
    return rings.empty() ? Ring{} : rings[0];
}

// The key's outer edge and the hole of its ring, centred on the origin so that key and shadow
// together sit in the middle of the frame.
std::vector<Ring> KeyShape(double dx, double dy)
{
    const double pi = 3.14159265358979323846;
    const double ringX = -2330, ringRadius = 1240, holeRadius = 470;
    const double shaft = 330;                      // half the shaft's height
    const double collarLeft = -1080, collarRight = -800, collar = 520;
    const double bitLeft = 1900, bitRight = 3330, tip = 3560;
    double join = std::asin(shaft / ringRadius);   // where the shaft leaves the ring

    std::vector<PointD> edge;
    AddArc(edge, ringX, 0, ringRadius, join, 2 * pi - join);
    const PointD lower[] = {
        {collarLeft, -shaft}, {collarLeft, -collar}, {collarRight, -collar}, {collarRight, -shaft},
        {bitLeft, -shaft}, {bitLeft, -1180},
        {2230, -1180}, {2230, -860}, {2480, -860}, {2480, -1180},    // first notch
        {2800, -1180}, {2800, -720}, {3050, -720}, {3050, -1020},    // second notch, shorter tooth
        {bitRight, -1020}, {bitRight, -shaft}, {tip, -shaft},
        {tip, shaft}, {collarRight, shaft}, {collarRight, collar}, {collarLeft, collar}, {collarLeft, shaft},
    };
    edge.insert(edge.end(), std::begin(lower), std::end(lower));

    std::vector<PointD> hole;
    AddArc(hole, ringX, 0, holeRadius, 0, 2 * pi);
    hole.pop_back();
    return {ToRing(edge, dx, dy), ToRing(hole, dx, dy)};
}

// No background: a black shadow offset by (200, -200), then the yellow key outlined in black.
std::vector<uint8_t> HoldMarkerPicture()
{
    MetafileWriter mf;
    const PictureObjects objects = BeginPicture(mf, HoldMarkerFrame);
    uint16_t blackBrush = CreateSolidBrush(mf, Black);
    uint16_t yellowBrush = CreateSolidBrush(mf, Yellow);
    EndSetup(mf, objects);

    SelectObject(mf, objects.nullPen);
    SelectObject(mf, blackBrush);
    PolyPolygon(mf, KeyShape(200, -200));
    SelectObject(mf, objects.blackPen);
    SelectObject(mf, yellowBrush);
    PolyPolygon(mf, KeyShape(0, 0));
    return FinishMetafile(mf);
}

} // namespace

Frame FrameOf(int artworkId)
{
    int index = artworkId - FirstArtworkId;
    if (index >= 26)
        return index == 30 ? HoldMarkerFrame : SuitFrame;
    int rank = index % 13;
    return (rank == 8 || rank == 10) ? WideRankFrame : NarrowRankFrame;
}

bool DrawAllPictures(GlyphFont *font, std::vector<std::vector<uint8_t>> &pictures, std::string &error)
{
    pictures.assign(ArtworkCount, {});
    Outline figure;
    if (!LoadCharacterOutline(font, '0', figure)) {
        error = "the font has no figure 0";
        return false;
    }
    Box figureInk = InkBounds(figure);
    for (int rank = 0; rank < 13; ++rank) {
        Outline outline;
        if (!RankOutline(font, rank, outline)) {
            error = std::string("the font has no ") + RankText[rank];
            return false;
        }
        const int blackId = FirstArtworkId + rank;
        const Frame frame = FrameOf(blackId);
        std::vector<Ring> glyph = FlattenOutline(outline, PlaceRank(outline, figureInk, frame), CurveTolerance);
        pictures[blackId - FirstArtworkId] = GlyphPicture(frame, glyph, Black);
        pictures[blackId + 13 - FirstArtworkId] = GlyphPicture(frame, glyph, Red);
    }
    const uint32_t suitColour[4] = {Black, Red, Red, Black};
    for (int suit = 0; suit < 4; ++suit) {
        Outline outline;
        if (!LoadCharacterOutline(font, SuitCharacter[suit], outline)) {
            char name[16];
            std::snprintf(name, sizeof name, "U+%04X", SuitCharacter[suit]);
            error = std::string("the font has no suit symbol ") + name;
            return false;
        }
        const int id = FirstArtworkId + 26 + suit;
        std::vector<Ring> glyph = FlattenOutline(outline, PlaceSuit(outline, SuitFrame), CurveTolerance);
        pictures[id - FirstArtworkId] = GlyphPicture(SuitFrame, glyph, suitColour[suit]);
    }
    pictures[30] = HoldMarkerPicture();
    return true;
}
