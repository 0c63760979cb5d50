// The slider: a track with a thumb dragged along one axis, turned into a value within the
// host's range; the seek slider also carries a start and an end marker. On request it
// shows its value on the thumb and lets the user type one into a small edit box.
#pragma once

#include <windows.h>

#include "common/blit.h"
#include "common/gdi.h"
#include "common/scale.h"
#include "include/veltra1024.h"
#include "window/accessible.h"
#include "window/base_window.h"
#include "window/fitted.h"
#include "window/lifeline.h"

// What a slip draws, made for one display.
struct SlipPictures {
    GdiObject<HBITMAP> track, thumb, startMarker, endMarker;  // no markers on most slips
    GdiObject<HFONT> valueFont;  // the value's and the edit box's; null at scale 1: the system's

    void Reset();
};

// Where a slip of typeCode stands on a display, in its parent's client area.
POINT SlipPlace(UINT typeCode, const Display& display);
// Makes everything a slip of typeCode draws on display; false, with nothing made, when any
// of it cannot be made.
bool MakeSlipPictures(UINT typeCode, const Display& display, SlipPictures& made);
// The track alone; null when it cannot be made.
HBITMAP SlipTrack(UINT typeCode, const Display& display);
// Whether that track grows with the screen's width.
bool SlipTrackWidens(UINT typeCode);
// The band the seek track repeats to grow.
RepeatedBand SeekTrackBand();

class SlipControl final : public BaseWindow {
public:
    SlipControl() = default;

    // Takes the pictures, drawn at scale, registers the class and creates the window, the
    // track's size. markerOffset: the markers' distance from the track's edge at scale 1.
    // typeName: what the slip is called when no one has named it; it outlives the slip.
    int Create(BOOL horizontal, SlipPictures& pictures, int scale, int markerOffset, int x, int y, HWND parent,
               int controlId, SlipNotifyProc notify, INT_PTR userData, const char* typeName);

    LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;

    // Slots 5 to 16, in the host interface's order.
    virtual void Destroy();
    virtual void SetRange(int minimum, int maximum);
    virtual void SetValue(UINT value);
    virtual int GetValue();
    virtual void ShowValue(BOOL show);
    virtual void SetValueColor(COLORREF color);
    virtual void ClearMarkers(UINT flags);
    virtual int GetStartMarker();
    virtual int GetEndMarker();
    virtual void SetStartMarker(UINT value);
    virtual void SetEndMarker(UINT value);
    virtual void* ScalarDeletingDestructor(unsigned int flags);

private:
    // What a left-button drag moves; also names the three items.
    enum DragMode { DragNone, DragThumb, DragStartMarker, DragEndMarker };

    // An unset marker's position: far off the track, so that its band invalidates nothing.
    static constexpr double MarkerUnset = -327680.0;

    // A slider to assistive technology, whose value may be set as if typed, with the parts
    // of the system's trackbar: a page part either side of the thumb, which steps the value
    // when pressed, and the thumb as an indicator; and the edit box while it is open.
    class Access final : public Accessible {
    public:
        enum Part : LONG { PartBack = 1, PartThumb, PartForward, PartEditBox };

        explicit Access(SlipControl& slip) : Accessible(slip), slip_(slip) {}
        LONG Parts() const override { return slip_.editWnd ? PartEditBox : PartForward; }
        LONG Role(LONG child) const override;
        AccessibleText Name(LONG child) override;
        AccessibleText Value(LONG child) override;
        AccessibleText Description(LONG child) override;
        DWORD State(LONG child) const override;
        RECT PartRect(LONG child) override;
        HWND PartWindow(LONG child) const override { return child == PartEditBox ? slip_.editWnd : nullptr; }
        const wchar_t* DefaultAction(LONG child) const override;
        void DoDefaultAction(LONG child) override;
        bool TakesValue() const override { return true; }
        void EnterValue(UINT value) override { slip_.EnterValue(value, slip_.editWnd); }
        bool SetOption(int option, int value) override;

    private:
        SlipControl& slip_;
        UINT page_ = 0;  // 0: a tenth of the range
    };

