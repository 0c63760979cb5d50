// The library as a host sees it: Veltra1024.dll loaded from beside the test program,
// reached only through its exports.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <string>
#include <vector>

#include "include/veltra1024.h"
#include "tests/support/image.h"

// The library beside the test program; the tests also build it over other face art.
constexpr const char* LibraryFile = "Veltra1024.dll";
constexpr const char* DistinctFaceFile = "VeltraDistinctFace.dll";

class Veltra {
public:
    explicit Veltra(const char* file = LibraryFile);
    ~Veltra() { Unload(); }
    Veltra(const Veltra&) = delete;
    Veltra& operator=(const Veltra&) = delete;

    // Detaches the library now (the last reference of this process goes).
    void Unload();

    HMODULE module = nullptr;
    PFN_DrawFace DrawFace = nullptr;
    PFN_GetBgkColorSize GetBgkColorSize = nullptr;
    PFN_GetObjectRect GetObjectRect = nullptr;
    PFN_FactroyColorButtom FactroyColorButtom = nullptr;
    PFN_FactroyLableControl FactroyLableControl = nullptr;
    PFN_FactroySlipControl FactroySlipControl = nullptr;
    PFN_SetAccessibleName SetAccessibleName = nullptr;
    PFN_SetAccessibleOption SetAccessibleOption = nullptr;
    PFN_FitScreen FitScreen = nullptr;
    PFN_FitScreenScaled FitScreenScaled = nullptr;
    PFN_LoadSkin LoadSkin = nullptr;
};

// Full path of a DLL beside the test program.
std::string LibraryPath(const char* file = LibraryFile);

// The screen this process runs on, as the library measured it.
SIZE Screen();

// A screen and the scale the design is drawn at there.
struct ScaledScreen {
    SIZE size;
    int scale;

    // The screen the design is laid out for, as the header gives it: size / scale, rounded up.
    SIZE Layout() const { return SIZE{(size.cx + scale - 1) / scale, (size.cy + scale - 1) / scale}; }
    // The largest scale the header says a screen of size holds.
    static int Largest(SIZE size);
};

// The screens a library loaded on this one is fitted to in turn, and back: this one first
// and last; between them a screen narrower or wider, one smaller than the design, and from
// the design screen the largest, and 4K and 8K screens at scales 2 to 4, one of them with
// sides no multiple of its scale.
std::vector<ScaledScreen> FittedScreens();

// A folder of its own, made current while the object lives, for tests that put files
// where the library looks for them; removed with what it holds.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

private:
    std::string previous_;
    std::string path_;
};

// A full-screen top-level window standing in for the host's main window. It remembers
// what its children told it.
class HostWindow {
public:
    // With face, it paints that library's face and follows a change of display mode.
    explicit HostWindow(const Veltra* face = nullptr, DWORD clip = WS_CLIPCHILDREN, SIZE size = Screen());
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    operator HWND() const { return window_; }

    // Called with each WM_PARENTNOTIFY the window receives.
    static void (*onParentNotify)(WPARAM wParam, LPARAM lParam);

private:
    HWND window_;
};

// Every control, made on a larger and on a smaller screen by a host that then follows this
// one as the header's example does (with and without WS_CLIPCHILDREN), stands where a
// fresh load here puts it (the host's own places staying) and shows on the screen what it
// shows: the ones that do not (pictures over a sibling are not compared). Each library
// takes the largest scale its screen holds; at a scale, the fresh load's places and pictures
// must also relate to a load at a lower scale as the header says.
std::vector<std::string> FittedControlsUnlikeAFreshLoad();

// What every control of every type code shows on the screen, and where, made by a host (that
// clips its children) of the library in file fitted to made at scale, after the host loaded
// skin, when given, and repainted.
std::vector<Image> ControlsShown(const char* file, SIZE made, int scale, const char* skin, std::vector<RECT>& places);

// Dispatches this thread's messages for milliseconds.
void Pump(DWORD milliseconds);

// The window a control object is bound to: the field that follows its virtual table.
inline HWND WindowOf(const void* control)
{
    return *reinterpret_cast<const HWND*>(static_cast<const char*>(control) + sizeof(void*));
}

