// Where every picture of the library comes from, at the scale it is drawn at: the art
// drawn for double density serves scales 2 and 4, the 1x art scales 1 and 3, enlarged by
// whole pixels where the scale asks for more; never filtered. A skin's piece stands in for
// the built-in one; a piece a skin gives only at 1x is enlarged at 2 and 4, never mixed with
// the built-in 2x art.
#pragma once

#include <windows.h>

#include "common/scale.h"

struct SkinPiece;

// The 2x art carries the resource identifier of its 1x piece plus this.
constexpr WORD DoubleArtId = 2000;

// The piece id drawn for display; null when it cannot be had.
HBITMAP LoadArt(WORD id, const Display& display);

// A bitmap like the screen's holding a skin's checked piece; null when it cannot be made.
HBITMAP SkinBitmap(const SkinPiece& piece);

// A new bitmap in which every pixel of bitmap is a factor x factor block; null when it
// cannot be made. bitmap stays the caller's, and must not be selected into a DC.
HBITMAP Enlarged(HBITMAP bitmap, int factor);
