/*
 * Veltra1024: skin library for full-screen Windows media applications.
 *
 * The host loads Veltra1024.dll (32-bit; a companion build serves 64-bit hosts), paints
 * the frame of artwork around its full-screen main window with DrawFace, fills the inner
 * area that GetBgkColorSize reports, asks GetObjectRect where its own widgets go, and
 * creates the library's self-drawn child controls through the three factories.
 *
 * Every export uses the WINAPI (stdcall) convention and an undecorated name, so a host
 * may link the import library or look the names up with GetProcAddress; the
 * PFN_ types below serve the latter. Strings are ANSI. Everything runs on the thread
 * that owns the host's main window.
 *
 * The screen size is measured once, when the library is loaded; the face and every
 * place the library reports are laid out for that size. Any size works: on a screen
 * smaller than the design in a direction, the face keeps its design size there.
 *
 * Bad input and scarce resources have defined results, never a crash: null pointers
 * where this header allows them, unknown codes, any 32-bit number in a slot, texts of any
 * length. When the system refuses a DC, bitmap, font, region, window, timer or memory,
 * the call concerned does what it can without it and leaks nothing: a factory makes
 * nothing, a paint leaves the window as it was, a change of font keeps the default font.
 *
 * The optional logo, "Pic\VeltraLogo.bmp" below the host's current directory when the
 * library is loaded, is printed into the top of the right-hand face. It is used only if it
 * is a complete uncompressed bitmap (BI_RGB or BI_BITFIELDS, a BITMAPINFOHEADER or later,
 * its colour table and every row present); any other file is ignored.
 */
#ifndef VELTRA1024_H
#define VELTRA1024_H

/* A host that declares the Win32 types itself (no Windows SDK at hand) defines
 * VELTRA1024_NO_WINDOWS_H before including this header. */
#ifndef VELTRA1024_NO_WINDOWS_H
#include <windows.h>
#endif

#if defined(VELTRA1024_BUILD)
#define VELTRA1024_API
#else
#define VELTRA1024_API __declspec(dllimport)
#endif

