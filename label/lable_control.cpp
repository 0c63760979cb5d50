#include "label/lable_control.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include "common/gdi.h"
#include "common/library.h"
#include "common/scale.h"
#include "face/colours.h"

namespace {

constexpr UINT_PTR BlinkTimer = 100;
constexpr UINT BlinkHalf = 500;  // ms: one second for an on and an off half
constexpr DWORD BlinkFlags = FlagBlinkText | FlagBlinkBack;
constexpr DWORD FontFlags = FlagBold | FlagUnderline | FlagItalic;
constexpr UINT RedrawNow = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW;
constexpr UINT StayPut = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;

// The option bits that stand for a style bit of the window.
struct StyleFlag {
    DWORD flag;
    int index;
    DWORD bit;
};

const StyleFlag StyleFlags[] = {
    {FlagStaticEdge, GWL_EXSTYLE, WS_EX_STATICEDGE},
    {FlagBorder, GWL_STYLE, WS_BORDER},
};

// Sets or clears one bit of a window long; TRUE when that changed it.
BOOL SwitchWindowLong(HWND window, int index, DWORD bit, bool on, UINT swpFlags)
{
    return ModifyWindowLong(window, index, on ? 0 : bit, on ? bit : 0, swpFlags);
}

// A new zero-terminated copy, or null for null text or when memory runs out.
char* CopyText(const char* text, size_t length)
{
    char* copy = text ? new (std::nothrow) char[length + 1] : nullptr;
    if (copy) {
        std::memcpy(copy, text, length);
        copy[length] = '\0';
    }
    return copy;
}

// A font of pointSize points on the screen, as the system makes it: its lfHeight and
// lfWidth are the size in device units.
LOGFONTA ScreenFont(const char* faceName, int pointSize)
{
    LOGFONTA made = {};
    made.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(made.lfFaceName, faceName, LF_FACESIZE);
    {
        WindowDC screen;
        // In 64 bits: a large point size must not overflow on its way to pixels.
        const LONGLONG pixels = static_cast<LONGLONG>(GetDeviceCaps(screen, LOGPIXELSY)) * pointSize * 10 / 720;
        POINT span[2] = {{0, 0}, {0, static_cast<LONG>(pixels < MAXLONG ? pixels : MAXLONG)}};
        DPtoLP(screen, span, 2);
        made.lfHeight = -std::abs(span[1].y - span[0].y);
    }
    GdiObject<HFONT> font(CreateFontIndirectA(&made));
    GetObjectA(font, sizeof made, &made);
    return made;
}

}  // namespace

BOOL ModifyWindowLong(HWND window, int index, DWORD remove, DWORD add, UINT swpFlags)
{
    const DWORD old = static_cast<DWORD>(GetWindowLongA(window, index));
    const DWORD changed = (old & ~remove) | add;
    if (changed == old)
        return FALSE;
    SetWindowLongA(window, index, static_cast<LONG>(changed));
    if (swpFlags)
        SetWindowPos(window, nullptr, 0, 0, 0, 0, swpFlags | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}

LableControl::LableControl()
    : textColor(GetSysColor(COLOR_WINDOWTEXT)), faceBrush(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)))
{
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof fontDesc, &fontDesc);
    RemakeFont();
}

LableControl::~LableControl()
{
    ReleaseWindow(hWnd, prevWndProc);
    if (OwnsText())
        delete[] labelText;
}

BOOL LableControl::Create(const RECT* rect, int id, HWND parent)
{
    if (!rect)
        return FALSE;
    // The window served so far is let go only once the new one exists; meanwhile the new
    // window's first messages must not reach the old one's procedure.
    const HWND oldWindow = hWnd;
    const WNDPROC oldProc = std::exchange(prevWndProc, nullptr);
    const int oldId = std::exchange(controlId, id);
    if (!CreateChild(ControlClass, parent, rect->left, rect->top, rect->right - rect->left,
                     rect->bottom - rect->top)) {
        hWnd = oldWindow;
        prevWndProc = oldProc;
        controlId = oldId;
        return FALSE;
    }
    ReleaseWindow(oldWindow, oldProc);
    fit.Unplaced();  // where the host asked
    return TRUE;
}

void LableControl::Destroy()
{
    DestroyWindow(hWnd);
    ScalarDeletingDestructor(1);
}

void* LableControl::ScalarDeletingDestructor(unsigned int flags)
{
    this->~LableControl();
    if (flags & 1)
        ::operator delete(this);
    return this;
}

