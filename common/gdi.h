// Owners for the GDI objects made for one paint or one operation, so that every path
// out of a function gives them back.
#pragma once

#include <windows.h>

// CreateCompatibleDC ... DeleteDC.
class MemoryDC {
public:
    explicit MemoryDC(HDC compatible) : dc_(CreateCompatibleDC(compatible)) {}
    ~MemoryDC() { Delete(); }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;

    operator HDC() const { return dc_; }

    // Deletes the DC now, for callers that report whether that worked.
    BOOL Delete()
    {
        const BOOL deleted = dc_ ? DeleteDC(dc_) : FALSE;
        dc_ = nullptr;
        return deleted;
    }

private:
    HDC dc_;
};

// GetDC(window) ... ReleaseDC; a null window gives the screen.
class WindowDC {
public:
    explicit WindowDC(HWND window = nullptr) : window_(window), dc_(GetDC(window)) {}
    ~WindowDC() { if (dc_) ReleaseDC(window_, dc_); }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;

    operator HDC() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// SelectObject ... SelectObject(old). Declare it after the DC's own guard, so that the
// selection is undone before the DC goes.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), old_(object ? SelectObject(dc, object) : nullptr) {}
    ~Selection() { if (old_) SelectObject(dc_, old_); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// Sole owner of a pen, brush, bitmap, font or region: DeleteObject at the end. A control
// keeps its long-lived objects in these, so that it releases them in one place.
template <typename Handle>
class GdiObject {
public:
    explicit GdiObject(Handle handle = nullptr) : handle_(handle) {}
    ~GdiObject() { if (handle_) DeleteObject(handle_); }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    operator Handle() const { return handle_; }

    // Deletes the object held, if any, and holds handle instead.
    void Reset(Handle handle = nullptr)
    {
        if (handle_)
            DeleteObject(handle_);
        handle_ = handle;
    }

    // Hands the object to a new owner, which deletes it from then on.
    Handle Release()
    {
        Handle handle = handle_;
        handle_ = nullptr;
        return handle;
    }

private:
    Handle handle_;
};

// Width and height of a bitmap; zero for a null or invalid handle.
inline SIZE BitmapSize(HBITMAP bitmap)
{
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    return SIZE{info.bmWidth, info.bmHeight};
}

// BeginPaint ... EndPaint; a refused paint has nothing to end.
class PaintDC {
public:
    explicit PaintDC(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintDC()
    {
        if (dc_)
            EndPaint(window_, &paint_);
    }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;

    operator HDC() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_ = {};
    HDC dc_;
};
