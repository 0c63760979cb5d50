// The few Win32 types, constants and functions the MSVC-ABI host uses, declared by hand:
// no Windows SDK exists on this machine. Layouts are those of 32-bit Windows.
#pragma once

#if !defined(_MSC_VER) || !defined(_M_IX86)
#error "win32_min.h serves a 32-bit MSVC-ABI build (clang --target=i686-pc-windows-msvc)"
#endif

#define WINAPI __stdcall
#define CALLBACK __stdcall
#define VELTRA_MIN_IMPORT extern "C" __declspec(dllimport)

typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef unsigned long DWORD;
typedef unsigned int UINT;
typedef int INT32;
typedef long LONG;
typedef int INT_PTR;
typedef unsigned int UINT_PTR;
typedef long LONG_PTR;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;
typedef DWORD COLORREF;
typedef WORD ATOM;
typedef void* LPVOID;
typedef const char* LPCSTR;
typedef char* LPSTR;
typedef void* HANDLE;
typedef char* va_list_w32;  // what wvsprintfA takes: a pointer into the argument block

// Distinct handle types, as <windows.h> makes them with STRICT.
#define VELTRA_MIN_HANDLE(name) \
    struct name##__ {           \
        int unused;             \
    };                          \
    typedef struct name##__* name
VELTRA_MIN_HANDLE(HWND);
VELTRA_MIN_HANDLE(HDC);
VELTRA_MIN_HANDLE(HINSTANCE);
VELTRA_MIN_HANDLE(HICON);
VELTRA_MIN_HANDLE(HBRUSH);
VELTRA_MIN_HANDLE(HBITMAP);
VELTRA_MIN_HANDLE(HMENU);
#undef VELTRA_MIN_HANDLE
typedef HICON HCURSOR;
typedef HINSTANCE HMODULE;
typedef void* HGDIOBJ;
typedef int(WINAPI* FARPROC)();
typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);

#define TRUE 1
#define FALSE 0
#define RGB(r, g, b) ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))
#define MAKELPARAM(l, h) ((LPARAM)(DWORD)(((WORD)(l)) | (((DWORD)(WORD)(h)) << 16)))
#define MAKEINTRESOURCEA(i) ((LPSTR)((UINT_PTR)((WORD)(i))))

struct POINT {
    LONG x, y;
};
struct RECT {
    LONG left, top, right, bottom;
};
struct WNDCLASSEXA {
    UINT cbSize;
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
    HICON hIconSm;
};
struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};
struct PAINTSTRUCT {
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
    BOOL fRestore;
    BOOL fIncUpdate;
    BYTE rgbReserved[32];
};
struct BITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits;
};
struct NMHDR {
    HWND hwndFrom;
    UINT_PTR idFrom;
    UINT code;
};

#define STD_OUTPUT_HANDLE ((DWORD)-11)
#define SM_CXSCREEN 0
#define SM_CYSCREEN 1
#define GWL_WNDPROC (-4)
#define GWL_STYLE (-16)
#define GWL_EXSTYLE (-20)
#define SRCCOPY 0x00CC0020
#define WS_POPUP 0x80000000L
#define WS_CHILD 0x40000000L
#define WS_VISIBLE 0x10000000L
#define WS_CLIPCHILDREN 0x02000000L
#define WS_BORDER 0x00800000L
#define WS_EX_STATICEDGE 0x00020000L
#define SS_NOTIFY 0x00000100L
#define CS_DBLCLKS 0x0008
#define WM_PAINT 0x000F
#define WM_ERASEBKGND 0x0014
#define WM_SETCURSOR 0x0020
#define WM_NOTIFY 0x004E
#define WM_MOUSEMOVE 0x0200
#define WM_LBUTTONDOWN 0x0201
#define WM_LBUTTONUP 0x0202
#define WM_LBUTTONDBLCLK 0x0203
#define WM_RBUTTONUP 0x0205
#define MK_LBUTTON 0x0001
#define MK_SHIFT 0x0004
#define HTCLIENT 1
#define PM_REMOVE 0x0001
#define QS_ALLINPUT 0x04FF
#define OBJ_BITMAP 7
#define IDC_ARROW MAKEINTRESOURCEA(32512)
#define IDC_CROSS MAKEINTRESOURCEA(32515)

// kernel32
VELTRA_MIN_IMPORT HANDLE WINAPI GetStdHandle(DWORD which);
VELTRA_MIN_IMPORT BOOL WINAPI WriteFile(HANDLE file, const void* data, DWORD size, DWORD* written, void* overlapped);
VELTRA_MIN_IMPORT __declspec(noreturn) void WINAPI ExitProcess(UINT code);
VELTRA_MIN_IMPORT HMODULE WINAPI GetModuleHandleA(LPCSTR name);
VELTRA_MIN_IMPORT HMODULE WINAPI LoadLibraryA(LPCSTR name);
VELTRA_MIN_IMPORT BOOL WINAPI FreeLibrary(HMODULE module);
VELTRA_MIN_IMPORT FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR name);
VELTRA_MIN_IMPORT DWORD WINAPI GetTickCount(void);
VELTRA_MIN_IMPORT int WINAPI lstrlenA(LPCSTR text);
VELTRA_MIN_IMPORT int WINAPI lstrcmpA(LPCSTR a, LPCSTR b);