    // Follows the screen: a slip the library placed moves to its place for the new size, a
    // track that grows with the screen is made again for it, and at another scale every
    // picture is, the values staying.
    class Fit final : public Fitted {
    public:
        explicit Fit(SlipControl& slip) : Fitted(slip), slip_(slip) {}
        bool Prepare(const Display& display) override;
        void Abandon() override { pictures_.Reset(); }
        void Commit() override;

    private:
        SlipControl& slip_;
        SlipPictures pictures_;  // what changes for the new display
        int scale_ = 0;          // the scale they are drawn at
    };

    ~SlipControl();

    double& Position(int item);
    SIZE Size(int item) const;
    HBITMAP Picture(int item) const;
    UINT Travel(int item) const;
    int Pixel(double position) const;
    RECT ItemRect(int item);
    RECT Band(int item, double position) const;
    RECT EditBoxRect();
    int ValueAt(double position, UINT travel) const;
    double PositionFor(UINT value, UINT travel) const;
    void Place(int item, UINT value);
    void InvalidateRects(const RECT* rects, int count);
    int Along(LPARAM lParam) const;
    bool HasMarkers() const { return startMarkerBitmap && endMarkerBitmap; }

    void Paint(HDC dc);
    void PaintValue(HDC dc);
    void OnMouseMove(LPARAM lParam);
    void OnLeftDown(LPARAM lParam);
    void OnLeftUp(LPARAM lParam);
    void OnDoubleClick();
    void OnCommand(WPARAM wParam, LPARAM lParam);
    void OnEditChange(HWND box);
    void EnterValue(UINT value, HWND box);
    void StepBy(long long offset);
    void SetPictures(SlipPictures& made, int scale);
    void TakePictures(SlipPictures& made, int scale);
    double Rescaled(double position, UINT from, UINT to) const;
    void Moved(int item, double from);
    void CloseEditBox();
    void PlaceMarker(int u);
    bool Notify(int code);

    UINT minimum = 0;
    UINT span = 1;
    double thumbPos = 0.0;
    HBITMAP trackBitmap = nullptr;
    HBITMAP thumbBitmap = nullptr;
    SlipNotifyProc notify = nullptr;
    BOOL horizontal = TRUE;
    HBITMAP startMarkerBitmap = nullptr;
    HBITMAP endMarkerBitmap = nullptr;
    int markerOffset = 0;
    double startMarkerPos = MarkerUnset;
    double endMarkerPos = MarkerUnset;
    UINT startMarkerWidth = 0, startMarkerHeight = 0;
    UINT endMarkerWidth = 0, endMarkerHeight = 0;
    UINT trackWidth = 0, trackHeight = 0;
    UINT thumbWidth = 0, thumbHeight = 0;
    INT_PTR userData = 0;
    int controlId = 0;
    int dragMode = DragNone;
    int lastCoord = 0;
    int moveCount = 0;
    int pressCoord = 0;
    BOOL showValue = FALSE;
    COLORREF valueColor = 0;
    HWND editWnd = nullptr;
    HWND lastEditWnd = nullptr;
    Lifeline lifeline;  // after the documented fields
    const char* typeName = nullptr;
    int scale = 1;  // the pictures' and every length's; markerOffset is at scale 1
    bool hostValueColour = false;  // else the library's, and a skin's
    GdiObject<HFONT> valueFont;
    Access accessible{*this};
    Fit fit{*this};
};

// Adds rect to region, making the region when there is none yet.
void AddRectToRegion(HRGN& region, const RECT& rect);

// Copies a picture of width x height, leaving the destination as it is wherever the picture
// has the key colour. Its mask is made first, so that a paint refused it draws nothing.
class KeyedCopy {
public:
    KeyedCopy(HDC dest, int width, int height);
    KeyedCopy(const KeyedCopy&) = delete;
    KeyedCopy& operator=(const KeyedCopy&) = delete;

    bool Ready() const { return maskDC_ && mask_; }
    void Draw(HDC dest, int x, int y, HDC src, int srcX, int srcY, COLORREF key);

private:
    int width_, height_;
    GdiObject<HBITMAP> mask_;
    MemoryDC maskDC_;
    Selection maskSelection_;
};
