// card_geometry.cpp: the card placement table, and the artwork as the module plays it.
#include "tests/paint/card_geometry.h"

#include "panel/tool.h"

#include <cstring>

// Client sizes 24 x 38, 47 x 77 and 58 x 96 come from tool layouts of 120 x 70, 240 x 140, 300 x 175.
const CardGeometry cardGeometries[3] = {
    {{120, 70}, {24, 38}, 4, 3, {4, 4, 24, 37}, {0, 0, 20, 33},
     {2, 1}, {16, 15}, {2, 16}, {16, 13}, {2, 15}, {16, 6}},
    {{240, 140}, {47, 77}, 7, 7, {4, 4, 47, 76}, {0, 0, 43, 72},
     {3, 3}, {36, 33}, {3, 36}, {36, 33}, {3, 30}, {36, 14}},
    {{300, 175}, {58, 96}, 9, 9, {4, 4, 58, 95}, {0, 0, 54, 91},
     {4, 4}, {45, 41}, {4, 45}, {45, 42}, {4, 39}, {45, 18}},
};

// The module's own playback, reading the pictures from the loaded module.
HINSTANCE moduleInstance;

Capture PlayedPicture(HMODULE module, int artworkId, SIZE size, POINT origin, POINT extent)
{
    Canvas canvas(size.cx, size.cy, 0xFFFFFF);
    moduleInstance = module;
    PlayArtworkInto(canvas.dc, artworkId, origin.x, origin.y, extent.x, extent.y);
    return CaptureOf(canvas);
}

::testing::AssertionResult SameInside(const Capture &actual, const Capture &expected, const RECT &area)
{
    int differing = FindInk(actual, area, [&](int x, int y) { return actual.At(x, y) != expected.At(x, y); }).count;
    if (differing == 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << differing << " pixels differ";
}
