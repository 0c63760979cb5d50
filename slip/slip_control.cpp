#include "slip/slip_control.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <iterator>
#include <utility>

#include "common/gdi.h"
#include "common/library.h"
#include "face/colours.h"

namespace {

constexpr int EditBoxId = 3210;
constexpr DWORD EditBoxStyle = WS_CHILD | WS_VISIBLE | WS_BORDER;
constexpr int EditBoxExtraWidth = 3;
constexpr int EditBoxDigits = 3;
constexpr COLORREF TransparentKey = RGB(255, 0, 255);
constexpr UINT ValueTextFormat = DT_SINGLELINE | DT_VCENTER | DT_CENTER;

// Positions become pixels, and computed values integers, by truncation toward zero.
int Trunc(double value) { return static_cast<int>(value); }

}  // namespace

void AddRectToRegion(HRGN& region, const RECT& rect)
{
    HRGN piece = CreateRectRgn(rect.left, rect.top, rect.right, rect.bottom);
    if (!piece)
        return;
    if (!region) {
        region = piece;
        return;
    }
    CombineRgn(region, region, piece, RGN_OR);
    DeleteObject(piece);
}

KeyedCopy::KeyedCopy(HDC dest, int width, int height)
    : width_(width), height_(height), mask_(CreateBitmap(width, height, 1, 1, nullptr)), maskDC_(dest),
      maskSelection_(maskDC_, mask_)
{
}

void KeyedCopy::Draw(HDC dest, int x, int y, HDC src, int srcX, int srcY, COLORREF key)
{
    // Key pixels turn white in the mask, all others black; between the two inversions the
    // mask keeps the destination where it is white.
    SetBkColor(src, key);
    BitBlt(maskDC_, 0, 0, width_, height_, src, srcX, srcY, SRCCOPY);
    BitBlt(dest, x, y, width_, height_, src, srcX, srcY, SRCINVERT);
    BitBlt(dest, x, y, width_, height_, maskDC_, 0, 0, SRCAND);
    BitBlt(dest, x, y, width_, height_, src, srcX, srcY, SRCINVERT);
}

SlipControl::~SlipControl()
{
    for (HBITMAP bitmap : {trackBitmap, thumbBitmap, startMarkerBitmap, endMarkerBitmap})
        if (bitmap)
            DeleteObject(bitmap);
}

int SlipControl::Create(BOOL horizontal, SlipPictures& pictures, int scale, int markerOffset, int x, int y,
                        HWND parent, int controlId, SlipNotifyProc notify, INT_PTR userData, const char* typeName)
{
    this->typeName = typeName;
    this->controlId = controlId;
    this->notify = notify;
    this->userData = userData;
    this->horizontal = horizontal;
    this->markerOffset = markerOffset;
    valueColor = ColourOf(ColourSlipValue);
    SetPictures(pictures, scale);
    if (!CreateChild(SlipClass, parent, x, y, trackWidth, trackHeight))
        return 0;
    fit.Placed();
    return 1;
}

