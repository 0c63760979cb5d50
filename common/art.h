// Where every picture of the library comes from, at the scale it is drawn at: the art
// drawn for double density serves scales 2 and 4, the 1x art scales 1 and 3, enlarged by
// whole pixels where the scale asks for more; never filtered.
#pragma once

#include <windows.h>

// The 2x art carries the resource identifier of its 1x piece plus this.
constexpr WORD DoubleArtId = 2000;

// The piece id at scale; null when it cannot be had.
HBITMAP LoadArt(WORD id, int scale);

// A new bitmap in which every pixel of bitmap is a factor x factor block; null when it
// cannot be made. bitmap stays the caller's, and must not be selected into a DC.
HBITMAP Enlarged(HBITMAP bitmap, int factor);