// user32
VELTRA_MIN_IMPORT int WINAPI wvsprintfA(LPSTR out, LPCSTR format, va_list_w32 args);
VELTRA_MIN_IMPORT ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* windowClass);
VELTRA_MIN_IMPORT BOOL WINAPI UnregisterClassA(LPCSTR name, HINSTANCE instance);
VELTRA_MIN_IMPORT HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                                       int y, int cx, int cy, HWND parent, HMENU menu, HINSTANCE instance,
                                       LPVOID param);
VELTRA_MIN_IMPORT BOOL WINAPI DestroyWindow(HWND window);
VELTRA_MIN_IMPORT BOOL WINAPI IsWindow(HWND window);
VELTRA_MIN_IMPORT HWND WINAPI GetParent(HWND window);
VELTRA_MIN_IMPORT HWND WINAPI FindWindowExA(HWND parent, HWND after, LPCSTR className, LPCSTR windowName);
VELTRA_MIN_IMPORT BOOL WINAPI UpdateWindow(HWND window);
VELTRA_MIN_IMPORT BOOL WINAPI InvalidateRect(HWND window, const RECT* rect, BOOL erase);
VELTRA_MIN_IMPORT BOOL WINAPI GetWindowRect(HWND window, RECT* rect);
VELTRA_MIN_IMPORT BOOL WINAPI GetClientRect(HWND window, RECT* rect);
VELTRA_MIN_IMPORT LONG WINAPI GetWindowLongA(HWND window, int index);
VELTRA_MIN_IMPORT int WINAPI GetSystemMetrics(int index);
VELTRA_MIN_IMPORT UINT WINAPI GetDoubleClickTime(void);
VELTRA_MIN_IMPORT LRESULT WINAPI SendMessageA(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
VELTRA_MIN_IMPORT LRESULT WINAPI DefWindowProcA(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
VELTRA_MIN_IMPORT BOOL WINAPI PeekMessageA(MSG* msg, HWND window, UINT first, UINT last, UINT remove);
VELTRA_MIN_IMPORT BOOL WINAPI TranslateMessage(const MSG* msg);
VELTRA_MIN_IMPORT LRESULT WINAPI DispatchMessageA(const MSG* msg);
VELTRA_MIN_IMPORT DWORD WINAPI MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL all, DWORD ms, DWORD mask);
VELTRA_MIN_IMPORT HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name);
VELTRA_MIN_IMPORT HCURSOR WINAPI GetCursor(void);
VELTRA_MIN_IMPORT HDC WINAPI GetDC(HWND window);
VELTRA_MIN_IMPORT int WINAPI ReleaseDC(HWND window, HDC dc);
VELTRA_MIN_IMPORT HDC WINAPI BeginPaint(HWND window, PAINTSTRUCT* paint);
VELTRA_MIN_IMPORT BOOL WINAPI EndPaint(HWND window, const PAINTSTRUCT* paint);
VELTRA_MIN_IMPORT int WINAPI FillRect(HDC dc, const RECT* rect, HBRUSH brush);

// gdi32
VELTRA_MIN_IMPORT HDC WINAPI CreateCompatibleDC(HDC dc);
VELTRA_MIN_IMPORT HBITMAP WINAPI CreateCompatibleBitmap(HDC dc, int cx, int cy);
VELTRA_MIN_IMPORT HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ object);
VELTRA_MIN_IMPORT BOOL WINAPI DeleteObject(HGDIOBJ object);
VELTRA_MIN_IMPORT BOOL WINAPI DeleteDC(HDC dc);
VELTRA_MIN_IMPORT COLORREF WINAPI GetPixel(HDC dc, int x, int y);
VELTRA_MIN_IMPORT COLORREF WINAPI SetPixel(HDC dc, int x, int y, COLORREF colour);
VELTRA_MIN_IMPORT int WINAPI GetObjectA(HGDIOBJ object, int size, LPVOID out);
VELTRA_MIN_IMPORT DWORD WINAPI GetObjectType(HGDIOBJ object);
VELTRA_MIN_IMPORT HBRUSH WINAPI CreateSolidBrush(COLORREF colour);
VELTRA_MIN_IMPORT BOOL WINAPI BitBlt(HDC target, int x, int y, int cx, int cy, HDC source, int sourceX, int sourceY,
                                    DWORD rop);