LRESULT SlipControl::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    LRESULT answer;
    if (accessible.Handles(msg, wParam, lParam, answer))
        return answer;
    if (fit.Handles(msg))
        return 0;
    switch (msg) {
    case WM_DESTROY:        CloseEditBox(); return 0;
    case WM_PAINT:          Paint(PaintDC(hwnd)); return 0;
    case WM_ERASEBKGND:     return 1;  // Paint covers every pixel
    case WM_SETCURSOR:      SetCursor(Library.HandCursor); return 1;
    case WM_COMMAND:        OnCommand(wParam, lParam); return 0;
    case WM_MOUSEMOVE:      OnMouseMove(lParam); return 0;
    case WM_LBUTTONDOWN:    OnLeftDown(lParam); return 0;
    case WM_LBUTTONUP:      OnLeftUp(lParam); return 0;
    case WM_LBUTTONDBLCLK:  OnDoubleClick(); return 0;
    case WM_RBUTTONUP:      Notify(VELTRA_SLIP_RIGHT_CLICK); return 0;
    default:                return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

void SlipControl::Destroy()
{
    DestroyWindow(hWnd);
    ScalarDeletingDestructor(1);
}

void SlipControl::SetRange(int minimum, int maximum)
{
    const int before = GetValue();
    this->minimum = static_cast<UINT>(minimum);
    span = static_cast<UINT>(maximum) - static_cast<UINT>(minimum);
    accessible.Announce(EVENT_OBJECT_DESCRIPTIONCHANGE);  // the description gives the range
    if (GetValue() != before)
        accessible.Announce(EVENT_OBJECT_VALUECHANGE);
}

void SlipControl::SetValue(UINT value)
{
    Place(DragThumb, value);
}

int SlipControl::GetValue()
{
    return ValueAt(thumbPos, Travel(DragThumb));
}

void SlipControl::ShowValue(BOOL show)
{
    showValue = show;
    const RECT thumb = ItemRect(DragThumb);
    InvalidateRect(hWnd, &thumb, FALSE);
}

void SlipControl::SetValueColor(COLORREF color)
{
    hostValueColour = true;
    valueColor = color;
    const RECT thumb = ItemRect(DragThumb);
    InvalidateRect(hWnd, &thumb, FALSE);
}

void SlipControl::ClearMarkers(UINT flags)
{
    RECT bands[2] = {};
    int count = 0;
    for (int item : {DragStartMarker, DragEndMarker}) {
        const UINT bit = item == DragStartMarker ? 1 : 2;
        if (!(flags & bit))
            continue;
        bands[count++] = Band(item, Position(item));
        Position(item) = MarkerUnset;
    }
    InvalidateRects(bands, count);
    if (count)
        accessible.Announce(EVENT_OBJECT_DESCRIPTIONCHANGE);
}

int SlipControl::GetStartMarker()
{
    return startMarkerPos >= 0.0 ? ValueAt(startMarkerPos, Travel(DragStartMarker)) : 0;
}

int SlipControl::GetEndMarker()
{
    return endMarkerPos >= 0.0 ? ValueAt(endMarkerPos, Travel(DragEndMarker)) : 0;
}

void SlipControl::SetStartMarker(UINT value)
{
    Place(DragStartMarker, value);
}

void SlipControl::SetEndMarker(UINT value)
{
    Place(DragEndMarker, value);
}

void* SlipControl::ScalarDeletingDestructor(unsigned int flags)
{
    this->~SlipControl();
    if (flags & 1)
        ::operator delete(this);
    return this;
}

double& SlipControl::Position(int item)
{
    return item == DragStartMarker ? startMarkerPos : item == DragEndMarker ? endMarkerPos : thumbPos;
}

SIZE SlipControl::Size(int item) const
{
    switch (item) {
    case DragStartMarker: return SIZE{static_cast<LONG>(startMarkerWidth), static_cast<LONG>(startMarkerHeight)};
    case DragEndMarker: return SIZE{static_cast<LONG>(endMarkerWidth), static_cast<LONG>(endMarkerHeight)};
    default: return SIZE{static_cast<LONG>(thumbWidth), static_cast<LONG>(thumbHeight)};
    }
}

HBITMAP SlipControl::Picture(int item) const
{
    return item == DragStartMarker ? startMarkerBitmap : item == DragEndMarker ? endMarkerBitmap : thumbBitmap;
}

UINT SlipControl::Travel(int item) const
{
    const SIZE size = Size(item);
    return horizontal ? trackWidth - size.cx : trackHeight - size.cy;
}

// Where an item at position is drawn: on the design's pixels, each scale pixels long, so
// that a scaled slip shows what the slip at scale 1 shows, only larger.
int SlipControl::Pixel(double position) const
{
    return Trunc(position / scale) * scale;
}

// The item's own rectangle, one pixel of the design longer along the axis than the item.
RECT SlipControl::ItemRect(int item)
{
    const double position = Position(item);
    const SIZE size = Size(item);
    const int across = item == DragThumb ? 0 : markerOffset * scale;
    if (horizontal)
        return RECT{Pixel(position), across, Pixel(position + size.cx) + scale, across + size.cy};
    return RECT{across, Pixel(position), across + size.cx, Pixel(position + size.cy) + scale};
}

// The whole width of the track under an item at position: what a set or a clear repaints.
RECT SlipControl::Band(int item, double position) const
{
    const SIZE size = Size(item);
    if (horizontal)
        return RECT{Pixel(position), 0, Pixel(position + size.cx), static_cast<LONG>(trackHeight)};
    return RECT{0, Pixel(position), static_cast<LONG>(trackWidth), Pixel(position + size.cy)};
}

// The edit box stands over the thumb, a little wider so that three digits fit.
RECT SlipControl::EditBoxRect()
{
    RECT box = ItemRect(DragThumb);
    box.right += EditBoxExtraWidth * scale;
    return box;
}

// Position 0 is the minimum on a horizontal slip and the maximum on a vertical one. An
// item as long as its track stands at its start.
int SlipControl::ValueAt(double position, UINT travel) const
{
    const double s = span, m = minimum;
    const double fraction = travel ? s * position / travel : 0.0;
    const double value = horizontal ? fraction + m : s - fraction + m;
    return static_cast<int>(static_cast<uint32_t>(static_cast<int64_t>(value)));
}

// A value below the range goes to the minimum end, above it to the maximum end. With an
// empty range every value in it stands at the minimum end.
double SlipControl::PositionFor(UINT value, UINT travel) const
{
    const double t = travel;
    const double minimumEnd = horizontal ? 0.0 : t;
    const double maximumEnd = horizontal ? t : 0.0;
    if (value < minimum)
        return minimumEnd;
    if (value > minimum + span)
        return maximumEnd;
    if (span == 0)
        return minimumEnd;
    return horizontal ? t * static_cast<double>(value - minimum) / span
                      : static_cast<double>(minimum + span - value) * t / span;
}

void SlipControl::Place(int item, UINT value)
{
    double& position = Position(item);
    const double from = position;
    const RECT before = Band(item, position);
    position = PositionFor(value, Travel(item));
    const RECT bands[] = {before, Band(item, position)};
    InvalidateRects(bands, 2);
    Moved(item, from);
}

// One region for all the rectangles, one invalidation, nothing erased.
void SlipControl::InvalidateRects(const RECT* rects, int count)
{
    HRGN region = nullptr;
    for (int i = 0; i < count; ++i)
        AddRectToRegion(region, rects[i]);
    GdiObject<HRGN> owner(region);
    // Refused a region, the whole window repaints: more pixels, never stale ones.
    if (region)
        InvalidateRgn(hWnd, region, FALSE);
    else if (count)
        InvalidateRect(hWnd, nullptr, FALSE);
}

int SlipControl::Along(LPARAM lParam) const
{
    return horizontal ? static_cast<short>(LOWORD(lParam)) : static_cast<short>(HIWORD(lParam));
}

void SlipControl::Paint(HDC dc)
{
    {
        // Everything the paint needs is made first: refused any of it, the window stays as
        // it was.
        MemoryDC memory(dc);
        KeyedCopy knob(dc, thumbWidth, thumbHeight);
        if (!memory || !knob.Ready())
            return;
        Selection track(memory, trackBitmap);
        BitBlt(dc, 0, 0, trackWidth, trackHeight, memory, 0, 0, SRCCOPY);
        for (int item : {DragStartMarker, DragEndMarker}) {
            if (!(Position(item) > -1.0) || !Picture(item))
                continue;
            const RECT place = ItemRect(item);
            const SIZE size = Size(item);
            Selection marker(memory, Picture(item));
            BitBlt(dc, place.left, place.top, size.cx, size.cy, memory, 0, 0, SRCCOPY);
        }
        const RECT thumb = ItemRect(DragThumb);
        Selection thumbSelection(memory, thumbBitmap);
        knob.Draw(dc, thumb.left, thumb.top, memory, 0, 0, TransparentKey);
    }
    if (showValue)
        PaintValue(dc);
}

void SlipControl::PaintValue(HDC dc)
{
    char text[16];
    const int length = std::snprintf(text, sizeof text, "%d", GetValue());
    RECT thumb = ItemRect(DragThumb);
    Selection font(dc, valueFont);
    SetTextColor(dc, valueColor);
    SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, text, length, &thumb, ValueTextFormat);
}

