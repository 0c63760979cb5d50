// Bitmap files read from memory, as a skin gives them: every value of the headers checked
// against the bytes there are before anything is made for them.
#pragma once

#include <windows.h>

#include <cstddef>

// Why bytes are no bitmap the library takes.
enum class BmpFault {
    None,
    NotBitmap,    // too short for its headers, or no "BM" at the start
    Header,       // a header of a size no bitmap has, or planes other than one
    Jpeg,         // a JPEG picture in a bitmap's clothes
    Png,          // a PNG picture in a bitmap's clothes
    Compressed,   // run-length or another compression
    Depth,        // bits per pixel other than 1, 4, 8, 24 or 32 (bit fields: 32 only)
    Dimensions,   // a width or height of 0, a negative width, or more pixels than memory holds
    Palette,      // more colours than the depth holds, or a palette past the pixels
    Truncated,    // the pixels need more bytes than there are
};

// Where a checked bitmap's pixels and colours lie in its bytes.
struct Bmp {
    LONG width = 0;
    LONG height = 0;  // rows, whichever way up they are stored
    bool topDown = false;
    WORD bits = 0;
    bool bitFields = false;
    DWORD masks[3] = {};           // red, green, blue, with bit fields
    const BYTE* palette = nullptr;
    int colours = 0;
    int entryBytes = 4;            // 3 in the oldest headers' palettes
    const BYTE* pixels = nullptr;
    size_t stride = 0;
};

// Reads the headers of size bytes at bytes into bmp; BmpFault::None when the bytes hold a
// whole bitmap the library takes.
BmpFault ReadBmp(const BYTE* bytes, size_t size, Bmp& bmp);

// The pixel at (x, y), counted from the top-left corner, as 0x00RRGGBB.
DWORD BmpPixel(const Bmp& bmp, LONG x, LONG y);