// A window that this label no longer serves must not reach it: it loses the label's blink
// and its binding, so that nothing calls into the label once it is freed, and gets its own
// procedure (previous) back, unless another has been put over the label's since: that one
// calls the label's as its own previous, and restoring would cut it out of the chain.
void LableControl::ReleaseWindow(HWND window, WNDPROC previous)
{
    if (!window || !IsWindow(window) || GetWindowLongPtrA(window, GWLP_USERDATA) != reinterpret_cast<LONG_PTR>(this))
        return;
    KillTimer(window, BlinkTimer);
    fit.ShowAgain(window);  // the host's own window is never left hidden
    if (previous && GetWindowLongPtrA(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(StaticWndProc))
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
}

LRESULT LableControl::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    // Kept before any handler runs: passing the message on reads nothing of the label,
    // which the host may have destroyed meanwhile.
    const WNDPROC previous = prevWndProc;
    // What the label handled still reaches an adopted window's own procedure.
    const auto passOn = [&]() -> LRESULT {
        return previous ? CallWindowProcA(previous, hwnd, msg, wParam, lParam) : 1;
    };
    LRESULT answer;
    if (accessible.Handles(msg, wParam, lParam, answer))
        return answer;
    if (fit.Handles(msg))
        return 0;
    switch (msg) {
    case WM_PAINT:          OnPaint(hwnd); return passOn();
    case WM_ERASEBKGND:     return 1;  // Paint covers every pixel
    case WM_SYSCOLORCHANGE: OnSysColorChange(); return passOn();
    case WM_TIMER:          OnTimer(wParam); return passOn();
    case WM_LBUTTONDOWN:    return OnLeftDown() || IsWindow(hwnd) ? passOn() : 0;  // no message for a gone window
    case WM_SETCURSOR:      if (OnSetCursor()) return TRUE; break;
    default:                break;
    }
    return previous ? CallWindowProcA(previous, hwnd, msg, wParam, lParam) : DefWindowProcA(hwnd, msg, wParam, lParam);
}

void LableControl::OnPaint(HWND hwnd)
{
    PaintDC dc(hwnd);
    Paint(dc);
}

void LableControl::OnSysColorChange()
{
    faceBrush.Reset(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
    Redraw();
}

// Without a cursor of its own the label leaves the cursor to the default handling.
bool LableControl::OnSetCursor()
{
    if (!hoverCursor)
        return false;
    SetCursor(hoverCursor);
    return true;
}

void LableControl::OnTimer(UINT_PTR timerId)
{
    if (timerId != BlinkTimer)
        return;
    flags ^= FlagBlinkPhase;
    Invalidate();
}

// The last step of the message before it is passed on. False when the parent destroyed
// the label on hearing of the click: the caller then touches nothing of it.
bool LableControl::OnLeftDown()
{
    if (flags & FlagSilentClick)
        return true;
    NMHDR click = {hWnd, static_cast<UINT_PTR>(controlId), VELTRA_LABEL_CLICKED};
    Lifeline::Watch watch(lifeline);
    SendMessageA(GetParent(hWnd), WM_NOTIFY, static_cast<WPARAM>(controlId), reinterpret_cast<LPARAM>(&click));
    return watch.Alive();
}

BOOL LableControl::RefreshBackground()
{
    backSnapshot.Reset();
    return Invalidate();
}

BOOL LableControl::SetBackColor(COLORREF color)
{
    backBrush.Reset(CreateSolidBrush(color));
    return Invalidate();
}

BOOL LableControl::SetForeColor(COLORREF color)
{
    skinTextColour = false;  // the host's from now on
    textColor = color;
    return Redraw();
}

void LableControl::UseSkinTextColour()
{
    skinTextColour = true;
    textColor = ColourOf(ColourLabelText);
    Redraw();
}

BOOL LableControl::SetText(const char* text)
{
    // Copied before the old copy goes: text may be that copy, or a part of it.
    char* copy = CopyText(text, text ? std::strlen(text) : 0);
    if (OwnsText())
        delete[] labelText;
    labelText = copy;
    // The parent repaints what lies under a transparent label as well.
    if (flags & FlagTransparent) {
        const RECT under = RectInParent(hWnd);
        InvalidateRect(GetParent(hWnd), &under, FALSE);
    }
    // A named label shows its text as its value.
    accessible.Announce(accessible.GivenName() ? EVENT_OBJECT_VALUECHANGE : EVENT_OBJECT_NAMECHANGE);
    // Out of memory the label shows no text and says the text was not taken.
    return Invalidate() && (labelText || !text);
}

const char* LableControl::GetText()
{
    // From now on the label shows this copy, not the window's text.
    if (labelText == UseWindowText)
        labelText = WindowText(hWnd).release();
    return labelText;
}

BOOL LableControl::SetFont(const char* faceName, int pointSize)
{
    // lfFaceName holds 31 characters and the terminator: a longer name is cut there.
    if (faceName)
        lstrcpynA(fontDesc.lfFaceName, faceName, LF_FACESIZE);
    if (pointSize > 0) {
        const LOGFONTA sized = ScreenFont(fontDesc.lfFaceName, pointSize);
        fontDesc.lfHeight = sized.lfHeight;
        fontDesc.lfWidth = sized.lfWidth;
    }
    RemakeFont();
    return Redraw();
}

BOOL LableControl::SetTextAngle(int degrees, BOOL rotated)
{
    // Whole turns dropped: the same direction, and no overflow in tenths of a degree.
    fontDesc.lfEscapement = fontDesc.lfOrientation = degrees % 360 * 10;
    flags = rotated ? flags | FlagRotated : flags & ~FlagRotated;
    RemakeFont();
    return Redraw();
}

void LableControl::SetFlags(DWORD value, DWORD mask)
{
    flags = (flags & ~mask) | (value & mask);
    if (mask & FlagBold)
        fontDesc.lfWeight = flags & FlagBold ? FW_BOLD : FW_NORMAL;
    if (mask & FlagUnderline)
        fontDesc.lfUnderline = (flags & FlagUnderline) != 0;
    if (mask & FlagItalic)
        fontDesc.lfItalic = (flags & FlagItalic) != 0;
    for (const StyleFlag& style : StyleFlags)
        if (mask & style.flag)
            SwitchWindowLong(hWnd, style.index, style.bit, flags & style.flag, SWP_FRAMECHANGED);
    if (mask & BlinkFlags)
        UpdateBlinkTimer();
    if (mask & FontFlags) {
        RemakeFont();
        Redraw();
    }
    if (mask & FlagTransparent)
        Invalidate();
}

BOOL LableControl::SetClickMode(BOOL notifyStyle, BOOL silentClick)
{
    flags = notifyStyle ? flags | FlagNotifyStyle : flags & ~FlagNotifyStyle;
    flags = silentClick ? flags | FlagSilentClick : flags & ~FlagSilentClick;
    return SwitchWindowLong(hWnd, GWL_STYLE, SS_NOTIFY, notifyStyle, 0);
}

void LableControl::SetHoverCursor(HCURSOR cursor)
{
    hoverCursor = cursor;
}

BOOL LableControl::SetHighlight(BOOL enable, BOOL downRight)
{
    flags = enable ? flags | FlagHighlight : flags & ~FlagHighlight;
    highlightDownRight = downRight;
    return Redraw();
}

BOOL LableControl::Attach(HWND window)
{
    // A window that runs the library's procedure (this label's or another control's, even
    // under a procedure the host put over it) would be handed its own messages back
    // without end.
    if (!IsWindow(window) || RunsLibraryProcedure(window))
        return FALSE;
    ReleaseWindow(hWnd, prevWndProc);
    fit.Unplaced();
    hWnd = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    prevWndProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StaticWndProc)));
    // A blinking label goes on blinking on the window it now serves.
    if (flags & BlinkFlags)
        UpdateBlinkTimer();
    return prevWndProc != nullptr;
}