// The drag is relative: the item moves by the pointer's displacement and stops at the
// ends, while lastCoord follows the pointer so that the item comes back with it at once.
void SlipControl::OnMouseMove(LPARAM lParam)
{
    if (dragMode == DragNone)
        return;
    double& position = Position(dragMode);
    const double from = position;
    const RECT before = ItemRect(dragMode);
    const int u = Along(lParam);
    position += u - lastCoord;
    // Compared whole, not truncated: a thumb set between pixels would otherwise stop up to a
    // pixel past the end, and read a value past the maximum.
    if (position < 0.0)
        position = 0.0;
    else if (position > Travel(dragMode))
        position = Travel(dragMode);
    lastCoord = u;
    const RECT rects[] = {before, ItemRect(dragMode)};
    InvalidateRects(rects, 2);
    Moved(dragMode, from);
    if (dragMode == DragThumb && ++moveCount > 3) {
        moveCount = 0;
        Notify(VELTRA_SLIP_VALUE_CHANGED);
    }
}

void SlipControl::OnLeftDown(LPARAM lParam)
{
    SetFocus(hWnd);  // an open edit box loses the focus and closes
    // The press that ends an edit does nothing else.
    if (lastEditWnd) {
        if (IsWindow(editWnd))
            DestroyWindow(editWnd);
        editWnd = lastEditWnd = nullptr;
        ReleaseCapture();
        return;
    }
    const int u = Along(lParam);
    moveCount = 0;
    lastCoord = pressCoord = u;
    SetCapture(hWnd);
    if (!HasMarkers()) {
        dragMode = DragThumb;
        return;
    }
    const POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    for (int item : {DragThumb, DragStartMarker, DragEndMarker}) {
        const RECT rect = ItemRect(item);
        if (Position(item) > -1.0 && PtInRect(&rect, point)) {
            dragMode = item;
            return;
        }
    }
    PlaceMarker(u);
}

