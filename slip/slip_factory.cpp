#include <initializer_list>
#include <new>

#include "common/art.h"
#include "common/blit.h"
#include "common/gdi.h"
#include "common/library.h"
#include "common/table.h"
#include "slip/slip_control.h"

namespace {

// A coordinate laid out for 1024 x 768: a constant, or the screen's width or height less
// a constant.
struct Coordinate {
    bool fromFarEdge;
    int offset;
};

constexpr Coordinate At(int offset) { return {false, offset}; }
constexpr Coordinate FromFarEdge(int offset) { return {true, offset}; }

struct SlipType {
    UINT code;
    BOOL horizontal;
    WORD track, thumb, startMarker, endMarker;  // 0: no marker
    int markerOffset;
    Coordinate x, y;
    bool widens;  // the track grows with the screen's width
    const char* name;  // for assistive technology, until the host names the slip
};

const SlipType SlipTypes[] = {
    {0, TRUE, 117, 116, 170, 171, 4, At(15), FromFarEdge(-191), true, "Seek"},  // with markers
    {1, TRUE, 119, 118, 0, 0, 0, FromFarEdge(-329), FromFarEdge(-190), false, "Slider"},
    {10, FALSE, 174, 175, 0, 0, 0, At(5), At(6), false, "Vertical slider"},
};

// The seek track is widened by repeating its artwork from this column on.
constexpr int TrackBandX = 100;
constexpr int TrackBandWidth = 400;

int Place(const Coordinate& c, int farEdge)
{
    return (c.fromFarEdge ? farEdge : 0) + c.offset;
}

HBITMAP Load(WORD id, const Display& display)
{
    return id ? LoadArt(id, display) : nullptr;
}

// Returns a copy of track, drawn at scale d, as much wider as the laid-out screen is wider
// than the design, or track itself on a screen no wider; null when the copy cannot be made.
// Takes track over.
HBITMAP WidenTrack(HBITMAP loaded, int layoutWidth, int d)
{
    GdiObject<HBITMAP> track(loaded);
    const int extra = d * (layoutWidth - DesignWidth);
    if (extra <= 0 || !track)
        return track.Release();
    const SIZE size = BitmapSize(track);
    WindowDC screen;
    GdiObject<HBITMAP> wide(CreateCompatibleBitmap(screen, size.cx + extra, size.cy));
    MemoryDC target(screen);
    MemoryDC source(screen);
    if (!wide || !target || !source)
        return nullptr;
    Selection widened(target, wide);
    Selection original(source, track);
    StretchSegment insertion = {d * TrackBandX, d * TrackBandWidth, extra};
    BlitSegments(target, 0, 0, size.cx + extra, size.cy, source, 0, 0, size.cx, &insertion, 1);
    return wide.Release();
}

// The system font, in which a slip writes its value, scale times as large.
HFONT ValueFont(int scale)
{
    LOGFONTA system = {};
    GetObjectA(GetStockObject(SYSTEM_FONT), sizeof system, &system);
    return CreateScaledFont(system, scale);
}

}  // namespace

void SlipPictures::Reset()
{
    for (GdiObject<HBITMAP>* picture : {&track, &thumb, &startMarker, &endMarker})
        picture->Reset();
    valueFont.Reset();
}

POINT SlipPlace(UINT typeCode, const Display& display)
{
    const SlipType* type = FindRow(SlipTypes, typeCode);
    const SIZE screen = display.Layout();
    return type ? display.Up(POINT{Place(type->x, screen.cx), Place(type->y, screen.cy)}) : POINT{};
}

// The art at the scale, widened with the band scale times as long, as the face is.
HBITMAP SlipTrack(UINT typeCode, const Display& display)
{
    const SlipType* type = FindRow(SlipTypes, typeCode);
    if (!type)
        return nullptr;
    const HBITMAP track = LoadArt(type->track, display);
    return type->widens ? WidenTrack(track, display.Layout().cx, display.scale) : track;
}

RepeatedBand SeekTrackBand()
{
    return RepeatedBand{SlipTypes[0].track, false, TrackBandX, TrackBandWidth, 0, 0};
}

bool SlipTrackWidens(UINT typeCode)
{
    const SlipType* type = FindRow(SlipTypes, typeCode);
    return type && type->widens;
}

bool MakeSlipPictures(UINT typeCode, const Display& display, SlipPictures& made)
{
    const SlipType* type = FindRow(SlipTypes, typeCode);
    if (!type)
        return false;
    made.startMarker.Reset(Load(type->startMarker, display));
    made.endMarker.Reset(Load(type->endMarker, display));
    made.thumb.Reset(Load(type->thumb, display));
    made.track.Reset(SlipTrack(typeCode, display));
    made.valueFont.Reset(display.scale > 1 ? ValueFont(display.scale) : nullptr);
    // A slip is drawn from all of its pictures: without one of them it is not made.
    if (made.track && made.thumb && (!type->startMarker || made.startMarker) && (!type->endMarker || made.endMarker) &&
        (display.scale == 1 || made.valueFont))
        return true;
    made.Reset();
    return false;
}

extern "C" void WINAPI FactroySlipControl(ISlipControl** out, UINT typeCode, HWND parent, SlipNotifyProc notify,
                                          INT_PTR userData)
{
    if (!out)
        return;
    *out = nullptr;
    const SlipType* type = FindRow(SlipTypes, typeCode);
    if (!type)
        return;
    const Display display = LibraryDisplay();
    SlipPictures pictures;
    if (!MakeSlipPictures(typeCode, display, pictures))
        return;
    auto* slip = new (std::nothrow) SlipControl;
    if (!slip)
        return;  // the guards give the pictures back
    // The host sees the slip while its window is being created, so the pointer is stored
    // first. The object's virtual table is the host's interface, slot for slot.
    *out = reinterpret_cast<ISlipControl*>(slip);
    const POINT at = SlipPlace(typeCode, display);
    if (!slip->Create(type->horizontal, pictures, display.scale, type->markerOffset, at.x, at.y, parent, typeCode,
                      notify, userData, type->name)) {
        slip->ScalarDeletingDestructor(1);
        *out = nullptr;
    }
}
