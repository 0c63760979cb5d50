#include "button/color_buttom.h"

#include <algorithm>
#include <iterator>
#include <new>

#include "common/art.h"
#include "common/gdi.h"
#include "common/library.h"
#include "face/colours.h"

namespace {

enum TimerId : UINT_PTR {
    RepeatTimer = 100,
    DelayTimer = 101,
};

// The first repeat waits a little longer than a double-click; the later ones come a
// little faster, but never faster than the system's shortest timer.
UINT RepeatDelay() { return GetDoubleClickTime() + 100; }
UINT RepeatInterval() { return std::max<int>(static_cast<int>(GetDoubleClickTime()) - 100, USER_TIMER_MINIMUM); }

}  // namespace

ColorButtom::ColorButtom() : hoverCursor(Library.HandCursor) {}

ColorButtom::~ColorButtom()
{
    if (bitmap)
        DeleteObject(bitmap);
}

int ColorButtom::Create(int x, int y, int controlId, UINT bitmapId, HWND parent, NotifyProc notify,
                        INT_PTR userData, int frameCount, const char* typeName)
{
    this->typeName = typeName;
    this->controlId = controlId;
    this->notify = notify;
    this->userData = userData;
    this->bitmapId = static_cast<WORD>(bitmapId);
    bitmap = LoadArt(this->bitmapId, LibraryDisplay());
    if (!bitmap)
        return 0;  // a button without its picture is no button
    const SIZE strip = BitmapSize(bitmap);
    frameWidth = strip.cx / frameCount;
    frameHeight = strip.cy;
    if (!CreateChild(ControlClass, parent, x, y, frameWidth, frameHeight))
        return 0;
    fit.Placed();
    return 1;
}