void SlipControl::OnLeftUp(LPARAM lParam)
{
    ReleaseCapture();
    if (editWnd)
        return;
    const int u = lastCoord = Along(lParam);
    const bool thumbDrag = dragMode == DragThumb;
    // A click on the thumb of a slip with markers places a marker there.
    if (thumbDrag && u == pressCoord && HasMarkers())
        PlaceMarker(u);
    dragMode = DragNone;
    // Last, so that the host may do anything from its callback, destroy the slip included.
    if (thumbDrag && u != pressCoord)
        Notify(VELTRA_SLIP_DRAG_ENDED);
}

void SlipControl::OnDoubleClick()
{
    if (!showValue)
        return;
    if (!editWnd) {
        const RECT box = EditBoxRect();
        editWnd = lastEditWnd =
            CreateWindowExA(0, "EDIT", nullptr, EditBoxStyle, box.left, box.top, box.right - box.left,
                            box.bottom - box.top, hWnd, nullptr, Library.ModuleHandle, nullptr);
        if (!editWnd)
            return;
        SetWindowLongPtrA(editWnd, GWLP_ID, EditBoxId);
        if (valueFont)
            SendMessageA(editWnd, WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(valueFont)), FALSE);
        char text[16];
        std::snprintf(text, sizeof text, "%d", GetValue());
        // The box reports its new text at once, and the host hears of the value.
        Lifeline::Watch watch(lifeline);
        SetWindowTextA(editWnd, text);
        if (!watch.Alive())
            return;
        SetCapture(hWnd);
    }
    ShowWindow(editWnd, SW_SHOW);
    SetFocus(editWnd);
}

