#include "face/face.h"

#include <algorithm>
#include <initializer_list>
#include <iterator>

#include "common/art.h"
#include "common/blit.h"
#include "common/gdi.h"
#include "common/library.h"
#include "common/scale.h"
#include "face/bitmap_file.h"
#include "face/colours.h"
#include "include/veltra1024.h"

namespace {

// Bands that may be repeated when the face is widened; everything else is copied once.
constexpr int TopBandX = 100;
constexpr int TopBandWidth = 100;
constexpr int LeftUpperBandY = 100;
constexpr int LeftLowerBandY = 450;
constexpr int LeftBandHeight = 20;
constexpr int RightBandY = 300;
constexpr int RightBandHeight = 100;

// The bottom face is widened as three horizontal strips, each with its own insertion
// points. An insertion gets units x (extra width / divisor) columns; the last one of a
// strip takes up the remainder.
struct Insertion {
    int sourceX;
    int bandWidth;
    int units;
};

struct BottomStrip {
    int firstRow;  // the strip runs to the next strip's first row, the last to the bottom
    int divisor;
    int count;
    Insertion insertions[9];
};

const BottomStrip BottomStrips[] = {
    {0, 1, 1, {{200, 300, 1}}},
    {139, 10, 9, {{80, 40, 1}, {190, 30, 1}, {245, 10, 1}, {300, 10, 1}, {368, 10, 1},
                  {426, 10, 1}, {470, 10, 1}, {560, 40, 1}, {800, 40, 2}}},
    {156, 8, 6, {{225, 7, 1}, {347, 7, 1}, {469, 7, 1}, {591, 7, 1}, {713, 7, 1}, {770, 30, 3}}},
};

const char LogoPath[] = "Pic\\VeltraLogo.bmp";

// Each copies the pieces of one face bitmap of size from into a bitmap of size to, the art
// drawn at scale d: every position and run of the design is d pixels long.
void CopyTop(HDC dest, HDC src, SIZE from, SIZE to, int d)
{
    const int shift = to.cx - from.cx;
    const int bandX = d * TopBandX;
    BitBlt(dest, 0, 0, bandX, from.cy, src, 0, 0, SRCCOPY);
    BitBlt(dest, bandX + shift, 0, from.cx - bandX, from.cy, src, bandX, 0, SRCCOPY);
    BlitTiledHorizontal(dest, bandX, bandX + shift, 0, from.cy, src, bandX, 0, d * TopBandWidth);
}

void CopyLeft(HDC dest, HDC src, SIZE from, SIZE to, int d)
{
    const int extra = (to.cy - from.cy) / d;
    const int half = d * (extra / 2);
    const int upper = d * LeftUpperBandY, lower = d * LeftLowerBandY, band = d * LeftBandHeight;
    BitBlt(dest, 0, 0, from.cx, upper, src, 0, 0, SRCCOPY);
    BlitTiledVertical(dest, 0, upper, upper + half, from.cx, src, 0, upper, band);
    BitBlt(dest, 0, upper + half, from.cx, lower - upper, src, 0, upper, SRCCOPY);
    BlitTiledVertical(dest, 0, lower + half, lower + 2 * half, from.cx, src, 0, lower, band);
    BitBlt(dest, 0, lower + 2 * half, from.cx, from.cy - lower, src, 0, lower, SRCCOPY);
    // The pieces stand where the halves put them; the one row an odd extra height leaves
    // at the bottom repeats the art's last row.
    if (extra % 2)
        BitBlt(dest, 0, to.cy - d, from.cx, d, src, 0, from.cy - d, SRCCOPY);
}

void CopyRight(HDC dest, HDC src, SIZE from, SIZE to, int d)
{
    const int shift = to.cy - from.cy;
    const int bandY = d * RightBandY;
    BitBlt(dest, 0, 0, from.cx, bandY, src, 0, 0, SRCCOPY);
    BitBlt(dest, 0, bandY + shift, from.cx, from.cy - bandY, src, 0, bandY, SRCCOPY);
    BlitTiledVertical(dest, 0, bandY, bandY + shift, from.cx, src, 0, bandY, d * RightBandHeight);
}

void CopyBottom(HDC dest, HDC src, SIZE from, SIZE to, int d)
{
    const int extra = (to.cx - from.cx) / d;
    for (size_t i = 0; i < std::size(BottomStrips); ++i) {
        const BottomStrip& strip = BottomStrips[i];
        const int firstRow = d * strip.firstRow;
        const int endRow = i + 1 < std::size(BottomStrips) ? d * BottomStrips[i + 1].firstRow : from.cy;
        StretchSegment segments[std::size(strip.insertions)];
        for (int k = 0; k < strip.count; ++k) {
            const Insertion& insertion = strip.insertions[k];
            segments[k] = {d * insertion.sourceX, d * insertion.bandWidth, d * insertion.units * (extra / strip.divisor)};
        }
        BlitSegments(dest, 0, firstRow, to.cx, endRow - firstRow, src, 0, firstRow, from.cx, segments, strip.count);
    }
}

using CopyPieces = void (*)(HDC dest, HDC src, SIZE from, SIZE to, int d);

// Replaces face by a copy of size to, made by copy; keeps the design-size art, and says
// so, when no bitmap can be made.
bool Widen(HBITMAP& face, SIZE to, CopyPieces copy, int d, HDC screen, HDC source, HDC target)
{
    if (!face)
        return false;
    const SIZE from = BitmapSize(face);
    GdiObject<HBITMAP> wide(CreateCompatibleBitmap(screen, to.cx, to.cy));
    if (!wide)
        return false;
    {
        Selection original(source, face);
        Selection copyTarget(target, wide);
        copy(target, source, from, to, d);
    }
    DeleteObject(face);
    face = wide.Release();
    return true;
}

// Widens the four faces, drawn at scale d, for a screen of screenWidth x screenHeight pixels
// at that scale; false when any of them stays at design size.
bool WidenFaces(FaceSet& face, int screenWidth, int screenHeight, int d)
{
    const SIZE top = BitmapSize(face.top);
    const SIZE bottom = BitmapSize(face.bottom);
    const SIZE left = BitmapSize(face.left);
    const SIZE right = BitmapSize(face.right);
    const LONG middleHeight = screenHeight - top.cy - bottom.cy;

    // A screen narrower (or lower) than the design keeps that direction at design size,
    // as an unwidened face does, instead of copying with negative extents.
    WindowDC screen;
    MemoryDC source(screen);
    MemoryDC target(screen);
    if (!screen || !source || !target)
        return false;  // refused the DCs, the face stays at its design size
    // Largest first: each face's art is freed before the smaller faces are made, so they can
    // take its memory instead of growing the heap, which the allocator may then hand back to
    // the system on release (and fault in afresh on the next attach).
    bool widened = Widen(face.bottom, {std::max<LONG>(screenWidth, bottom.cx), bottom.cy}, CopyBottom, d, screen,
                         source, target);
    widened &= Widen(face.right, {right.cx, std::max<LONG>(middleHeight, right.cy)}, CopyRight, d, screen, source,
                     target);
    widened &= Widen(face.top, {std::max<LONG>(screenWidth, top.cx), top.cy}, CopyTop, d, screen, source, target);
    widened &= Widen(face.left, {left.cx, std::max<LONG>(middleHeight, left.cy)}, CopyLeft, d, screen, source,
                     target);
    return widened;
}

// Prints the logo, when there is one, into the right-hand face, every pixel of it a d x d
// block as the art is drawn at scale d; false when there is one and it cannot be printed.
bool PrintLogoInto(HBITMAP right, int d)
{
    bool unopened = false;
    if (!IsCompleteBitmapFile(LogoPath, &unopened))
        return !unopened;
    GdiObject<HBITMAP> logo(static_cast<HBITMAP>(LoadImageA(
        nullptr, LogoPath, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION | LR_DEFAULTSIZE)));
    if (d > 1)
        logo.Reset(logo ? Enlarged(logo, d) : nullptr);
    if (!logo || !right)
        return false;
    WindowDC screen;
    MemoryDC face(screen);
    MemoryDC picture(screen);
    if (!screen || !face || !picture)
        return false;
    Selection faceSelection(face, right);
    Selection logoSelection(picture, logo);
    // Only what fits the right-hand bitmap is copied; the rest of a large logo is cut off.
    const SIZE size = BitmapSize(logo);
    const SIZE room = BitmapSize(right);
    return BitBlt(face, 0, 0, std::min(size.cx, room.cx), std::min(size.cy, room.cy), picture, 0, 0, SRCCOPY) != 0;
}

FaceSet LibraryFace()
{
    return {Library.FaceTop, Library.FaceBottom, Library.FaceLeft, Library.FaceRight};
}

void SetLibraryFace(const FaceSet& face)
{
    Library.FaceTop = face.top;
    Library.FaceBottom = face.bottom;
    Library.FaceLeft = face.left;
    Library.FaceRight = face.right;
}

}  // namespace

