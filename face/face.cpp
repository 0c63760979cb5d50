#include "face/face.h"

#include <algorithm>
#include <initializer_list>
#include <iterator>

#include "common/blit.h"
#include "common/gdi.h"
#include "common/library.h"
#include "face/bitmap_file.h"
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

// The inner area's colour, RGB(213, 237, 245).
constexpr COLORREF BackgroundColor = VELTRA_BACKGROUND_COLOR;

const char LogoPath[] = "Pic\\VeltraLogo.bmp";

// Each copies the pieces of one face bitmap of size from into a bitmap of size to.
void CopyTop(HDC dest, HDC src, SIZE from, SIZE to)
{
    const int shift = to.cx - from.cx;
    BitBlt(dest, 0, 0, TopBandX, from.cy, src, 0, 0, SRCCOPY);
    BitBlt(dest, TopBandX + shift, 0, from.cx - TopBandX, from.cy, src, TopBandX, 0, SRCCOPY);
    BlitTiledHorizontal(dest, TopBandX, TopBandX + shift, 0, from.cy, src, TopBandX, 0, TopBandWidth);
}

void CopyLeft(HDC dest, HDC src, SIZE from, SIZE to)
{
    const int extra = to.cy - from.cy;
    const int half = extra / 2;
    BitBlt(dest, 0, 0, from.cx, LeftUpperBandY, src, 0, 0, SRCCOPY);
    BlitTiledVertical(dest, 0, LeftUpperBandY, LeftUpperBandY + half, from.cx,
                      src, 0, LeftUpperBandY, LeftBandHeight);
    BitBlt(dest, 0, LeftUpperBandY + half, from.cx, LeftLowerBandY - LeftUpperBandY,
           src, 0, LeftUpperBandY, SRCCOPY);
    BlitTiledVertical(dest, 0, LeftLowerBandY + half, LeftLowerBandY + 2 * half, from.cx,
                      src, 0, LeftLowerBandY, LeftBandHeight);
    BitBlt(dest, 0, LeftLowerBandY + 2 * half, from.cx, from.cy - LeftLowerBandY,
           src, 0, LeftLowerBandY, SRCCOPY);
    // The pieces stand where the halves put them; the one row an odd extra height leaves
    // at the bottom repeats the art's last row.
    if (extra % 2)
        BitBlt(dest, 0, to.cy - 1, from.cx, 1, src, 0, from.cy - 1, SRCCOPY);
}

void CopyRight(HDC dest, HDC src, SIZE from, SIZE to)
{
    const int shift = to.cy - from.cy;
    BitBlt(dest, 0, 0, from.cx, RightBandY, src, 0, 0, SRCCOPY);
    BitBlt(dest, 0, RightBandY + shift, from.cx, from.cy - RightBandY, src, 0, RightBandY, SRCCOPY);
    BlitTiledVertical(dest, 0, RightBandY, RightBandY + shift, from.cx, src, 0, RightBandY, RightBandHeight);
}

void CopyBottom(HDC dest, HDC src, SIZE from, SIZE to)
{
    const int extra = to.cx - from.cx;
    for (size_t i = 0; i < std::size(BottomStrips); ++i) {
        const BottomStrip& strip = BottomStrips[i];
        const int endRow = i + 1 < std::size(BottomStrips) ? BottomStrips[i + 1].firstRow : from.cy;
        StretchSegment segments[std::size(strip.insertions)];
        for (int k = 0; k < strip.count; ++k) {
            const Insertion& insertion = strip.insertions[k];
            segments[k] = {insertion.sourceX, insertion.bandWidth, insertion.units * (extra / strip.divisor)};
        }
        BlitSegments(dest, 0, strip.firstRow, to.cx, endRow - strip.firstRow,
                     src, 0, strip.firstRow, from.cx, segments, strip.count);
    }
}

HBITMAP LoadFaceBitmap(ResourceId id)
{
    return LoadBitmapA(Library.ModuleHandle, MAKEINTRESOURCEA(id));
}

using CopyPieces = void (*)(HDC dest, HDC src, SIZE from, SIZE to);

// Replaces face by a copy of size to, made by copy; keeps the design-size art, and says
// so, when no bitmap can be made.
bool Widen(HBITMAP& face, SIZE to, CopyPieces copy, HDC screen, HDC source, HDC target)
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
        copy(target, source, from, to);
    }
    DeleteObject(face);
    face = wide.Release();
    return true;
}

// Widens the four faces for the screen; false when any of them stays at design size.
bool WidenFaces(FaceSet& face, int screenWidth, int screenHeight)
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
    bool widened = Widen(face.bottom, {std::max<LONG>(screenWidth, bottom.cx), bottom.cy}, CopyBottom, screen, source,
                         target);
    widened &= Widen(face.right, {right.cx, std::max<LONG>(middleHeight, right.cy)}, CopyRight, screen, source, target);
    widened &= Widen(face.top, {std::max<LONG>(screenWidth, top.cx), top.cy}, CopyTop, screen, source, target);
    widened &= Widen(face.left, {left.cx, std::max<LONG>(middleHeight, left.cy)}, CopyLeft, screen, source, target);
    return widened;
}

// Prints the logo, when there is one, into the right-hand face; false when there is one and
// it cannot be printed.
bool PrintLogoInto(HBITMAP right)
{
    bool unopened = false;
    if (!IsCompleteBitmapFile(LogoPath, &unopened))
        return !unopened;
    GdiObject<HBITMAP> logo(static_cast<HBITMAP>(LoadImageA(
        nullptr, LogoPath, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION | LR_DEFAULTSIZE)));
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

void BuildFace()
{
    Library.FaceTop = LoadFaceBitmap(IdFaceTop);
    Library.FaceBottom = LoadFaceBitmap(IdFaceBottom);
    Library.FaceLeft = LoadFaceBitmap(IdFaceLeft);
    Library.FaceRight = LoadFaceBitmap(IdFaceRight);
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

bool MakeFace(int screenWidth, int screenHeight, FaceSet& made)
{
    made = {LoadFaceBitmap(IdFaceTop), LoadFaceBitmap(IdFaceBottom), LoadFaceBitmap(IdFaceLeft),
            LoadFaceBitmap(IdFaceRight)};
    const bool widens = screenWidth > DesignWidth || screenHeight > DesignHeight;
    if (made.top && made.bottom && made.left && made.right &&
        (!widens || WidenFaces(made, screenWidth, screenHeight)) && PrintLogoInto(made.right))
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
    WidenFaces(face, screenWidth, screenHeight);
    SetLibraryFace(face);
}

void PrintLogo()
{
    PrintLogoInto(Library.FaceRight);
}

extern "C" BOOL WINAPI DrawFace(HDC hdc)
{
    const SIZE top = BitmapSize(Library.FaceTop);
    const SIZE bottom = BitmapSize(Library.FaceBottom);
    const SIZE left = BitmapSize(Library.FaceLeft);
    const SIZE right = BitmapSize(Library.FaceRight);
    const struct {
        HBITMAP bitmap;
        POINT at;
        SIZE size;
    } pieces[] = {
        {Library.FaceTop, {0, 0}, top},
        {Library.FaceBottom, {0, Library.ScreenHeight - bottom.cy}, bottom},
        {Library.FaceLeft, {0, top.cy}, left},
        {Library.FaceRight, {Library.ScreenWidth - right.cx, top.cy}, right},
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
        inner->right = Library.ScreenWidth - BitmapSize(Library.FaceRight).cx;
        inner->bottom = Library.ScreenHeight - BitmapSize(Library.FaceBottom).cy;
    }
    if (background)
        *background = BackgroundColor;
    return inner;
}