#ifdef __cplusplus
extern "C" {
#endif
struct IColorButtom;
struct ILableControl;
struct ISlipControl;
#ifndef __cplusplus
typedef struct IColorButtom IColorButtom;
typedef struct ILableControl ILableControl;
typedef struct ISlipControl ISlipControl;
#endif

/* The value that asks GetObjectRect's code 5 for the frame bitmap as well. */
#define VELTRA_QUERY_MARKER 0x12345678

/* Colour button events, the code argument of NotifyProc. */
#define VELTRA_BUTTON_PRESSED 1        /* left press on the button; detail: MK_ flags */
#define VELTRA_BUTTON_RELEASED 3       /* left release seen by the button; detail: MK_ flags */
#define VELTRA_BUTTON_RIGHT_PRESSED 4  /* right press; detail: MK_ flags */
#define VELTRA_BUTTON_REPEAT 7         /* auto-repeat tick; detail: 0 */

/* Slip control events, the code argument of SlipNotifyProc; the host asks GetValue (or
 * the marker getters) for the value. */
#define VELTRA_SLIP_VALUE_CHANGED 0  /* every fourth move of a thumb drag; every edit */
#define VELTRA_SLIP_RIGHT_CLICK 1    /* right button released over the slip */
#define VELTRA_SLIP_DRAG_ENDED 3     /* a thumb drag released away from where it began */

/* Bits of ISlipControl::ClearMarkers. */
#define VELTRA_START_MARKER 1
#define VELTRA_END_MARKER 2

/* Colour button frames, for SetState and GetState. */
#define VELTRA_FRAME_NORMAL 0
#define VELTRA_FRAME_HOVER 1
#define VELTRA_FRAME_PRESSED 2

/* Label option bits, for ILableControl::SetFlags (value and mask). */
#define VELTRA_LABEL_BOLD 0x1             /* bold font */
#define VELTRA_LABEL_UNDERLINE 0x2        /* underlined font */
#define VELTRA_LABEL_ITALIC 0x4           /* italic font */
#define VELTRA_LABEL_STATIC_EDGE 0x8      /* WS_EX_STATICEDGE on the window */
#define VELTRA_LABEL_BORDER 0x10          /* WS_BORDER on the window */
#define VELTRA_LABEL_TRANSPARENT 0x20     /* background: the parent's pixels under the label */
#define VELTRA_LABEL_BLINK_TEXT 0x40      /* the text shows every other half second */
#define VELTRA_LABEL_BLINK_BACK 0x80      /* the background alternates: parent's pixels, colour */
#define VELTRA_LABEL_ROTATED 0x100        /* set by SetTextAngle: text turned about the centre */
#define VELTRA_LABEL_NOTIFY_STYLE 0x200   /* set by SetClickMode: SS_NOTIFY was asked for */
#define VELTRA_LABEL_SILENT_CLICK 0x400   /* set by SetClickMode: a press sends nothing */
#define VELTRA_LABEL_HIGHLIGHT 0x800      /* set by SetHighlight: a white copy one pixel off */
#define VELTRA_LABEL_BLINK_PHASE 0x1000000 /* the half of the blink that shows */

/* The WM_NOTIFY code of a left press on a label (WM_APP + 0x200); the NMHDR names the
 * label's window and its type code, which is also the message's wParam. */
#define VELTRA_LABEL_CLICKED 0x8200

/* The colour of the inner area that GetBgkColorSize reports: RGB(213, 237, 245). */
#define VELTRA_BACKGROUND_COLOR 0x00F5EDD5

/* A colour button's callback: the button's type code, the event code, the event's
 * detail (the mouse key-state flags, or 0) and the host's value given to the factory.
 * Called synchronously from the button's window procedure.
 *
 * From inside any of the library's callbacks (NotifyProc, SlipNotifyProc, and the
 * parent's handling of a label's WM_NOTIFY) the host may call any slot of the control
 * that called, Destroy included: a destroyed control touches nothing of itself once the
 * callback returns. */
typedef void(WINAPI* NotifyProc)(int controlId, int code, WPARAM detail, INT_PTR userData);

/* A slip control's callback: the slip's type code, the host's value, the event code. */
typedef void(WINAPI* SlipNotifyProc)(int controlId, INT_PTR userData, int code);

/* Paints the four face bitmaps onto hdc, in the coordinates of the full-screen main
 * window; the inner area is left to the host. Non-zero when all four were copied; 0 for a
 * null or unusable hdc. */
VELTRA1024_API BOOL WINAPI DrawFace(HDC hdc);

/* Writes the area inside the face to *inner and its colour to *background; either
 * pointer may be null, and that value is then not written. Returns inner. */
VELTRA1024_API RECT* WINAPI GetBgkColorSize(RECT* inner, COLORREF* background);

/* Rectangles, colours and bitmaps for the host's own widgets, by query code:
 *   0, 1  the upper and lower display rows of the right panel      out: RECT
 *   2     the CPU value field (between the "CPU" caption and "%")  out: RECT
 *   3     the list area of the right panel                         out: RECT
 *   4     the large panel of the bottom face                       out: RECT
 *   5     the panel frame's top-left corner in out[0], out[1]; when the host stores
 *         VELTRA_QUERY_MARKER in out[2] first, out[2] also receives the frame bitmap
 *         (172 x 122; its corners outside the border are RGB(255, 0, 255))
 *   6     the area inside that frame, in the frame's own coordinates  out: RECT
 *   10-12 display colours: background, text, dim text              out[0..2]: COLORREF
 *   13    white, red, grey, grey                                   out[0..3]: COLORREF
 *   14    red, orange, pale yellow                                 out[0..2]: COLORREF
 *   20    bitmaps: dark bar, green bar (145 x 18), the bottom face under the code 4
 *         rectangle ((width - 31) x 107), grey shaded bar (585 x 14)
 *   21    bitmaps: shaded bars (585 x 14) in green, cyan, red, yellow
 * Rectangles are in the coordinates of the full-screen main window, right and bottom
 * exclusive. Values a code does not name are left as they were. Bitmaps are new on
 * every call and belong to the host, which deletes them with DeleteObject; they travel
 * as 32-bit values: a 64-bit host turns one back into a handle with
 * (HBITMAP)(INT_PTR)out[i]. Returns 1 for a known code; 0, with nothing written, for
 * any other code or a null out. */
VELTRA1024_API int WINAPI GetObjectRect(int code, INT32 out[4]);

/* The control factories. Each stores the new control through out (before its window
 * exists, so the pointer is in place while the parent hears of the window), or null when
 * it cannot make one: an unknown type code, a null out, a parent that cannot hold a child
 * window, or the system refusing the window, the pictures or the memory (the pointer
 * stored first is then set back to null). A null notify is allowed: the events go
 * nowhere. Nothing is done for a null out. The type code alone
 * decides picture and place, laid out for this screen, and is the control's identifier
 * in every notification. The host ends every control with its Destroy slot.
 *
 * Colour buttons, 42 codes (x at 1024 x 768; places follow the screen):
 *   0 power key (bottom right); 1-10 the transport row at the bottom (previous, play,
 *   pause, stop, next, eject, shuffle, repeat, volume down, volume up); 11, 12 a speaker
 *   on/off pair sharing one place; 13, 14 the wide keys of the right panel; 15, 16 the
 *   wide keys at the bottom right; 17, 18 mute and equaliser; 19-30 small minus/plus keys
 *   in pairs around the six labels; 31 a slim key at (-100, -100) until MoveTo;
 *   200-207 the column of mode tabs at the left edge; 300, 301 two 13 x 13 keys sharing
 *   one place.
 * Labels, codes 0-5: small text fields in a row near the bottom, between the key pairs
 *   19/20, 21/22 ... 29/30.
 * Slips: 0 the seek bar above the bottom panel, widened with the screen, with a start and
 *   an end marker; 1 a short horizontal slider beside it; 10 a short vertical slider at
 *   the top left. */
VELTRA1024_API void WINAPI FactroyColorButtom(struct IColorButtom** out, UINT typeCode, HWND parent,
                                              NotifyProc notify, INT_PTR userData);
VELTRA1024_API void WINAPI FactroyLableControl(struct ILableControl** out, UINT typeCode, HWND parent);
VELTRA1024_API void WINAPI FactroySlipControl(struct ISlipControl** out, UINT typeCode, HWND parent,
                                              SlipNotifyProc notify, INT_PTR userData);

/* Assistive technology. Every control answers screen readers through Microsoft Active
 * Accessibility (WM_GETOBJECT for OBJID_CLIENT; oleacc.dll is loaded on the first such
 * request, and the library then stays loaded until the process ends, since a screen reader
 * may hold a control's accessible object as long as it likes):
 *   colour button  push button (a check button or a page tab when the host says so, see
 *                  SetAccessibleOption); name: see below, else the window's text, else its
 *                  type's name in English (e.g. "Play", "Volume up", "Minus 3", "Mode 2");
 *                  pressed while in frame 2 or resting there (a check button is checked,
 *                  a page tab selected, while resting there), hot-tracked under the
 *                  pointer, focusable, focused, unavailable when disabled; default action
 *                  "Press" ("Check" or "Uncheck", "Switch"): the notifications
 *                  VELTRA_BUTTON_PRESSED, then VELTRA_BUTTON_RELEASED
 *   label          static text, read-only; name: the text it shows (a label named below
 *                  shows that text as its value); default action "Click", the WM_NOTIFY of
 *                  a press, unless its click mode is silent
 *   slip           slider, focusable; name as for a button ("Seek", "Slider", "Vertical
 *                  slider"); value: GetValue in decimal, which a screen reader may set as
 *                  if typed into the edit box (the thumb moves, VELTRA_SLIP_VALUE_CHANGED
 *                  follows); description: its range, and the seek bar's markers when set.
 *                  Its parts, as the system's trackbar has them: 1 "Page left" ("Page up"
 *                  on a vertical slip), 2 "Position" (an indicator, the thumb), 3 "Page
 *                  right" ("Page down"); pressing a page part steps the value a page that
 *                  way, as a drag there would: VELTRA_SLIP_VALUE_CHANGED, then
 *                  VELTRA_SLIP_DRAG_ENDED. While the edit box is open it is part 4, an
 *                  editable text named as the slip.
 * A screen reader may call from any thread: each call runs on the thread of the control's
 * window, and the host hears what it causes from the control's window procedure, after the
 * screen reader's call has returned, as it hears a click. A control that a user could not
 * click (it or a window it stands in is hidden or disabled) refuses a default action and a
 * value with E_ACCESSDENIED, and the host hears nothing. accSelect(SELFLAG_TAKEFOCUS) gives
 * a button or a slip the focus. Screen readers hear of a button's frame, a label's text
 * and a slip's value as they change. Once a control is destroyed, or a label has moved to
 * another window, every call on the old accessible object fails with RPC_E_DISCONNECTED.
 *
 * SetAccessibleName names a control for assistive technology, without looking for its
 * window: control is any control a factory made, name is copied (null gives the control
 * its own name back). Nothing on the screen changes. Returns non-zero when named; 0 for
 * anything that is not a live control of the library's (null, destroyed, a window handle),
 * one whose window is gone, or no memory for the copy; nothing is read through any
 * pointer but a live control's.
 *
 *     IColorButtom* play;
 *     FactroyColorButtom(&play, 2, mainWindow, OnButton, 0);
 *     if (play)
 *         SetAccessibleName(play, "Play track");
 */
VELTRA1024_API BOOL WINAPI SetAccessibleName(void* control, const char* name);

/* SetAccessibleOption says more of a control to assistive technology; nothing on the
 * screen changes. Returns non-zero when set; 0 for a control that has no such option, a
 * value out of its range, or a control that is not a live one of the library's.
 *   VELTRA_ACCESS_BUTTON_KIND  a colour button: VELTRA_BUTTON_KIND_PUSH (the default), or
 *                              _TOGGLE (a check button, checked while it rests in frame 2),
 *                              or _TAB (one of a group of page tabs, selected while it
 *                              rests in frame 2)
 *   VELTRA_ACCESS_SLIP_PAGE    a slip: how far its page parts step the value, from 1; 0
 *                              gives back the default, a tenth of the range (at least 1)
 *
 *     SetAccessibleOption(modeTab, VELTRA_ACCESS_BUTTON_KIND, VELTRA_BUTTON_KIND_TAB);
 *     SetAccessibleOption(seek, VELTRA_ACCESS_SLIP_PAGE, 30);      // 30 seconds a page
 */
#define VELTRA_ACCESS_BUTTON_KIND 1
#define VELTRA_ACCESS_SLIP_PAGE 2
#define VELTRA_BUTTON_KIND_PUSH 0
#define VELTRA_BUTTON_KIND_TOGGLE 1
#define VELTRA_BUTTON_KIND_TAB 2
VELTRA1024_API BOOL WINAPI SetAccessibleOption(void* control, int option, int value);

/* FitScreen makes the library fit a screen of width x height while it runs, as if it had
 * been loaded on one: DrawFace paints the face widened for it (the logo printed again),
 * GetBgkColorSize and GetObjectRect answer for it, and every live control stands where
 * the library places it on that screen, sized for it where its size depends on the screen
 * (the seek slip's track). A control the host placed or moved (MoveTo, a label's Create or
 * Attach, its own window calls) stays where the host put it. Every control keeps its state.
 * What a fit costs in paints: every control paints once, after the host's handler below
 * has returned (a message the fit posts to it comes first); one the host repaints within
 * its handler paints once more. A label is hidden until then: it shows again once its
 * parent has painted the new face under it, which it then copies. All or
 * nothing: returns non-zero when fitted (at once when the size is the library's already);
 * 0, with the face, the queries and every control as they were, when something the new
 * size needs cannot be made, or for a width or height of 0 or less. It may be called from
 * any of the library's callbacks.
 *
 * A host follows the screen by fitting, then resizing its main window and laying out its
 * own widgets again, on WM_DISPLAYCHANGE (the new size is in GetSystemMetrics) and when its
 * window moves to a monitor of another size (MonitorFromWindow, GetMonitorInfo):
 *
 *     case WM_DISPLAYCHANGE: {
 *         const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
 *         if (FitScreen(width, height)) {
 *             MoveWindow(mainWindow, 0, 0, width, height, FALSE);
 *             LayOutOwnWidgets();                      // GetObjectRect, GetBgkColorSize
 *             InvalidateRect(mainWindow, nullptr, TRUE);
 *         }
 *         return 0;
 *     }
 */
VELTRA1024_API BOOL WINAPI FitScreen(int width, int height);

/* FitScreenScaled fits the library to a screen of width x height device pixels, as FitScreen
 * does, with the whole design drawn scale times larger: for 4K and 8K screens, where the
 * design at its own size would be too small to read or hit. The library lays out a screen
 * of ceil(width / scale) x ceil(height / scale) exactly as FitScreen lays out a screen of
 * that size, and draws every length of it scale pixels long: the face and its bands, every
 * control's place and size, the rectangles and bitmaps GetObjectRect hands out, the inner
 * area of GetBgkColorSize, the slips' tracks, thumbs, markers, value text and edit box, the
 * labels' fonts (scale times the height the same font has at scale 1), the button dot and
 * the logo. Where the screen's sides are not multiples of scale, what falls beyond them is
 * cut. Scale 2 draws art made for twice the density; 3 enlarges the 1x art and 4 the 2x art
 * by whole pixels; nothing is ever filtered. Mouse input and what screen readers read are in
 * device pixels over the scaled windows.
 *
 * scale 1 to 4 takes that scale where the screen holds the design at it (width at least
 * 1024 x scale and height at least 768 x scale; scale 1 always); 0 lets the library choose
 * the largest scale the screen holds. Returns the scale fitted (1 to 4), or 0, with nothing
 * changed, for a scale the screen cannot hold, any other scale, a width or height of 0 or
 * less, or when something the new display needs cannot be made. A control the host placed
 * keeps the host's place and takes the size of the new scale; a label the host gave a
 * rectangle keeps that rectangle. Otherwise it is FitScreen: all or nothing, the same paints,
 * every control keeps its state, and it may be called from any of the library's callbacks.
 *
 * The library loads at scale 1. FitScreen keeps the scale last asked for here: 0 chooses
 * again at every fit, and a scale the new screen cannot hold falls back to the largest it
 * can. A host that follows the screen at a scale calls FitScreenScaled in the place of
 * FitScreen in the handler above.
 */
VELTRA1024_API int WINAPI FitScreenScaled(int width, int height, int scale);

/* LoadSkin changes the library's art and colours while it runs, from a folder of bitmap
 * files named as the built-in art is ("face_top.bmp", "button_111.bmp",
 * "button_121_1033.bmp", "query_165.bmp", "slip_116.bmp", ...; the README lists every piece,
 * its size and frames). A skin may give any of them; each piece it does not give stays the
 * built-in one. Art for scale 2 carries "@2x" before ".bmp" and is twice the size; a piece
 * given at 1x only is enlarged by whole pixels at scales 2 and 4, never mixed with the
 * built-in 2x art. An optional "skin.ini" sets colours, one "name = #RRGGBB" line each:
 * background (GetBgkColorSize), display_back, display_text, display_dim (GetObjectRect 10 to
 * 12), text_light, text_alert, text_muted, text_muted2 (13), accent_1 to accent_3 (14),
 * label_text, slip_value (a label's text and a slip's value, until the host sets its own)
 * and button_dot; lines starting with ';' or '#' are comments.
 *
 * The folder is read and checked whole before anything changes: each file once, into memory,
 * as a complete bitmap (12-, 40-, 108- or 124-byte header; uncompressed or bit fields; 1, 4,
 * 8, 24 or 32 bits per pixel; either way up) of exactly its piece's size, no larger than
 * 64 MB. Then it is applied as a fit is, all or nothing: the face, every live control's
 * pictures and the colours change, every control keeps its state, and the skin stays in
 * force through later fits and scales (the library keeps the bytes it checked and never
 * reads the folder again). A null folder gives the built-in art and colours back. A colour
 * the host set on a control itself stays the host's.
 *
 * Returns non-zero when applied. Otherwise 0 with nothing changed, and reason (when not null)
 * holds every problem found, one line each ending in '\n': the folder first, then skin.ini,
 * then the pieces in the README's order; lines that do not fit are dropped and counted in a
 * last line of their own ("and 3 more problems"). reason is always terminated and never
 * written past reasonSize characters. The cursor is always the library's. It
 * may be called from any of the library's callbacks. After it a host repaints as after a fit,
 * and asks the queries again (their bitmaps and colours are the skin's):
 *
 *     char why[2048];
 *     if (LoadSkin("C:\\Skins\\daylight", why, sizeof why)) {
 *         LayOutOwnWidgets();                       // GetObjectRect, GetBgkColorSize
 *         InvalidateRect(mainWindow, nullptr, TRUE);
 *     } else {
 *         MessageBoxA(mainWindow, why, "Skin", MB_ICONWARNING);
 *     }
 */
VELTRA1024_API int WINAPI LoadSkin(const char* folder, char* reason, int reasonSize);

/* For hosts that load the library with LoadLibrary and GetProcAddress. */
typedef BOOL(WINAPI* PFN_DrawFace)(HDC hdc);
typedef RECT*(WINAPI* PFN_GetBgkColorSize)(RECT* inner, COLORREF* background);
typedef int(WINAPI* PFN_GetObjectRect)(int code, INT32 out[4]);
typedef void(WINAPI* PFN_FactroyColorButtom)(struct IColorButtom** out, UINT typeCode, HWND parent,
                                             NotifyProc notify, INT_PTR userData);
typedef void(WINAPI* PFN_FactroyLableControl)(struct ILableControl** out, UINT typeCode, HWND parent);
typedef void(WINAPI* PFN_FactroySlipControl)(struct ISlipControl** out, UINT typeCode, HWND parent,
                                             SlipNotifyProc notify, INT_PTR userData);
typedef BOOL(WINAPI* PFN_SetAccessibleName)(void* control, const char* name);
typedef BOOL(WINAPI* PFN_SetAccessibleOption)(void* control, int option, int value);
typedef BOOL(WINAPI* PFN_FitScreen)(int width, int height);
typedef int(WINAPI* PFN_FitScreenScaled)(int width, int height, int scale);
typedef int(WINAPI* PFN_LoadSkin)(const char* folder, char* reason, int reasonSize);

#ifdef __cplusplus
}
#endif

