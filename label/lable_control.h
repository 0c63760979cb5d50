// A self-drawn text label: one text in a colour and font over a solid background or a
// copy of the parent's pixels under it, so that it looks transparent. It may blink,
// turn its text about its centre, double it with a white highlight, and report a left
// press to its parent with WM_NOTIFY.
#pragma once

#include <windows.h>

#include <memory>

#include "common/gdi.h"
#include "include/veltra1024.h"
#include "window/accessible.h"
#include "window/base_window.h"
#include "window/fitted.h"
#include "window/lifeline.h"

// The option bits of LableControl::flags.
enum LabelFlag : DWORD {
    FlagBold = VELTRA_LABEL_BOLD,
    FlagUnderline = VELTRA_LABEL_UNDERLINE,
    FlagItalic = VELTRA_LABEL_ITALIC,
    FlagStaticEdge = VELTRA_LABEL_STATIC_EDGE,
    FlagBorder = VELTRA_LABEL_BORDER,
    FlagTransparent = VELTRA_LABEL_TRANSPARENT,
    FlagBlinkText = VELTRA_LABEL_BLINK_TEXT,
    FlagBlinkBack = VELTRA_LABEL_BLINK_BACK,
    FlagRotated = VELTRA_LABEL_ROTATED,
    FlagNotifyStyle = VELTRA_LABEL_NOTIFY_STYLE,
    FlagSilentClick = VELTRA_LABEL_SILENT_CLICK,
    FlagHighlight = VELTRA_LABEL_HIGHLIGHT,
    FlagBlinkPhase = VELTRA_LABEL_BLINK_PHASE,
};

// labelText's value for "read the window's own text at every paint".
inline char* const UseWindowText = reinterpret_cast<char*>(~static_cast<UINT_PTR>(0));

// Edits a window long: (old AND NOT remove) OR add. Writes only a change, then applies it
// with SetWindowPos when swpFlags is non-zero. TRUE when the value changed.
BOOL ModifyWindowLong(HWND window, int index, DWORD remove, DWORD add, UINT swpFlags);

// Where a label of typeCode stands on a display, in its parent's client area.
RECT LabelRect(UINT typeCode, const Display& display);

class LableControl final : public BaseWindow {
public:
    LableControl();
    // The factory made the window where a label of its type goes: it follows the screen.
    void PlacedByLibrary() { fit.Placed(); }
    // The text takes the library's colour, and a skin's, until the host sets one.
    void UseSkinTextColour();

    LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;

    // Slots 5 to 19, in the host interface's order.
    virtual void Destroy();
    virtual BOOL RefreshBackground();
    virtual BOOL SetBackColor(COLORREF color);
    virtual BOOL SetForeColor(COLORREF color);
    virtual BOOL SetText(const char* text);
    virtual const char* GetText();
    virtual BOOL SetFont(const char* faceName, int pointSize);
    virtual BOOL SetTextAngle(int degrees, BOOL rotated);
    virtual void SetFlags(DWORD value, DWORD mask);
    virtual BOOL SetClickMode(BOOL notifyStyle, BOOL silentClick);
    virtual void SetHoverCursor(HCURSOR cursor);
    virtual BOOL SetHighlight(BOOL enable, BOOL downRight);
    virtual BOOL Attach(HWND window);
    virtual BOOL Create(const RECT* rect, int id, HWND parent);
    virtual void* ScalarDeletingDestructor(unsigned int flags);

private:
    // Static text to assistive technology, named by what it shows.
    class Access final : public Accessible {
    public:
        explicit Access(LableControl& label) : Accessible(label), label_(label) {}
        LONG Role(LONG) const override { return ROLE_SYSTEM_STATICTEXT; }
        AccessibleText Name(LONG) override;
        AccessibleText Value(LONG) override;
        DWORD State(LONG) const override { return STATE_SYSTEM_READONLY; }
        const wchar_t* DefaultAction(LONG) const override;
        void DoDefaultAction(LONG) override { label_.OnLeftDown(); }

    private:
        AccessibleText Shown();

        LableControl& label_;
    };

    // Follows the screen: a label the library placed moves and sizes to its place for the
    // new size; every label takes its snapshot of the face under it again, once the parent
    // has painted the new face there. At another scale its font is made again for it.
    class Fit final : public Fitted {
    public:
        explicit Fit(LableControl& label) : Fitted(label), label_(label) {}
        bool Prepare(const Display& display) override;
        void Abandon() override { font_.Reset(); }
        void Commit() override;
        // Shows window again when the fit hid it.
        void ShowAgain(HWND window);

    private:
        void HostFollowed() override;

        LableControl& label_;
        bool hidden_ = false;  // until the parent has painted the new face under it
        GdiObject<HFONT> font_;  // the font for the new scale, when it changes
    };

    ~LableControl();

    void Paint(HDC dc);
    bool PaintBackground(HDC target, HDC buffer, const RECT& client);
    void PaintText(HDC buffer, RECT client, const char* text);
    void OnPaint(HWND hwnd);
    void OnSysColorChange();
    bool OnSetCursor();
    void OnTimer(UINT_PTR timerId);
    bool OnLeftDown();
    void ReleaseWindow(HWND window, WNDPROC previous);
    bool OwnsText() const { return labelText && labelText != UseWindowText; }
    void RemakeFont();
    BOOL Invalidate();
    BOOL Redraw();
    void UpdateBlinkTimer();

    // In this order after hWnd: the layout that the label's documentation gives. fontDesc
    // describes the font at scale 1; font is made from it at the scale in force.
    COLORREF textColor;
    char* labelText = UseWindowText;
    GdiObject<HBRUSH> faceBrush;
    GdiObject<HBRUSH> backBrush;
    LOGFONTA fontDesc;
    GdiObject<HFONT> font;
    HCURSOR hoverCursor = nullptr;
    int highlightDownRight = 0;
    DWORD flags = FlagNotifyStyle;
    GdiObject<HBITMAP> backSnapshot;
    int controlId = 0;
    WNDPROC prevWndProc = nullptr;
    Lifeline lifeline;  // after the documented fields
    bool skinTextColour = false;
    Access accessible{*this};
    Fit fit{*this};
};
