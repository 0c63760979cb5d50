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
 * place the library reports are laid out for that size.
 */
#ifndef VELTRA1024_H
#define VELTRA1024_H

#include <windows.h>

#if defined(VELTRA1024_BUILD)
#define VELTRA1024_API
#else
#define VELTRA1024_API __declspec(dllimport)
#endif

#ifdef __cplusplus
/* The control interfaces are C++ classes whose virtual tables the host calls. */
struct IColorButtom;
struct ILableControl;
struct ISlipControl;
extern "C" {
#else
typedef struct IColorButtom IColorButtom;
typedef struct ILableControl ILableControl;
typedef struct ISlipControl ISlipControl;
#endif

/* The colour of the inner area that GetBgkColorSize reports: RGB(213, 237, 245). */
#define VELTRA_BACKGROUND_COLOR 0x00F5EDD5

/* A colour button's callback: the button's type code, the event code, the event's
 * detail (the mouse key-state flags, or 0) and the host's value given to the factory.
 * Called synchronously from the button's window procedure. */
typedef void(WINAPI* NotifyProc)(int controlId, int code, WPARAM detail, INT_PTR userData);

/* A slip control's callback: the slip's type code, the host's value, the event code. */
typedef void(WINAPI* SlipNotifyProc)(int controlId, INT_PTR userData, int code);

/* Paints the four face bitmaps onto hdc, in the coordinates of the full-screen main
 * window; the inner area is left to the host. Non-zero on success. */
VELTRA1024_API BOOL WINAPI DrawFace(HDC hdc);

/* Writes the area inside the face to *inner and its colour to *background; either
 * pointer may be null, and that value is then not written. Returns inner. */
VELTRA1024_API RECT* WINAPI GetBgkColorSize(RECT* inner, COLORREF* background);

/* Rectangles, colours and bitmaps for the host's own widgets. Returns 1 for a known
 * query code, 0 (with nothing written) for any other. */
VELTRA1024_API int WINAPI GetObjectRect(int code, INT32 out[4]);

/* The control factories. Each stores the new control through out, or null when it
 * cannot make one (an unknown type code among others). */
VELTRA1024_API void WINAPI FactroyColorButtom(struct IColorButtom** out, UINT typeCode, HWND parent,
                                              NotifyProc notify, INT_PTR userData);
VELTRA1024_API void WINAPI FactroyLableControl(struct ILableControl** out, UINT typeCode, HWND parent);
VELTRA1024_API void WINAPI FactroySlipControl(struct ISlipControl** out, UINT typeCode, HWND parent,
                                              SlipNotifyProc notify, INT_PTR userData);

/* For hosts that load the library with LoadLibrary and GetProcAddress. */
typedef BOOL(WINAPI* PFN_DrawFace)(HDC hdc);
typedef RECT*(WINAPI* PFN_GetBgkColorSize)(RECT* inner, COLORREF* background);
typedef int(WINAPI* PFN_GetObjectRect)(int code, INT32 out[4]);
typedef void(WINAPI* PFN_FactroyColorButtom)(struct IColorButtom** out, UINT typeCode, HWND parent,
                                             NotifyProc notify, INT_PTR userData);
typedef void(WINAPI* PFN_FactroyLableControl)(struct ILableControl** out, UINT typeCode, HWND parent);
typedef void(WINAPI* PFN_FactroySlipControl)(struct ISlipControl** out, UINT typeCode, HWND parent,
                                             SlipNotifyProc notify, INT_PTR userData);

#ifdef __cplusplus
}
#endif

#endif /* VELTRA1024_H */