void SlipControl::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) != EditBoxId)
        return;
    switch (HIWORD(wParam)) {
    case EN_CHANGE: OnEditChange(reinterpret_cast<HWND>(lParam)); break;
    case EN_KILLFOCUS: CloseEditBox(); break;
    default: break;
    }
}

void SlipControl::OnEditChange(HWND box)
{
    char text[EditBoxDigits + 1] = {};
    GetWindowTextA(box, text, sizeof text);
    EnterValue(static_cast<UINT>(std::atoi(text)), box);
}

// The thumb follows a value typed, the box (if any) follows the thumb, and the host hears
// of it last.
void SlipControl::EnterValue(UINT value, HWND box)
{
    SetValue(value);
    if (box) {
        const RECT place = EditBoxRect();
        MoveWindow(box, place.left, place.top, place.right - place.left, place.bottom - place.top, FALSE);
    }
    Notify(VELTRA_SLIP_VALUE_CHANGED);
}

// An item that left position from changed what assistive technology reads: the value, when
// the thumb's moved far enough to change it, or the description, which gives the markers.
void SlipControl::Moved(int item, double from)
{
    if (Position(item) == from)
        return;
    if (item != DragThumb)
        accessible.Announce(EVENT_OBJECT_DESCRIPTIONCHANGE);
    else if (ValueAt(from, Travel(DragThumb)) != GetValue())
        accessible.Announce(EVENT_OBJECT_VALUECHANGE);
}

void SlipControl::CloseEditBox()
{
    if (!editWnd)
        return;
    // Cleared first: the box's losing the focus comes back here while it is destroyed.
    DestroyWindow(std::exchange(editWnd, nullptr));
    ReleaseCapture();
}

// Puts a marker at u (the end marker when u is at or after a set start marker), drawn
// straight to the window over the track; the press or release goes on dragging it.
void SlipControl::PlaceMarker(int u)
{
    const int item = startMarkerPos >= 0.0 && u >= startMarkerPos ? DragEndMarker : DragStartMarker;
    double& position = Position(item);
    const bool shown = position > -1.0;
    const RECT old = ItemRect(item);
    dragMode = item;
    const double from = position;
    position = u;
    Moved(item, from);
    const RECT now = ItemRect(item);
    const SIZE size = Size(item);

    WindowDC window(hWnd);
    MemoryDC memory(window);
    if (shown) {
        Selection track(memory, trackBitmap);
        BitBlt(window, old.left, old.top, old.right - old.left, old.bottom - old.top, memory, old.left, old.top,
               SRCCOPY);
    }
    Selection marker(memory, Picture(item));
    BitBlt(window, now.left, now.top, size.cx, size.cy, memory, 0, 0, SRCCOPY);
}

// False when the host destroyed the slip from its callback: the caller then touches
// nothing of it.
bool SlipControl::Notify(int code)
{
    if (!notify)
        return true;
    Lifeline::Watch watch(lifeline);
    notify(controlId, userData, code);
    return watch.Alive();
}

// A page part pressed: the host hears what a drag to the value a page away tells it.
void SlipControl::StepBy(long long offset)
{
    const long long from = static_cast<UINT>(GetValue()) - minimum;
    const long long to = std::clamp<long long>(from + offset, 0, span);
    SetValue(minimum + static_cast<UINT>(to));
    if (Notify(VELTRA_SLIP_VALUE_CHANGED))
        Notify(VELTRA_SLIP_DRAG_ENDED);
}

