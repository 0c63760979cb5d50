// What the face must look like on a given screen, described independently of the
// library: which pieces of the resource art land where, and which bands repeat.
#pragma once

#include <windows.h>

#include <map>
#include <vector>

#include "tests/support/image.h"

// A rectangle of a face bitmap, in the bitmap's own coordinates, filled from the art at
// from, repeating with period (0: no repeat in that direction).
struct Piece {
    RECT area;
    POINT from;
    SIZE period;
};

struct ExpectedBitmap {
    int id;       // resource of the design-size art
    POINT at;     // where DrawFace puts it on the screen
    SIZE size;    // its size after widening
    std::vector<Piece> pieces;
};

// The four bitmaps in the order DrawFace paints them: top, bottom, left, right.
std::vector<ExpectedBitmap> ExpectedFace(SIZE screen);

// The screen as DrawFace must leave it on a canvas filled with fill.
Image ComposeFace(const std::vector<ExpectedBitmap>& face, const std::map<int, Image>& art,
                  SIZE screen, uint32_t fill);

// The same at a scale, from module's art: the face laid out for the screen the header's
// relation gives, from the art drawn for the scale's density (resource id + 2000 for twice
// the density, at scales 2 and 4) with every place and run that many times longer, then
// every pixel enlarged to a block for what the scale asks beyond it; cut to the screen.
Image ComposeScaledFace(HMODULE module, SIZE screen, int scale, uint32_t fill);
