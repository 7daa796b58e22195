// paint_reference.h: what a card or display should look like, drawn independently into memory.
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

// The card as it must appear: the host's background under it, the shadow, the face, then the rank
// and suit pictures and, when held, the hold marker, each played from the module's own resources.
// A card value outside the deck draws no picture but the marker.
// The x, y at which a display's text starts, for a display index, client size and measured text size.
POINT ExpectedTextOrigin(int display, SIZE client, SIZE text);

// How a display's drawing may be varied, to show that a comparison notices a one-pixel slip.
struct TextVariation {
    POINT nudge = {0, 0};           // added to the text's place (the shadow moves with it)
    POINT shadowOffset = {1, 1};    // where the shadow lies from the text
    bool shadowLast = false;        // draw the shadow over the text instead of under it
};

// The display as it must appear: the background, the shadow text one pixel right and down, the text.
// A null font draws in the device context's own font.
Capture ReferenceDisplay(HWND displayWindow, int display, HFONT font, const std::string &text,
                         const TextVariation &variation = TextVariation());

// The size a text measures in a font (the device context's own when font is null).
SIZE MeasureText(HFONT font, const std::string &text);

// Identical pixels, or a message naming how many differ and the first few.
::testing::AssertionResult SameImage(const Capture &actual, const Capture &expected);

// The bounding box of the pixels that differ from the panel background under the window.
RECT BoundsOfInk(const Capture &capture, HWND window);

// How many pixels of a rectangle (clipped to the capture) have exactly this colour.
int CountColour(const Capture &capture, const RECT &area, COLORREF colour);

// The bounding box of the pixels of one colour; empty when there are none.
RECT BoundsOfColour(const Capture &capture, COLORREF colour);

// The record's 72-byte block for a hand that waits for the draw: five cards and their hold flags.
VideoPokerGame WaitingHand(const Card cards[HandSize], const uint8_t held[HandSize], int wager,
                           int credits);
