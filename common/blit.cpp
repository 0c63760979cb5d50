#include "common/blit.h"

#include <algorithm>

namespace {

enum class Axis { Horizontal, Vertical };

// One SRCCOPY described along the run (along) and across it (across).
void CopyAlong(Axis axis, HDC destDC, int along, int across, int length, int breadth,
               HDC srcDC, int srcAlong, int srcAcross)
{
    if (axis == Axis::Horizontal)
        BitBlt(destDC, along, across, length, breadth, srcDC, srcAlong, srcAcross, SRCCOPY);
    else
        BitBlt(destDC, across, along, breadth, length, srcDC, srcAcross, srcAlong, SRCCOPY);
}

// Only the first copy reads the source; each later one duplicates what is already painted
// at the start of the run, so the painted length doubles per copy.
void BlitTiled(Axis axis, HDC destDC, int start, int end, int across, int breadth,
               HDC srcDC, int srcAlong, int srcAcross, int band)
{
    const int run = std::max(end - start, 0);      // a reversed run draws nothing
    const int first = std::clamp(band, 0, run);
    CopyAlong(axis, destDC, start, across, first, breadth, srcDC, srcAlong, srcAcross);
    for (int filled = first; filled > 0 && filled < run;) {
        const int piece = std::min(run - filled, filled);
        CopyAlong(axis, destDC, start + filled, across, piece, breadth, destDC, start, across);
        filled += piece;
    }
}

}  // namespace

void BlitTiledVertical(HDC destDC, int x, int yStart, int yEnd, int width,
                       HDC srcDC, int srcX, int srcY, int bandHeight)
{
    BlitTiled(Axis::Vertical, destDC, yStart, yEnd, x, width, srcDC, srcY, srcX, bandHeight);
}

void BlitTiledHorizontal(HDC destDC, int xStart, int xEnd, int y, int height,
                         HDC srcDC, int srcX, int srcY, int bandWidth)
{
    BlitTiled(Axis::Horizontal, destDC, xStart, xEnd, y, height, srcDC, srcX, srcY, bandWidth);
}

void BlitSegments(HDC destDC, int x, int y, int xEnd, int height,
                  HDC srcDC, int srcX, int srcY, int srcXEnd,
                  StretchSegment* segments, int count)
{
    int dx = x;
    int sx = srcX;
    for (int i = 0; i < count; ++i) {
        StretchSegment& segment = segments[i];
        BitBlt(destDC, dx, y, segment.SourceX - sx, height, srcDC, sx, srcY, SRCCOPY);
        dx += segment.SourceX - sx;
        sx = segment.SourceX;
        // The last insertion absorbs whatever rounding the earlier ones carried.
        if (i == count - 1)
            segment.ExtraWidth = xEnd - dx - (srcXEnd - segment.SourceX);
        BlitTiledHorizontal(destDC, dx, dx + segment.ExtraWidth, y, height,
                            srcDC, segment.SourceX, srcY, segment.BandWidth);
        dx += segment.ExtraWidth;
    }
    BitBlt(destDC, dx, y, xEnd - dx, height, srcDC, sx, srcY, SRCCOPY);
}
