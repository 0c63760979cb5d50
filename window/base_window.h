// The base of every control: one window bound to one object, whose messages the window
// procedure hands to the object's own WindowProc. The host calls the controls through
// their virtual tables, so the slots below are slots 0 to 4 of every control, in order.
#pragma once

#include <windows.h>

#include <memory>

// A window class of the library's controls.
struct WindowClass {
    const char* name;
    UINT style;
};

// Buttons and labels share one class; slips take double-clicks.
extern const WindowClass ControlClass;
extern const WindowClass SlipClass;

class BaseWindow {
public:
    virtual void NoOp(int value);
    virtual int RegisterWndClassEx(const WNDCLASSEXA* windowClass);
    virtual int RegisterWndClass(HINSTANCE instance, UINT style, HICON icon, HCURSOR cursor, HBRUSH background,
                                 LPCSTR menuName, LPCSTR className, HICON smallIcon);
    virtual int CreateWnd(HINSTANCE instance, HWND parent, LPCSTR className, LPCSTR windowName, DWORD style,
                          int x, int y, int cx, int cy);
    virtual LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) = 0;

    HWND hWnd = nullptr;

protected:
    BaseWindow() = default;
    // Deletion goes through each control's own last slot, never through this class.
    ~BaseWindow();

    // Registers windowClass (the first registration of a name wins; later ones fail
    // harmlessly) and creates the visible child window bound to this object. 1 when the
    // window exists.
    int CreateChild(const WindowClass& windowClass, HWND parent, int x, int y, int cx, int cy);
};

// Takes the library's classes back, so that a library loaded again (perhaps at another
// address) registers them afresh instead of finding a procedure that is gone. A class
// that still has windows stays registered.
void UnregisterControlClasses();

// A copy of the window's text, read now; null when memory runs out.
std::unique_ptr<char[]> WindowText(HWND window);

// The window procedure of every library class.
LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// True when window runs the library's procedure: as its own, or as its class's under one
// that a host put over it.
bool RunsLibraryProcedure(HWND window);

// The library object bound to window, or null when it is not a window of the library's.
BaseWindow* LibraryObject(HWND window);