#ifdef __cplusplus
/*
 * The controls. A factory hands the host an object whose virtual table is the interface
 * below, slot for slot; every slot uses the compiler's member-function convention
 * (__thiscall on 32-bit MSVC and MinGW). Hosts never delete a control: they call Destroy
 * (slot 5), which destroys its window and frees it.
 *
 * The last slot of each interface stands where an MSVC virtual destructor would: it
 * destroys the object and, with bit 0 of flags set, frees its memory; it returns the
 * object's address. It is declared as a plain function so that every compiler gives it
 * exactly one slot. Hosts have no need to call it.
 */

/* Slots 0 to 4, the same in every control. */
struct IBaseWindow {
    virtual void NoOp(int value) = 0;                                            /* 0: does nothing */
    virtual int RegisterWndClassEx(const WNDCLASSEXA* windowClass) = 0;          /* 1: RegisterClassExA, 1 or 0 */
    virtual int RegisterWndClass(HINSTANCE instance, UINT style, HICON icon,     /* 2: the same from its fields */
                                 HCURSOR cursor, HBRUSH background, LPCSTR menuName,
                                 LPCSTR className, HICON smallIcon) = 0;
    virtual int CreateWnd(HINSTANCE instance, HWND parent, LPCSTR className,     /* 3: a window bound to the */
                          LPCSTR windowName, DWORD style, int x, int y,          /*    object, 1 or 0 */
                          int cx, int cy) = 0;
    virtual LRESULT WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) = 0;  /* 4 */

