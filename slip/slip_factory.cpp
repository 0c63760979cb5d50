#include <new>

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

HBITMAP Load(WORD id)
{
    return id ? LoadBitmapA(Library.ModuleHandle, MAKEINTRESOURCEA(id)) : nullptr;
}

// Returns a copy of track as much wider as the screen is wider than the design, or track
// itself on a screen no wider; null when the copy cannot be made. Takes track over.
HBITMAP WidenTrack(HBITMAP loaded, int screenWidth)
{
    GdiObject<HBITMAP> track(loaded);
    const int extra = screenWidth - DesignWidth;
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
    StretchSegment insertion = {TrackBandX, TrackBandWidth, extra};
    BlitSegments(target, 0, 0, size.cx + extra, size.cy, source, 0, 0, size.cx, &insertion, 1);
    return wide.Release();
}

}  // namespace

POINT SlipPlace(UINT typeCode, SIZE screen)
{
    const SlipType* type = FindRow(SlipTypes, typeCode);
    return type ? POINT{Place(type->x, screen.cx), Place(type->y, screen.cy)} : POINT{};
}

HBITMAP SlipTrack(UINT typeCode, int screenWidth)
{
    const SlipType* type = FindRow(SlipTypes, typeCode);
    if (!type)
        return nullptr;
    const HBITMAP track = Load(type->track);
    return type->widens ? WidenTrack(track, screenWidth) : track;
}

bool SlipTrackWidens(UINT typeCode)
{
    const SlipType* type = FindRow(SlipTypes, typeCode);
    return type && type->widens;
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
    GdiObject<HBITMAP> startMarker(Load(type->startMarker));
    GdiObject<HBITMAP> endMarker(Load(type->endMarker));
    GdiObject<HBITMAP> thumb(Load(type->thumb));
    GdiObject<HBITMAP> track(SlipTrack(typeCode, Library.ScreenWidth));
    // A slip is drawn from all of its pictures: without one of them it is not made.
    if (!track || !thumb || (type->startMarker && !startMarker) || (type->endMarker && !endMarker))
        return;
    auto* slip = new (std::nothrow) SlipControl;
    if (!slip)
        return;  // the guards give the bitmaps back
    // The host sees the slip while its window is being created, so the pointer is stored
    // first. The object's virtual table is the host's interface, slot for slot.
    *out = reinterpret_cast<ISlipControl*>(slip);
    const POINT at = SlipPlace(typeCode, {Library.ScreenWidth, Library.ScreenHeight});
    if (!slip->Create(type->horizontal, track.Release(), thumb.Release(), startMarker.Release(), endMarker.Release(),
                      type->markerOffset, at.x, at.y, parent, typeCode, notify, userData, type->name)) {
        slip->ScalarDeletingDestructor(1);
        *out = nullptr;
    }
}