// A control as a screen reader finds it: the accessible object of its window's client
// area, asked for with AccessibleObjectFromWindow. The text properties read "" for none.
class ScreenReaderView {
public:
    explicit ScreenReaderView(HWND window);
    ~ScreenReaderView() { Let(); }
    ScreenReaderView(const ScreenReaderView&) = delete;
    ScreenReaderView& operator=(const ScreenReaderView&) = delete;

    IAccessible* operator->() const { return object; }
    // Lets go of the object, as a screen reader does in the end.
    void Let();

    std::string Name() const { return Text(&IAccessible::get_accName); }
    std::string Value() const { return Text(&IAccessible::get_accValue); }
    std::string Description() const { return Text(&IAccessible::get_accDescription); }
    std::string DefaultAction() const { return Text(&IAccessible::get_accDefaultAction); }
    LONG Role() const { return Number(&IAccessible::get_accRole); }
    LONG State() const { return Number(&IAccessible::get_accState); }
    RECT Location() const;
    // Sets the value as a screen reader's user types it.
    HRESULT PutValue(const wchar_t* text) const;

    IAccessible* object = nullptr;

private:
    std::string Text(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*)) const;
    LONG Number(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*)) const;
};

// The client area itself, as a child argument.
VARIANT Self();

// The events a screen reader hears from this process while the log lives.
class WinEventLog {
public:
    WinEventLog();
    ~WinEventLog();
    WinEventLog(const WinEventLog&) = delete;
    WinEventLog& operator=(const WinEventLog&) = delete;

    // The events heard so far for window's client area, in order, once pending ones are in.
    std::vector<DWORD> For(HWND window);
    void Clear();

private:
    HWINEVENTHOOK hook_;
};

// What a window shows now, after any pending paint.
Image Capture(HWND window);

// What a window shows now, pending paint or not.
Image Shown(HWND window);

// The part of a window's client area that lies on the screen, in client coordinates.
RECT OnScreen(HWND window);

// One coordinate (or size) of a place as the layout writes it: factor times a term
// of the screen, plus an offset. The terms are those of the layout rule: W and H, the
// screen's width and height; D8 = (W - 1024) / 8 and D10 = (W - 1024) / 10, each a signed
// division truncating toward zero, taken first and then multiplied; and PastDesign, how far
// the screen is wider than the design, 0 when it is not (the widened seek track).
struct ScreenExpr {
    enum Term { None, W, H, D8, D10, PastDesign };
    Term term;
    int factor;
    int offset;

    int At(SIZE screen) const
    {
        const int wider = screen.cx - 1024;
        const int terms[] = {0, screen.cx, screen.cy, wider / 8, wider / 10, wider > 0 ? wider : 0};
        return factor * terms[term] + offset;
    }
};

constexpr ScreenExpr Const(int value) { return {ScreenExpr::None, 0, value}; }
constexpr ScreenExpr WMinus(int value) { return {ScreenExpr::W, 1, -value}; }        // W - value
constexpr ScreenExpr HMinus(int value) { return {ScreenExpr::H, 1, -value}; }        // H - value
constexpr ScreenExpr D8x(int factor, int offset) { return {ScreenExpr::D8, factor, offset}; }    // D8 * factor + offset
constexpr ScreenExpr D10x(int factor, int offset) { return {ScreenExpr::D10, factor, offset}; }  // D10 * factor + offset
constexpr ScreenExpr PlusPastDesign(int value) { return {ScreenExpr::PastDesign, 1, value}; }   // value + PastDesign

// As the layout writes it ("W - 60", "D8 * 2 + 366"), for failure messages.
inline std::string Describe(const ScreenExpr& e)
{
    static const char* const names[] = {"", "W", "H", "D8", "D10", "PastDesign"};
    if (e.term == ScreenExpr::None)
        return std::to_string(e.offset);
    std::string text = names[e.term];
    if (e.factor != 1)
        text += " * " + std::to_string(e.factor);
    if (e.offset)
        text += (e.offset < 0 ? " - " : " + ") + std::to_string(e.offset < 0 ? -e.offset : e.offset);
    return text;
}