int FaceBands(RepeatedBand* bands, int count)
{
    int n = 0;
    const auto add = [&](const RepeatedBand& band) {
        if (n < count)
            bands[n] = band;
        ++n;
    };
    add({IdFaceTop, false, TopBandX, TopBandWidth, 0, 0});
    add({IdFaceLeft, true, LeftUpperBandY, LeftBandHeight, 0, 0});
    add({IdFaceLeft, true, LeftLowerBandY, LeftBandHeight, 0, 0});
    add({IdFaceRight, true, RightBandY, RightBandHeight, 0, 0});
    for (size_t i = 0; i < std::size(BottomStrips); ++i) {
        const BottomStrip& strip = BottomStrips[i];
        const int endRow = i + 1 < std::size(BottomStrips) ? BottomStrips[i + 1].firstRow : 0;
        for (int k = 0; k < strip.count; ++k)
            add({IdFaceBottom, false, strip.insertions[k].sourceX, strip.insertions[k].bandWidth, strip.firstRow, endRow});
    }
    return n;
}

void BuildFace()
{
    const Display display = LibraryDisplay();
    Library.FaceTop = LoadArt(IdFaceTop, display);
    Library.FaceBottom = LoadArt(IdFaceBottom, display);
    Library.FaceLeft = LoadArt(IdFaceLeft, display);
    Library.FaceRight = LoadArt(IdFaceRight, display);
    if (Library.ScreenWidth > DesignWidth || Library.ScreenHeight > DesignHeight)
        WidenFace(Library.ScreenWidth, Library.ScreenHeight);
    PrintLogo();
}