protected:
    ~IBaseWindow() {}
};

/* A three-frame picture button (frames: VELTRA_FRAME_*). */
struct IColorButtom : IBaseWindow {
    virtual void Destroy() = 0;                         /* 5: destroys the window and frees the object */
    virtual void SetHoverCursor(HCURSOR cursor) = 0;    /* 6: shown over the button; never destroyed */
    virtual BOOL MoveTo(int x, int y) = 0;              /* 7: in the parent's client coordinates */
    virtual void SetState(int frame) = 0;               /* 8: the frame to rest in; 0 to 2, others ignored */
    virtual int GetState() = 0;                         /* 9: the frame shown now */
    virtual void SetDot(BOOL show) = 0;                 /* 10: a red dot under the picture, from the next paint */
    virtual int SetAutoRepeat(BOOL on) = 0;             /* 11: VELTRA_BUTTON_REPEAT after a delay, then at
                                                               intervals; non-zero when started */
    virtual void* ScalarDeletingDestructor(unsigned int flags) = 0;  /* 12 */

protected:
    ~IColorButtom() {}
};

/* A text label (option bits: VELTRA_LABEL_*). A label from the factory is transparent,
 * with white text in the default GUI font at 10 points, centred, and shows the window's
 * own text (empty) until SetText. It repaints itself from an off-screen copy; a left
 * press sends WM_NOTIFY VELTRA_LABEL_CLICKED to its parent. Transparent, it shows what
 * its parent showed under it at its first paint: a host whose window clips its children
 * paints its face (UpdateWindow) before it makes its labels. */
