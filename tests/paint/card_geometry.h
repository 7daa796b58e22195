// card_geometry.h: where a card's pictures land, and the artwork as the module plays it.
#pragma once

#include <string>
#include <gtest/gtest.h>
#include "engine/game.h"
#include "tests/common/test_host.h"

// One row of the card placement table: a tool's client size, the card client it lays out, and where
// the face, its shadow and the three pictures must land in that card.
struct CardGeometry {
    SIZE tool;
    SIZE card;
    int ew, eh;             // corner ellipse
    RECT shadow;
    RECT face;
    POINT rankOrigin, rankExtent;
    POINT suitOrigin, suitExtent;
    POINT holdOrigin, holdExtent;
};

extern const CardGeometry cardGeometries[3];

// One of the module's pictures played over white at origin and extent, as a card places it, on a
// canvas of the given size.
Capture PlayedPicture(HMODULE module, int artworkId, SIZE canvas, POINT origin, POINT extent);

// Identical pixels inside a rectangle of both captures, or how many differ.
::testing::AssertionResult SameInside(const Capture &actual, const Capture &expected, const RECT &area);