LRESULT ColorButtom::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    LRESULT answer;
    if (accessible.Handles(msg, wParam, lParam, answer))
        return answer;
    if (fit.Handles(msg))
        return 0;
    switch (msg) {
    case WM_PAINT:          Paint(); return 0;
    case WM_ERASEBKGND:     return 1;  // Paint covers every pixel
    case WM_SETCURSOR:      SetCursor(hoverCursor); return TRUE;
    case WM_MOUSEMOVE:      OnMouseMove(); return 0;
    case WM_LBUTTONDOWN:    OnLeftDown(wParam); return 0;
    case WM_LBUTTONUP:      OnLeftUp(wParam); return 0;
    case WM_RBUTTONDOWN:    Notify(VELTRA_BUTTON_RIGHT_PRESSED, wParam); return 0;
    case WM_CAPTURECHANGED: OnCaptureChanged(); return 0;
    case WM_MOUSELEAVE:     OnMouseLeave(); return 0;
    case WM_TIMER:          OnTimer(wParam); return 0;
    default:                return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

void ColorButtom::Destroy()
{
    DestroyWindow(hWnd);
    ScalarDeletingDestructor(1);
}

void ColorButtom::SetHoverCursor(HCURSOR cursor)
{
    hoverCursor = cursor;
}

BOOL ColorButtom::MoveTo(int x, int y)
{
    return MoveWindow(hWnd, x, y, frameWidth, frameHeight, TRUE);
}

void ColorButtom::SetState(int frameIndex)
{
    // Only frames of the strip: any other value would paint from outside the bitmap.
    if (frameIndex == restFrame || frameIndex < VELTRA_FRAME_NORMAL || frameIndex > VELTRA_FRAME_PRESSED)
        return;
    restFrame = frameIndex;
    ShowFrame(frameIndex);
}

int ColorButtom::GetState()
{
    return frame;
}

void ColorButtom::SetDot(BOOL show)
{
    showDot = show;
}

int ColorButtom::SetAutoRepeat(BOOL on)
{
    StopTimers();
    return on ? static_cast<int>(SetTimer(hWnd, DelayTimer, RepeatDelay(), nullptr)) : 0;
}

void* ColorButtom::ScalarDeletingDestructor(unsigned int flags)
{
    this->~ColorButtom();
    if (flags & 1)
        ::operator delete(this);
    return this;
}

void ColorButtom::Paint()
{
    PaintDC dc(hWnd);
    // Everything the paint needs is made first: refused any of it, the window stays as it was.
    MemoryDC memory(dc);
    const COLORREF dot = ColourOf(ColourButtonDot);
    GdiObject<HPEN> pen(showDot ? CreatePen(PS_SOLID, 1, dot) : nullptr);
    GdiObject<HBRUSH> brush(showDot ? CreateSolidBrush(dot) : nullptr);
    if (!memory || (showDot && (!pen || !brush)))
        return;
    {
        Selection strip(memory, bitmap);
        BitBlt(dc, 0, 0, frameWidth, frameHeight, memory, frame * frameWidth, 0, SRCCOPY);
    }
    if (showDot)
        PaintDot(dc, pen, brush);
}

void ColorButtom::PaintDot(HDC dc, HPEN pen, HBRUSH brush)
{
    RECT client;
    GetClientRect(hWnd, &client);
    Selection outline(dc, pen);
    Selection fill(dc, brush);
    // Drawn at the scale, not enlarged: a round dot at any size.
    const int s = Library.Scale;
    const int middle = (client.left + client.right) / 2;
    Ellipse(dc, middle - 2 * s, client.bottom - 6 * s, middle + 2 * s, client.bottom - 2 * s);
}

// A strip of the same frames at another scale: the window takes the frame's new size.
void ColorButtom::TakeStrip(HBITMAP strip)
{
    const int frames = BitmapSize(bitmap).cx / frameWidth;
    DeleteObject(bitmap);
    bitmap = strip;
    const SIZE size = BitmapSize(strip);
    frameWidth = size.cx / frames;
    frameHeight = size.cy;
}

void ColorButtom::OnMouseMove()
{
    if (tracking)
        return;
    tracking = TRUE;
    restFrame = frame;
    TRACKMOUSEEVENT leave = {sizeof leave, TME_LEAVE, hWnd, 0};
    TrackMouseEvent(&leave);
    ShowFrame(VELTRA_FRAME_HOVER);
}

void ColorButtom::OnLeftDown(WPARAM keys)
{
    SetFocus(hWnd);
    // Without a hover first the button holds the mouse, so that it sees the release
    // wherever it happens.
    if (!tracking) {
        restFrame = frame;
        tracking = TRUE;
        SetCapture(hWnd);
    }
    ShowFrame(VELTRA_FRAME_PRESSED);
    Notify(VELTRA_BUTTON_PRESSED, keys);
}

void ColorButtom::OnLeftUp(WPARAM keys)
{
    BackToRest();
    ReleaseCapture();  // delivers WM_CAPTURECHANGED first when the button held the mouse
    Notify(VELTRA_BUTTON_RELEASED, keys);
}

void ColorButtom::OnCaptureChanged()
{
    StopTimers();
    BackToRest();
}

void ColorButtom::OnMouseLeave()
{
    BackToRest();
}

void ColorButtom::OnTimer(UINT_PTR timerId)
{
    switch (timerId) {
    case DelayTimer:
        KillTimer(hWnd, DelayTimer);
        SetTimer(hWnd, RepeatTimer, RepeatInterval(), nullptr);
        Notify(VELTRA_BUTTON_REPEAT, 0);
        break;
    case RepeatTimer:
        Notify(VELTRA_BUTTON_REPEAT, 0);
        break;
    default:
        break;
    }
}

// Every change of frame is also one of the button's state to assistive technology.
void ColorButtom::ShowFrame(int shown)
{
    const bool changed = shown != frame;
    frame = shown;
    Invalidate();
    if (changed)
        accessible.Announce(EVENT_OBJECT_STATECHANGE);
}

void ColorButtom::BackToRest()
{
    tracking = FALSE;
    ShowFrame(restFrame);
}

void ColorButtom::StopTimers()
{
    KillTimer(hWnd, DelayTimer);
    KillTimer(hWnd, RepeatTimer);
}

void ColorButtom::Invalidate()
{
    InvalidateRect(hWnd, nullptr, FALSE);
}

// False when the host destroyed the button from its callback: the caller then touches
// nothing of it. Every message that notifies does so as its last step.
bool ColorButtom::Notify(int code, WPARAM detail)
{
    if (!notify)
        return true;
    Lifeline::Watch watch(lifeline);
    notify(controlId, code, detail, userData);
    return watch.Alive();
}

namespace {

// What each kind of button is to assistive technology.
struct ButtonKind {
    LONG role;
    DWORD latched;  // the state while the button rests in the pressed frame
};

const ButtonKind ButtonKinds[] = {
    {ROLE_SYSTEM_PUSHBUTTON, STATE_SYSTEM_PRESSED},   // VELTRA_BUTTON_KIND_PUSH
    {ROLE_SYSTEM_CHECKBUTTON, STATE_SYSTEM_CHECKED},  // VELTRA_BUTTON_KIND_TOGGLE
    {ROLE_SYSTEM_PAGETAB, STATE_SYSTEM_SELECTED},     // VELTRA_BUTTON_KIND_TAB
};

}  // namespace

LONG ColorButtom::Access::Role(LONG) const
{
    return ButtonKinds[kind_].role;
}

DWORD ColorButtom::Access::State(LONG) const
{
    const bool hovered = button_.tracking;  // under the pointer, or held by it since a press there
    DWORD bits = STATE_SYSTEM_FOCUSABLE | (hovered ? STATE_SYSTEM_HOTTRACKED : 0);
    if (kind_ == VELTRA_BUTTON_KIND_TAB)
        bits |= STATE_SYSTEM_SELECTABLE;
    // A push button is pressed while a press shows too; a toggle or a tab only latches.
    if (Latched() || (kind_ == VELTRA_BUTTON_KIND_PUSH && button_.frame == VELTRA_FRAME_PRESSED))
        bits |= ButtonKinds[kind_].latched;
    return bits;
}

const wchar_t* ColorButtom::Access::DefaultAction(LONG) const
{
    switch (kind_) {
    case VELTRA_BUTTON_KIND_TOGGLE: return Latched() ? L"Uncheck" : L"Check";
    case VELTRA_BUTTON_KIND_TAB: return L"Switch";
    default: return L"Press";
    }
}

// What a click reports, without the frames a mouse would show.
void ColorButtom::Access::DoDefaultAction(LONG)
{
    if (button_.Notify(VELTRA_BUTTON_PRESSED, MK_LBUTTON))
        button_.Notify(VELTRA_BUTTON_RELEASED, 0);
}

bool ColorButtom::Access::SetOption(int option, int value)
{
    if (option != VELTRA_ACCESS_BUTTON_KIND || value < 0 || value >= static_cast<int>(std::size(ButtonKinds)))
        return false;
    if (value != kind_) {
        kind_ = value;
        Announce(EVENT_OBJECT_STATECHANGE);
    }
    return true;
}

bool ColorButtom::Fit::Prepare(const Display& display)
{
    if (display.SamePictures(LibraryDisplay()))
        return true;
    strip_.Reset(LoadArt(button_.bitmapId, display));
    return strip_ != nullptr;
}

void ColorButtom::Fit::Commit()
{
    const bool resized = strip_ != nullptr;
    if (resized)
        button_.TakeStrip(strip_.Release());
    const SIZE frame = {button_.frameWidth, button_.frameHeight};
    if (StillPlaced()) {
        const POINT at = ButtonPlace(button_.controlId, LibraryDisplay());
        MoveTo({at.x, at.y, at.x + frame.cx, at.y + frame.cy});
    } else if (resized) {  // where the host put it, one frame in size
        SetWindowPos(button_.hWnd, nullptr, 0, 0, frame.cx, frame.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}
