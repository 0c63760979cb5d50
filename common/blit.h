// Lengthening strips of artwork without scaling: fixed pieces are copied pixel for pixel
// and the added length is filled with repeats of a short band, by doubling copies.
#pragma once

#include <windows.h>

// A band of a piece of art that is repeated to lengthen it, at 1x: lines [start, start +
// length) along the axis, each across [firstLine, endLine) of the other (endLine 0: to its end).
struct RepeatedBand {
    WORD id;        // the piece's resource
    bool vertical;  // rows repeat, not columns
    int start, length;
    int firstLine, endLine;
};

// One insertion point of BlitSegments.
struct StretchSegment {
    int SourceX;     // source column (in the source DC's coordinates) where width is inserted
    int BandWidth;   // width of the band, starting at SourceX, that fills the insertion
    int ExtraWidth;  // inserted columns; in the last record written by BlitSegments
};

// Fills destination rows [yStart, yEnd) of the column at x with repeats of the source
// band of bandHeight rows whose top-left corner is (srcX, srcY).
void BlitTiledVertical(HDC destDC, int x, int yStart, int yEnd, int width,
                       HDC srcDC, int srcX, int srcY, int bandHeight);

// The same along x: destination columns [xStart, xEnd), rows [y, y + height).
void BlitTiledHorizontal(HDC destDC, int xStart, int xEnd, int y, int height,
                         HDC srcDC, int srcX, int srcY, int bandWidth);

// Copies source columns [srcX, srcXEnd) to destination columns [x, xEnd), inserting each
// record's extra width at its SourceX. The last record's ExtraWidth is recomputed so that
// the strip ends exactly at xEnd, and written back into segments.
void BlitSegments(HDC destDC, int x, int y, int xEnd, int height,
                  HDC srcDC, int srcX, int srcY, int srcXEnd,
                  StretchSegment* segments, int count);