void ReleaseFace()
{
    FaceSet face = LibraryFace();
    ReleaseFace(face);
    SetLibraryFace(face);
}

void ReleaseFace(FaceSet& face)
{
    for (HBITMAP* bitmap : {&face.top, &face.bottom, &face.left, &face.right}) {
        if (*bitmap)
            DeleteObject(*bitmap);
        *bitmap = nullptr;
    }
}

// The art at the scale is widened with every position and run of the design scale times
// longer: what widening the art of its density and then enlarging it would give, at the cost
// of enlarging only the art.
bool MakeFace(const Display& display, FaceSet& made)
{
    const int s = display.scale;
    made = {LoadArt(IdFaceTop, display), LoadArt(IdFaceBottom, display), LoadArt(IdFaceLeft, display),
            LoadArt(IdFaceRight, display)};
    const SIZE layout = display.Layout();
    const bool widens = layout.cx > DesignWidth || layout.cy > DesignHeight;
    if (made.top && made.bottom && made.left && made.right &&
        (!widens || WidenFaces(made, s * layout.cx, s * layout.cy, s)) && PrintLogoInto(made.right, s))
        return true;
    ReleaseFace(made);
    return false;
}

void TakeFace(FaceSet& made)
{
    ReleaseFace();
    SetLibraryFace(made);
    made = {};
}

void WidenFace(int screenWidth, int screenHeight)
{
    FaceSet face = LibraryFace();
    WidenFaces(face, screenWidth, screenHeight, 1);
    SetLibraryFace(face);
}

void PrintLogo()
{
    PrintLogoInto(Library.FaceRight, 1);
}

extern "C" BOOL WINAPI DrawFace(HDC hdc)
{
    const SIZE top = BitmapSize(Library.FaceTop);
    const SIZE bottom = BitmapSize(Library.FaceBottom);
    const SIZE left = BitmapSize(Library.FaceLeft);
    const SIZE right = BitmapSize(Library.FaceRight);
    const SIZE extent = LibraryDisplay().Extent();  // what lies beyond the screen is cut
    const struct {
        HBITMAP bitmap;
        POINT at;
        SIZE size;
    } pieces[] = {
        {Library.FaceTop, {0, 0}, top},
        {Library.FaceBottom, {0, extent.cy - bottom.cy}, bottom},
        {Library.FaceLeft, {0, top.cy}, left},
        {Library.FaceRight, {extent.cx - right.cx, top.cy}, right},
    };
    MemoryDC memory(hdc);
    bool copied = true;
    for (const auto& piece : pieces) {
        Selection selection(memory, piece.bitmap);
        copied &= BitBlt(hdc, piece.at.x, piece.at.y, piece.size.cx, piece.size.cy, memory, 0, 0, SRCCOPY) != 0;
    }
    // Success is the face on hdc: a copy that failed (no hdc at all) is a failure.
    return memory.Delete() && copied;
}

extern "C" RECT* WINAPI GetBgkColorSize(RECT* inner, COLORREF* background)
{
    if (inner) {
        inner->left = BitmapSize(Library.FaceLeft).cx;
        inner->top = BitmapSize(Library.FaceTop).cy;
        const SIZE extent = LibraryDisplay().Extent();
        inner->right = extent.cx - BitmapSize(Library.FaceRight).cx;
        inner->bottom = extent.cy - BitmapSize(Library.FaceBottom).cy;
    }
    if (background)
        *background = ColourOf(ColourBackground);
    return inner;
}