void LableControl::UpdateBlinkTimer()
{
    // Setting it again restarts a running timer.
    if (flags & BlinkFlags)
        SetTimer(hWnd, BlinkTimer, BlinkHalf, nullptr);
    else
        KillTimer(hWnd, BlinkTimer);
}

void LableControl::RemakeFont()
{
    font.Reset(CreateScaledFont(fontDesc, Library.Scale));
}

BOOL LableControl::Invalidate()
{
    return InvalidateRect(hWnd, nullptr, FALSE);
}

BOOL LableControl::Redraw()
{
    return RedrawWindow(hWnd, nullptr, nullptr, RedrawNow);
}

AccessibleText LableControl::Access::Shown()
{
    if (label_.labelText == UseWindowText)
        return AccessibleText(WindowText(Window()));
    return AccessibleText(label_.labelText);
}

AccessibleText LableControl::Access::Name(LONG)
{
    return GivenName() ? AccessibleText(GivenName()) : Shown();
}

AccessibleText LableControl::Access::Value(LONG)
{
    return GivenName() ? Shown() : AccessibleText();
}

// A label whose press is silent has nothing to do.
const wchar_t* LableControl::Access::DefaultAction(LONG) const
{
    return label_.flags & FlagSilentClick ? nullptr : L"Click";
}

bool LableControl::Fit::Prepare(const Display& display)
{
    if (display.scale == Library.Scale)
        return true;
    font_.Reset(CreateScaledFont(label_.fontDesc, display.scale));
    return font_ != nullptr;
}

void LableControl::Fit::Commit()
{
    if (font_)
        label_.font.Reset(font_.Release());
    if (label_.skinTextColour)
        label_.textColor = ColourOf(ColourLabelText);
    if (StillPlaced())
        MoveTo(LabelRect(static_cast<UINT>(label_.controlId), LibraryDisplay()));
    label_.backSnapshot.Reset();
    // The snapshot must come from what the parent paints for the new size, and a parent
    // that clips its children never paints under a shown one: the label stands aside.
    if (!hidden_ && (GetWindowLongA(label_.hWnd, GWL_STYLE) & WS_VISIBLE)) {
        hidden_ = true;
        SetWindowPos(label_.hWnd, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | StayPut);
    }
}

// The parent's paint still pending under the label (standing aside made sure there is one)
// is done first; showing the label then has it paint once, over a fresh snapshot.
void LableControl::Fit::HostFollowed()
{
    UpdateWindow(GetParent(label_.hWnd));
    ShowAgain(label_.hWnd);
}

void LableControl::Fit::ShowAgain(HWND window)
{
    if (std::exchange(hidden_, false))
        SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | StayPut);
}