namespace {

// The parts of a slip to assistive technology, the slip itself first.
struct SlipPart {
    LONG role;
    const char* horizontal;  // null: named as the slip
    const char* vertical;
};

const SlipPart SlipParts[] = {
    {ROLE_SYSTEM_SLIDER, nullptr, nullptr},
    {ROLE_SYSTEM_PUSHBUTTON, "Page left", "Page up"},
    {ROLE_SYSTEM_INDICATOR, "Position", "Position"},
    {ROLE_SYSTEM_PUSHBUTTON, "Page right", "Page down"},
    {ROLE_SYSTEM_TEXT, nullptr, nullptr},  // the open edit box
};

}  // namespace

LONG SlipControl::Access::Role(LONG child) const
{
    return SlipParts[child].role;
}

AccessibleText SlipControl::Access::Name(LONG child)
{
    const char* name = slip_.horizontal ? SlipParts[child].horizontal : SlipParts[child].vertical;
    return name ? AccessibleText(name) : NameOr(slip_.typeName);
}

AccessibleText SlipControl::Access::Value(LONG child)
{
    if (child == PartEditBox)
        return AccessibleText(WindowText(slip_.editWnd));
    return child == CHILDID_SELF ? AccessibleText::Format("%d", slip_.GetValue()) : AccessibleText();
}

DWORD SlipControl::Access::State(LONG child) const
{
    return child == CHILDID_SELF || child == PartEditBox ? STATE_SYSTEM_FOCUSABLE : 0;
}

// Along the track: the page parts run from its ends to the thumb.
RECT SlipControl::Access::PartRect(LONG child)
{
    const RECT thumb = slip_.ItemRect(DragThumb);
    RECT part = {0, 0, static_cast<LONG>(slip_.trackWidth), static_cast<LONG>(slip_.trackHeight)};
    LONG& start = slip_.horizontal ? part.left : part.top;
    LONG& end = slip_.horizontal ? part.right : part.bottom;
    if (child == PartThumb)
        return thumb;
    if (child == PartBack)
        end = slip_.horizontal ? thumb.left : thumb.top;
    else
        // The thumb's rectangle is a pixel of the design longer.
        start = (slip_.horizontal ? thumb.right : thumb.bottom) - slip_.scale;
    return part;
}

const wchar_t* SlipControl::Access::DefaultAction(LONG child) const
{
    return child == PartBack || child == PartForward ? L"Press" : nullptr;
}

// Position 0 is the minimum of a horizontal slip and the maximum of a vertical one: the part
// before the thumb steps toward it.
void SlipControl::Access::DoDefaultAction(LONG child)
{
    const UINT page = page_ ? page_ : std::max<UINT>(slip_.span / 10, 1);
    const bool down = (child == PartBack) == static_cast<bool>(slip_.horizontal);
    slip_.StepBy(down ? -static_cast<long long>(page) : page);
}

bool SlipControl::Access::SetOption(int option, int value)
{
    if (option != VELTRA_ACCESS_SLIP_PAGE || value < 0)
        return false;
    page_ = static_cast<UINT>(value);
    return true;
}

AccessibleText SlipControl::Access::Description(LONG child)
{
    if (child != CHILDID_SELF)
        return AccessibleText();
    const int low = static_cast<int>(slip_.minimum), high = static_cast<int>(slip_.minimum + slip_.span);
    const bool start = slip_.HasMarkers() && slip_.startMarkerPos >= 0.0;
    const bool end = slip_.HasMarkers() && slip_.endMarkerPos >= 0.0;
    if (start && end)
        return AccessibleText::Format("Range %d to %d, start marker %d, end marker %d", low, high,
                                      slip_.GetStartMarker(), slip_.GetEndMarker());
    if (start || end)
        return AccessibleText::Format(start ? "Range %d to %d, start marker %d" : "Range %d to %d, end marker %d", low,
                                      high, start ? slip_.GetStartMarker() : slip_.GetEndMarker());
    return AccessibleText::Format("Range %d to %d", low, high);
}