struct ILableControl : IBaseWindow {
    virtual void Destroy() = 0;                           /* 5: destroys the window and frees the object */
    virtual BOOL RefreshBackground() = 0;                 /* 6: copies the parent's pixels afresh at the
                                                                 next paint */
    virtual BOOL SetBackColor(COLORREF color) = 0;        /* 7: the background when not transparent */
    virtual BOOL SetForeColor(COLORREF color) = 0;        /* 8: the text's colour; repaints at once */
    virtual BOOL SetText(const char* text) = 0;           /* 9: copied, at any length; null shows no
                                                                 text. FALSE when no memory for the
                                                                 copy: the label then shows no text */
    virtual const char* GetText() = 0;                    /* 10: the label's copy (taken from the window
                                                                  text the first time), or null; valid until
                                                                  the next SetText */
    virtual BOOL SetFont(const char* faceName, int pointSize) = 0;  /* 11: null keeps the face (31 characters
                                                                         at most are used), 0 or less the
                                                                         size */
    virtual BOOL SetTextAngle(int degrees, BOOL rotated) = 0;  /* 12: the font's angle; rotated draws the
                                                                      line from the label's centre */
    virtual void SetFlags(DWORD value, DWORD mask) = 0;   /* 13: the bits of mask take those of value */
    virtual BOOL SetClickMode(BOOL notifyStyle,           /* 14: SS_NOTIFY on or off, TRUE when the */
                              BOOL silentClick) = 0;      /*     style changed; silentClick: no WM_NOTIFY */
    virtual void SetHoverCursor(HCURSOR cursor) = 0;      /* 15: shown over the label; null: the class's */
    virtual BOOL SetHighlight(BOOL enable, BOOL downRight) = 0;  /* 16: a white copy of the text one pixel
                                                                        down-right, or up-left */
    virtual BOOL Attach(HWND window) = 0;                 /* 17: serve an existing window instead of the
                                                                  label's own; its procedure gets what the
                                                                  label leaves. Non-zero when taken over */
    virtual BOOL Create(const RECT* rect, int id,         /* 18: a new window in the parent's client */
                        HWND parent) = 0;                 /*     coordinates; id goes with WM_NOTIFY */
    virtual void* ScalarDeletingDestructor(unsigned int flags) = 0;  /* 19 */

protected:
    ~ILableControl() {}
};

