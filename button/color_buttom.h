// A three-frame picture button: normal, hover and pressed frames side by side in one
// bitmap strip; it reports presses, releases, right presses and auto-repeat ticks.
#pragma once

#include <windows.h>

#include "common/gdi.h"
#include "common/scale.h"
#include "include/veltra1024.h"
#include "window/accessible.h"
#include "window/base_window.h"
#include "window/fitted.h"
#include "window/lifeline.h"

// Where a button of typeCode stands on a display, in its parent's client area.
POINT ButtonPlace(UINT typeCode, const Display& display);

class ColorButtom final : public BaseWindow {
public:
    ColorButtom();

    // Loads the strip, registers the class and creates the window, one frame in size.
    // typeName: what the button is called when no one has named it; it outlives the button.
    int Create(int x, int y, int controlId, UINT bitmapId, HWND parent, NotifyProc notify, INT_PTR userData,
               int frameCount, const char* typeName);

    LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;

    // Slots 5 to 12, in the host interface's order.
    virtual void Destroy();
    virtual void SetHoverCursor(HCURSOR cursor);
    virtual BOOL MoveTo(int x, int y);
    virtual void SetState(int frameIndex);
    virtual int GetState();
    virtual void SetDot(BOOL show);
    virtual int SetAutoRepeat(BOOL on);
    virtual void* ScalarDeletingDestructor(unsigned int flags);

private:
    // A push button to assistive technology, or a toggle or a tab when the host says so,
    // which is checked or selected while it rests in the pressed frame.
    class Access final : public Accessible {
    public:
        explicit Access(ColorButtom& button) : Accessible(button), button_(button) {}
        LONG Role(LONG) const override;
        AccessibleText Name(LONG) override { return NameOr(button_.typeName); }
        DWORD State(LONG) const override;
        const wchar_t* DefaultAction(LONG) const override;
        void DoDefaultAction(LONG) override;
        bool SetOption(int option, int value) override;

    private:
        bool Latched() const { return button_.restFrame == VELTRA_FRAME_PRESSED; }

        ColorButtom& button_;
        int kind_ = VELTRA_BUTTON_KIND_PUSH;
    };

    // Follows the screen: a button the library placed moves to its place for the new size;
    // at another scale every button takes its strip drawn for it.
    class Fit final : public Fitted {
    public:
        explicit Fit(ColorButtom& button) : Fitted(button), button_(button) {}
        bool Prepare(const Display& display) override;
        void Abandon() override { strip_.Reset(); }
        void Commit() override;

    private:
        ColorButtom& button_;
        GdiObject<HBITMAP> strip_;  // the strip for the new scale, when it changes
    };

    ~ColorButtom();

    void Paint();
    void PaintDot(HDC dc, HPEN pen, HBRUSH brush);
    void TakeStrip(HBITMAP strip);
    void OnMouseMove();
    void OnLeftDown(WPARAM keys);
    void OnLeftUp(WPARAM keys);
    void OnCaptureChanged();
    void OnMouseLeave();
    void OnTimer(UINT_PTR timerId);
    void ShowFrame(int shown);
    void BackToRest();
    void StopTimers();
    void Invalidate();
    bool Notify(int code, WPARAM detail);

    int controlId = 0;
    NotifyProc notify = nullptr;
    HBITMAP bitmap = nullptr;
    int frameWidth = 0;
    int frameHeight = 0;
    int frame = VELTRA_FRAME_NORMAL;
    int restFrame = VELTRA_FRAME_NORMAL;
    BOOL tracking = FALSE;
    HCURSOR hoverCursor;
    INT_PTR userData = 0;
    BOOL showDot = FALSE;
    Lifeline lifeline;  // after the documented fields
    const char* typeName = nullptr;
    WORD bitmapId = 0;
    Access accessible{*this};
    Fit fit{*this};
};
