#include "window/base_window.h"

#include <initializer_list>
#include <new>

#include "common/library.h"

const WindowClass ControlClass = {"QUOVEN_BASEWINDOW", CS_HREDRAW | CS_VREDRAW};
const WindowClass SlipClass = {"QUOVEN_BASEWINDOW1", CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS};

namespace {

// Child, visible, and 3 in the class-specific bits, which labels read as their alignment.
constexpr DWORD ControlStyle = WS_CHILD | WS_VISIBLE | 0x0003;

BaseWindow* BoundObject(HWND hwnd)
{
    return reinterpret_cast<BaseWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

}  // namespace

void BaseWindow::NoOp(int) {}

int BaseWindow::RegisterWndClassEx(const WNDCLASSEXA* windowClass)
{
    return RegisterClassExA(windowClass) != 0;
}

int BaseWindow::RegisterWndClass(HINSTANCE instance, UINT style, HICON icon, HCURSOR cursor, HBRUSH background,
                                 LPCSTR menuName, LPCSTR className, HICON smallIcon)
{
    const WNDCLASSEXA windowClass = {sizeof windowClass, style, StaticWndProc, 0, 0, instance, icon,
                                     cursor, background, menuName, className, smallIcon};
    return RegisterWndClassEx(&windowClass);
}

int BaseWindow::CreateWnd(HINSTANCE instance, HWND parent, LPCSTR className, LPCSTR windowName, DWORD style,
                          int x, int y, int cx, int cy)
{
    hWnd = CreateWindowExA(0, className, windowName, style, x, y, cx, cy, parent, nullptr, instance, this);
    return hWnd != nullptr;
}

int BaseWindow::CreateChild(const WindowClass& windowClass, HWND parent, int x, int y, int cx, int cy)
{
    RegisterWndClass(Library.ModuleHandle, windowClass.style, nullptr, LoadCursorA(nullptr, IDC_ARROW), nullptr,
                     nullptr, windowClass.name, nullptr);
    hWnd = CreateWindowExA(0, windowClass.name, "", ControlStyle, x, y, cx, cy, parent, nullptr,
                           Library.ModuleHandle, this);
    return hWnd != nullptr;
}

BaseWindow::~BaseWindow()
{
    // An object deleted while its window lives must not leave the window pointing at
    // freed memory: the window falls back to the default procedure.
    if (hWnd && IsWindow(hWnd) && BoundObject(hWnd) == this)
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, 0);
}

std::unique_ptr<char[]> WindowText(HWND window)
{
    const int length = GetWindowTextLengthA(window);
    std::unique_ptr<char[]> text(new (std::nothrow) char[length + 1]);
    if (text)
        GetWindowTextA(window, text.get(), length + 1);
    return text;
}

bool RunsLibraryProcedure(HWND window)
{
    const auto library = reinterpret_cast<ULONG_PTR>(StaticWndProc);
    return static_cast<ULONG_PTR>(GetWindowLongPtrA(window, GWLP_WNDPROC)) == library ||
           GetClassLongPtrA(window, GCLP_WNDPROC) == library;
}

BaseWindow* LibraryObject(HWND window)
{
    return IsWindow(window) && RunsLibraryProcedure(window) ? BoundObject(window) : nullptr;
}

void UnregisterControlClasses()
{
    for (const WindowClass* windowClass : {&ControlClass, &SlipClass})
        UnregisterClassA(windowClass->name, Library.ModuleHandle);
}

LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCREATE) {
        auto* object = static_cast<BaseWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        if (object) {
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
            object->hWnd = hwnd;
        }
    }
    if (BaseWindow* object = BoundObject(hwnd))
        return object->WindowProc(hwnd, msg, wParam, lParam);
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}