// Takes every picture made (a null one leaves the slip's as it is), drawn at scale; made
// gets the font of the old scale back, so that it outlives its use by an open edit box.
void SlipControl::SetPictures(SlipPictures& made, int scale)
{
    HBITMAP* const pictures[] = {&trackBitmap, &thumbBitmap, &startMarkerBitmap, &endMarkerBitmap};
    GdiObject<HBITMAP>* const news[] = {&made.track, &made.thumb, &made.startMarker, &made.endMarker};
    for (size_t i = 0; i < std::size(pictures); ++i) {
        if (!*news[i])
            continue;
        if (*pictures[i])
            DeleteObject(*pictures[i]);
        *pictures[i] = news[i]->Release();
    }
    if (scale != this->scale) {
        const HFONT old = valueFont.Release();
        valueFont.Reset(made.valueFont.Release());
        made.valueFont.Reset(old);
    }
    this->scale = scale;
    const SIZE trackSize = BitmapSize(trackBitmap), thumbSize = BitmapSize(thumbBitmap);
    const SIZE startSize = BitmapSize(startMarkerBitmap), endSize = BitmapSize(endMarkerBitmap);
    trackWidth = trackSize.cx;
    trackHeight = trackSize.cy;
    thumbWidth = thumbSize.cx;
    thumbHeight = thumbSize.cy;
    startMarkerWidth = startSize.cx;
    startMarkerHeight = startSize.cy;
    endMarkerWidth = endSize.cx;
    endMarkerHeight = endSize.cy;
}

// Pictures of another length or scale: the thumb and the markers keep their values.
void SlipControl::TakePictures(SlipPictures& made, int scale)
{
    const UINT before[] = {Travel(DragThumb), Travel(DragStartMarker), Travel(DragEndMarker)};
    SetPictures(made, scale);
    int i = 0;
    for (int item : {DragThumb, DragStartMarker, DragEndMarker}) {
        double& position = Position(item);
        if (position >= 0.0)  // a marker that is not set stays so
            position = Rescaled(position, before[i], Travel(item));
        ++i;
    }
    if (editWnd) {
        SendMessageA(editWnd, WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(valueFont)), FALSE);
        const RECT box = EditBoxRect();
        MoveWindow(editWnd, box.left, box.top, box.right - box.left, box.bottom - box.top, FALSE);
    }
    InvalidateRect(hWnd, nullptr, FALSE);
}

// Where position on a travel of from goes on a travel of to. Where a value was set it stands
// where that value stands; a drag that left it between values keeps its share of the travel.
double SlipControl::Rescaled(double position, UINT from, UINT to) const
{
    const UINT value = static_cast<UINT>(ValueAt(position, from));
    if (PositionFor(value, from) == position)
        return PositionFor(value, to);
    return from ? position * to / from : 0.0;
}

bool SlipControl::Fit::Prepare(const Display& display)
{
    const UINT code = static_cast<UINT>(slip_.controlId);
    scale_ = display.scale;
    if (!display.SamePictures(LibraryDisplay()))
        return MakeSlipPictures(code, display, pictures_);
    if (!SlipTrackWidens(code) || display.Layout().cx == LibraryDisplay().Layout().cx)
        return true;
    pictures_.track.Reset(SlipTrack(code, display));
    return pictures_.track != nullptr;
}

void SlipControl::Fit::Commit()
{
    const bool resized = pictures_.track != nullptr;
    if (resized)
        slip_.TakePictures(pictures_, scale_);
    pictures_.Reset();
    if (!slip_.hostValueColour)
        slip_.valueColor = ColourOf(ColourSlipValue);
    const LONG width = static_cast<LONG>(slip_.trackWidth), height = static_cast<LONG>(slip_.trackHeight);
    if (StillPlaced()) {
        const POINT at = SlipPlace(static_cast<UINT>(slip_.controlId), LibraryDisplay());
        MoveTo({at.x, at.y, at.x + width, at.y + height});
    } else if (resized) {  // where the host put it, as long as its track
        SetWindowPos(slip_.hWnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}
