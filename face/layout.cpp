// The layout queries: where the host's own widgets go on this screen, their colours, and
// fresh bitmaps for them.
#include <iterator>

#include "common/art.h"
#include "common/gdi.h"
#include "common/library.h"
#include "common/scale.h"
#include "common/table.h"
#include "face/colours.h"
#include "include/veltra1024.h"

namespace {

// What a query writes into one of the host's four values.
enum class Entry {
    Keep,          // left as the host had it
    Place,         // a coordinate: the screen's width or height (or 0) plus an offset
    Colour,        // a COLORREF: the built-in one or a skin's
    Bitmap,        // a new bitmap loaded from the resources
    MarkedBitmap,  // the same, only when the host put QueryMarker there
    BottomCut,     // a new bitmap cut from the bottom face
};

enum class Anchor { Origin, Width, Height };

struct Value {
    Entry entry;
    Anchor anchor;
    INT32 number;  // offset, colour or resource id
};

constexpr Value Keep() { return {Entry::Keep, Anchor::Origin, 0}; }
constexpr Value At(INT32 offset) { return {Entry::Place, Anchor::Origin, offset}; }
constexpr Value FromWidth(INT32 offset) { return {Entry::Place, Anchor::Width, offset}; }
constexpr Value FromHeight(INT32 offset) { return {Entry::Place, Anchor::Height, offset}; }
constexpr Value Colour(SkinColour colour) { return {Entry::Colour, Anchor::Origin, colour}; }
constexpr Value Bitmap(INT32 id) { return {Entry::Bitmap, Anchor::Origin, id}; }
constexpr Value MarkedBitmap(INT32 id) { return {Entry::MarkedBitmap, Anchor::Origin, id}; }
constexpr Value BottomCut() { return {Entry::BottomCut, Anchor::Origin, 0}; }

struct Query {
    UINT code;
    Value values[4];
};

constexpr INT32 QueryMarker = VELTRA_QUERY_MARKER;

const Query Queries[] = {
    {0, {FromWidth(-171), At(125), FromWidth(-15), At(138)}},    // upper display row
    {1, {FromWidth(-171), At(141), FromWidth(-15), At(164)}},    // lower display row
    {2, {FromWidth(-124), At(167), FromWidth(-36), At(179)}},    // CPU value
    {3, {FromWidth(-177), At(242), FromWidth(-8), FromHeight(-176)}},  // list area
    {4, {At(17), FromHeight(-169), FromWidth(-14), FromHeight(-62)}},  // bottom panel
    {5, {FromWidth(-179), At(18), MarkedBitmap(173), Keep()}},   // panel frame
    {6, {At(5), At(6), At(165), At(116)}},                       // inside the frame
    {10, {Colour(ColourDisplayBack), Colour(ColourDisplayText), Colour(ColourDisplayDim), Keep()}},
    {11, {Colour(ColourDisplayBack), Colour(ColourDisplayText), Colour(ColourDisplayDim), Keep()}},
    {12, {Colour(ColourDisplayBack), Colour(ColourDisplayText), Colour(ColourDisplayDim), Keep()}},
    {13, {Colour(ColourTextLight), Colour(ColourTextAlert), Colour(ColourTextMuted), Colour(ColourTextMuted2)}},
    {14, {Colour(ColourAccent1), Colour(ColourAccent2), Colour(ColourAccent3), Keep()}},
    {20, {Bitmap(162), Bitmap(161), BottomCut(), Bitmap(169)}},
    {21, {Bitmap(165), Bitmap(166), Bitmap(167), Bitmap(168)}},
};

constexpr UINT BottomPanelCode = 4;

// Laid out for the design's screen, in device pixels.
INT32 Coordinate(const Value& value)
{
    const Display display = LibraryDisplay();
    const SIZE layout = display.Layout();
    switch (value.anchor) {
    case Anchor::Width: return display.Up(layout.cx + value.number);
    case Anchor::Height: return display.Up(layout.cy + value.number);
    default: return display.Up(value.number);
    }
}

// Handles travel as 32-bit values; GDI handles keep their meaning in 32 bits in a 64-bit
// process too.
INT32 HandleValue(HBITMAP bitmap)
{
    return static_cast<INT32>(reinterpret_cast<INT_PTR>(bitmap));
}

HBITMAP LoadQueryBitmap(INT32 id)
{
    return LoadArt(static_cast<WORD>(id), LibraryDisplay());
}

// A new bitmap holding the bottom face under the bottom panel's rectangle. The rectangle
// is taken relative to where DrawFace puts the bottom face, so the piece always comes from
// inside that bitmap, also on a screen lower than the design.
HBITMAP CutBottomFace()
{
    INT32 panel[4];
    GetObjectRect(BottomPanelCode, panel);
    const int faceTop = LibraryDisplay().Extent().cy - BitmapSize(Library.FaceBottom).cy;
    const int width = panel[2] - panel[0];
    const int height = panel[3] - panel[1];
    WindowDC screen;
    HBITMAP piece = CreateCompatibleBitmap(screen, width, height);
    MemoryDC source(screen);
    MemoryDC target(screen);
    Selection face(source, Library.FaceBottom);
    Selection copy(target, piece);
    BitBlt(target, 0, 0, width, height, source, panel[0], panel[1] - faceTop, SRCCOPY);
    return piece;
}

}  // namespace

extern "C" int WINAPI GetObjectRect(int code, INT32* out)
{
    const Query* query = FindRow(Queries, static_cast<UINT>(code));
    if (!query || !out)
        return 0;
    for (size_t i = 0; i < std::size(query->values); ++i) {
        const Value& value = query->values[i];
        switch (value.entry) {
        case Entry::Keep: break;
        case Entry::Place: out[i] = Coordinate(value); break;
        case Entry::Colour: out[i] = static_cast<INT32>(ColourOf(static_cast<SkinColour>(value.number))); break;
        case Entry::Bitmap: out[i] = HandleValue(LoadQueryBitmap(value.number)); break;
        case Entry::MarkedBitmap:
            if (out[i] == QueryMarker)
                out[i] = HandleValue(LoadQueryBitmap(value.number));
            break;
        case Entry::BottomCut: out[i] = HandleValue(CutBottomFace()); break;
        }
    }
    return 1;
}