/*
 * A slider (type 0: the seek bar with a start and an end marker, which the user places by
 * clicking the track; 1: a short horizontal slider; 10: a short vertical one). It keeps
 * positions, not values: values come from positions through the range.
 *
 * Reading: while minimum <= maximum (as ints, up to INT_MIN..INT_MAX), GetValue stays in
 * the range, whatever was set or dragged. Setting: SetValue and the marker
 * setters compare values as unsigned 32-bit numbers, so they place an item as a host
 * expects only in a range that does not cross zero, 0 <= minimum <= maximum or
 * minimum <= maximum < 0; there a value below the range goes to the minimum end and one
 * above to the maximum end. In a range that crosses zero a negative value counts as a
 * large one: on -10..10, SetValue(-10) puts the thumb at the maximum end. A reversed
 * range wraps round the unsigned numbers.
 */
struct ISlipControl : IBaseWindow {
    virtual void Destroy() = 0;                          /* 5: destroys the window and frees the object */
    virtual void SetRange(int minimum, int maximum) = 0; /* 6: moves nothing; values change with it */
    virtual void SetValue(UINT value) = 0;               /* 7: places the thumb */
    virtual int GetValue() = 0;                          /* 8 */
    virtual void ShowValue(BOOL show) = 0;               /* 9: the value on the thumb; allows the edit box */
    virtual void SetValueColor(COLORREF color) = 0;      /* 10: default blue */
    virtual void ClearMarkers(UINT flags) = 0;           /* 11: VELTRA_START_MARKER | VELTRA_END_MARKER */
    virtual int GetStartMarker() = 0;                    /* 12: 0 when unset */
    virtual int GetEndMarker() = 0;                      /* 13: 0 when unset */
    virtual void SetStartMarker(UINT value) = 0;         /* 14 */
    virtual void SetEndMarker(UINT value) = 0;           /* 15 */
    virtual void* ScalarDeletingDestructor(unsigned int flags) = 0;  /* 16 */

protected:
    ~ISlipControl() {}
};
#endif

#endif /* VELTRA1024_H */
