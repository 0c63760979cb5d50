// A host built as an MSVC program is (clang --target=i686-pc-windows-msvc, lld-link, no C
// runtime) and linked to Veltra1024.dll through an MSVC-style import library. It calls
// every export and every virtual slot of the control interfaces through the public
// header, and checks what comes back. Each call is also checked to leave the stack as
// the caller's convention expects (stdcall exports, __thiscall slots).
#define VELTRA1024_NO_WINDOWS_H
#include "win32_min.h"
#include "veltra1024.h"

// Without a C runtime the compiler's block clears and copies land here.
extern "C" void* memset(void* target, int value, __SIZE_TYPE__ size)
{
    volatile unsigned char* out = static_cast<unsigned char*>(target);
    while (size--)
        *out++ = static_cast<unsigned char>(value);
    return target;
}

extern "C" void* memcpy(void* target, const void* source, __SIZE_TYPE__ size)
{
    volatile unsigned char* out = static_cast<unsigned char*>(target);
    const unsigned char* in = static_cast<const unsigned char*>(source);
    while (size--)
        *out++ = *in++;
    return target;
}

namespace {

// ---------------------------------------------------------------------------------------
// Output and checks

void Write(const char* text)
{
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text, static_cast<DWORD>(lstrlenA(text)), &written, nullptr);
}

void Print(const char* format, ...)
{
    char line[1100];  // wvsprintfA writes 1024 characters at most
    __builtin_va_list args;
    __builtin_va_start(args, format);
    wvsprintfA(line, format, args);
    __builtin_va_end(args);
    Write(line);
}

int passed = 0, failed = 0;
const char* section = nullptr;
int sectionFailedBefore = 0, sectionPassedBefore = 0;

void EndSection()
{
    if (section)
        Print("   %d checks, %d failed\n", passed + failed - sectionPassedBefore - sectionFailedBefore,
              failed - sectionFailedBefore);
}

void Section(const char* name)
{
    EndSection();
    section = name;
    sectionPassedBefore = passed;
    sectionFailedBefore = failed;
    Print("[%s]\n", name);
}

void Check(bool ok, int line, const char* what)
{
    if (ok) {
        ++passed;
        return;
    }
    ++failed;
    Print("msvc_host.cpp(%d): CHECK(%s) failed\n", line, what);
}

void CheckEqual(long actual, long expected, int line, const char* actualText, const char* expectedText)
{
    if (actual == expected) {
        ++passed;
        return;
    }
    ++failed;
    Print("msvc_host.cpp(%d): %s == %s failed: %ld (0x%lx), expected %ld (0x%lx)\n", line, actualText, expectedText,
          actual, actual, expected, expected);
}

#define CHECK(condition) Check((condition) != 0, __LINE__, #condition)
#define CHECK_EQ(actual, expected) \
    CheckEqual((long)(actual), (long)(expected), __LINE__, #actual, #expected)

// Runs one call and checks that the stack pointer is where it was: a callee that pops
// more or less than the caller's declaration says betrays a convention mismatch. The
// stack pointer is put back so that the checks after a mismatch still run (locals are
// addressed through the frame pointer: -fno-omit-frame-pointer).
#define BALANCED(statement)                                                                 \
    do {                                                                                    \
        unsigned long espBefore_, espAfter_;                                                \
        __asm__ __volatile__("movl %%esp, %0" : "=r"(espBefore_)::"memory");                \
        statement;                                                                          \
        __asm__ __volatile__("movl %%esp, %0" : "=r"(espAfter_)::"memory");                 \
        if (espAfter_ != espBefore_)                                                        \
            __asm__ __volatile__("movl %0, %%esp" ::"r"(espBefore_) : "memory");           \
        CheckEqual((long)(espAfter_ - espBefore_), 0, __LINE__, "stack moved by " #statement, "0"); \
    } while (0)

// ---------------------------------------------------------------------------------------
// The host's side: its window, its callbacks, its message loop

constexpr INT_PTR UserValue = 0x5EED;
HINSTANCE self;
HWND host;
int screenWidth, screenHeight;

struct ButtonEvent {
    int id, code;
    WPARAM detail;
    INT_PTR user;
};
ButtonEvent buttonEvents[16];
int buttonEventCount;

void WINAPI OnButton(int id, int code, WPARAM detail, INT_PTR user)
{
    if (buttonEventCount < 16) {
        ButtonEvent& e = buttonEvents[buttonEventCount];
        e.id = id;
        e.code = code;
        e.detail = detail;
        e.user = user;
    }
    ++buttonEventCount;
}

struct SlipEvent {
    int id;
    INT_PTR user;
    int code;
};
SlipEvent slipEvents[16];
int slipEventCount;

void WINAPI OnSlip(int id, INT_PTR user, int code)
{
    if (slipEventCount < 16) {
        SlipEvent& e = slipEvents[slipEventCount];
        e.id = id;
        e.user = user;
        e.code = code;
    }
    ++slipEventCount;
}

// What a label's WM_NOTIFY brought the host window.
struct LabelClick {
    WPARAM wParam;
    HWND from;
    UINT_PTR id;
    UINT code;
};
LabelClick labelClicks[16];
int labelClickCount;

LRESULT CALLBACK HostWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_PAINT: {
        // As a real host paints: the face, then the inner area in the library's colour.
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        DrawFace(dc);
        RECT inner;
        COLORREF colour;
        GetBgkColorSize(&inner, &colour);
        HBRUSH brush = CreateSolidBrush(colour);
        FillRect(dc, &inner, brush);
        DeleteObject(brush);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_NOTIFY:
        if (labelClickCount < 16) {
            const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
            LabelClick& c = labelClicks[labelClickCount];
            c.wParam = wParam;
            c.from = header->hwndFrom;
            c.id = header->idFrom;
            c.code = header->code;
        }
        ++labelClickCount;
        return 0;
    default:
        return DefWindowProcA(window, msg, wParam, lParam);
    }
}

void Pump(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        const DWORD spent = GetTickCount() - start;
        if (spent >= milliseconds)
            return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - spent, QS_ALLINPUT);
    }
}

// Pumps until *counter reaches atLeast or the time runs out (timers run late under emulation).
void PumpUntil(const int* counter, int atLeast, DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    while (*counter < atLeast && GetTickCount() - start < milliseconds)
        Pump(20);
}

// The window a control is bound to: the field right after its virtual table pointer.
template <typename Control>
HWND WindowOf(Control* control)
{
    return *reinterpret_cast<HWND*>(reinterpret_cast<char*>(control) + sizeof(void*));
}

// Where a window shows colour, after any pending paint: how many pixels, and the box
// around them (right and bottom exclusive).
struct Extent {
    int count, left, top, right, bottom;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

Extent Survey(HWND window, COLORREF colour)
{
    UpdateWindow(window);
    RECT client;
    GetClientRect(window, &client);
    HDC screen = GetDC(window);
    HDC copy = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ old = SelectObject(copy, bitmap);
    BitBlt(copy, 0, 0, client.right, client.bottom, screen, 0, 0, SRCCOPY);
    ReleaseDC(window, screen);
    Extent extent = {0, client.right, client.bottom, 0, 0};
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x)
            if (GetPixel(copy, x, y) == colour) {
                ++extent.count;
                extent.left = x < extent.left ? x : extent.left;
                extent.top = y < extent.top ? y : extent.top;
                extent.right = x + 1 > extent.right ? x + 1 : extent.right;
                extent.bottom = y + 1 > extent.bottom ? y + 1 : extent.bottom;
            }
    SelectObject(copy, old);
    DeleteObject(bitmap);
    DeleteDC(copy);
    return extent;
}

int CountColour(HWND window, COLORREF colour)
{
    return Survey(window, colour).count;
}

COLORREF ColourAt(HWND window, int x, int y)
{
    UpdateWindow(window);
    HDC dc = GetDC(window);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

void CheckWindowRect(HWND window, LONG left, LONG top, LONG right, LONG bottom, int line)
{
    // The host window sits at the screen's origin: screen and parent coordinates agree.
    RECT rect = {};
    GetWindowRect(window, &rect);
    CheckEqual(rect.left, left, line, "left", "expected left");
    CheckEqual(rect.top, top, line, "top", "expected top");
    CheckEqual(rect.right, right, line, "right", "expected right");
    CheckEqual(rect.bottom, bottom, line, "bottom", "expected bottom");
}
#define CHECK_WINDOW_RECT(window, l, t, r, b) CheckWindowRect(window, l, t, r, b, __LINE__)

// ---------------------------------------------------------------------------------------
// Slots every control shares

// Slots 0 to 5 on a control made for them: the class slots register in the host's name,
// CreateWnd replaces the control's window with one bound to the same object, WindowProc
// handles a message directly, and Destroy takes the window and the object.
template <typename Control>
void CheckBaseSlots(Control* control, const char* plainClass, const char* boundClass)
{
    CHECK(control);
    if (!control)
        return;
    BALANCED(control->NoOp(12345));

    WNDCLASSEXA plain = {sizeof plain, 0, DefWindowProcA, 0, 0, self, nullptr, nullptr, nullptr, nullptr,
                         plainClass, nullptr};
    int result = -1;
    BALANCED(result = control->RegisterWndClassEx(&plain));
    CHECK_EQ(result, 1);
    BALANCED(result = control->RegisterWndClassEx(&plain));
    CHECK_EQ(result, 0);  // the name is taken now
    CHECK(UnregisterClassA(plainClass, self));

    BALANCED(result = control->RegisterWndClass(self, CS_DBLCLKS, nullptr, LoadCursorA(nullptr, IDC_ARROW), nullptr,
                                                nullptr, boundClass, nullptr));
    CHECK_EQ(result, 1);
    BALANCED(result = control->RegisterWndClass(self, CS_DBLCLKS, nullptr, nullptr, nullptr, nullptr, boundClass,
                                                nullptr));
    CHECK_EQ(result, 0);

    const HWND first = WindowOf(control);
    CHECK(DestroyWindow(first));
    BALANCED(result = control->CreateWnd(self, host, boundClass, "made by CreateWnd", WS_CHILD | WS_VISIBLE, 10, 20,
                                         30, 40));
    CHECK_EQ(result, 1);
    const HWND made = WindowOf(control);
    CHECK(made != first);
    CHECK(IsWindow(made));
    CHECK_EQ(GetParent(made), host);
    CHECK_WINDOW_RECT(made, 10, 20, 40, 60);

    // Every control paints all its pixels itself and so skips erasing; the default
    // procedure would not, with no DC given.
    LRESULT handled = 0;
    BALANCED(handled = control->WindowProc(made, WM_ERASEBKGND, 0, 0));
    CHECK_EQ(handled, 1);
    CHECK_EQ(SendMessageA(made, WM_ERASEBKGND, 0, 0), 1);  // the class's procedure reaches the object

    BALANCED(control->Destroy());
    CHECK(!IsWindow(made));
    CHECK(UnregisterClassA(boundClass, self));
}

// The last slot, as MSVC's scalar deleting destructor is called: flags 1 frees the
// object; its window is gone already.
template <typename Control>
void CheckDeletingDestructor(Control* control)
{
    CHECK(control);
    if (!control)
        return;
    const HWND window = WindowOf(control);
    CHECK(IsWindow(window));
    CHECK(DestroyWindow(window));
    CHECK(!IsWindow(window));
    void* result = nullptr;
    BALANCED(result = control->ScalarDeletingDestructor(1));
    CHECK_EQ(result, control);
}

// ---------------------------------------------------------------------------------------
// The exports

void CheckBinding()
{
    Section("import library and GetProcAddress");
    const HMODULE module = GetModuleHandleA("Veltra1024.dll");
    CHECK(module);
    // The import library's decorated names must have reached the undecorated exports.
    const struct {
        const char* name;
        int ordinal;
        FARPROC imported;
    } exports[] = {
        {"DrawFace", 1, reinterpret_cast<FARPROC>(&DrawFace)},
        {"FactroyColorButtom", 2, reinterpret_cast<FARPROC>(&FactroyColorButtom)},
        {"FactroyLableControl", 3, reinterpret_cast<FARPROC>(&FactroyLableControl)},
        {"FactroySlipControl", 4, reinterpret_cast<FARPROC>(&FactroySlipControl)},
        {"GetBgkColorSize", 5, reinterpret_cast<FARPROC>(&GetBgkColorSize)},
        {"GetObjectRect", 6, reinterpret_cast<FARPROC>(&GetObjectRect)},
        {"SetAccessibleName", 7, reinterpret_cast<FARPROC>(&SetAccessibleName)},
        {"SetAccessibleOption", 8, reinterpret_cast<FARPROC>(&SetAccessibleOption)},
        {"FitScreen", 9, reinterpret_cast<FARPROC>(&FitScreen)},
        {"FitScreenScaled", 10, reinterpret_cast<FARPROC>(&FitScreenScaled)},
        {"LoadSkin", 11, reinterpret_cast<FARPROC>(&LoadSkin)},
    };
    for (const auto& e : exports) {
        const FARPROC byName = GetProcAddress(module, e.name);
        if (!byName)
            Print("   no export named %s\n", e.name);
        CHECK(byName);
        CHECK_EQ(byName, e.imported);
        CHECK_EQ(GetProcAddress(module, MAKEINTRESOURCEA(e.ordinal)), e.imported);
    }
    const HMODULE again = LoadLibraryA("Veltra1024.dll");
    CHECK_EQ(again, module);
    CHECK(FreeLibrary(again));

    // A call through a looked-up pointer, as a LoadLibrary host makes it.
    const auto lookedUp = reinterpret_cast<PFN_GetBgkColorSize>(GetProcAddress(module, "GetBgkColorSize"));
    CHECK(lookedUp);
    if (lookedUp) {
        COLORREF colour = 0;
        RECT* result = reinterpret_cast<RECT*>(1);
        BALANCED(result = lookedUp(nullptr, &colour));
        CHECK_EQ(result, nullptr);
        CHECK_EQ(colour, RGB(213, 237, 245));
    }
}

void CheckGetBgkColorSize()
{
    Section("GetBgkColorSize");
    RECT inner = {};
    COLORREF colour = 0;
    RECT* result = nullptr;
    BALANCED(result = GetBgkColorSize(&inner, &colour));
    CHECK_EQ(result, &inner);
    CHECK_EQ(colour, RGB(213, 237, 245));
    CHECK_EQ(colour, VELTRA_BACKGROUND_COLOR);
    CHECK_EQ(inner.left, 11);
    CHECK_EQ(inner.top, 15);
    CHECK_EQ(inner.right, screenWidth - 184);
    CHECK_EQ(inner.bottom, screenHeight - 201);

    colour = 0;
    BALANCED(result = GetBgkColorSize(nullptr, &colour));
    CHECK_EQ(result, nullptr);
    CHECK_EQ(colour, VELTRA_BACKGROUND_COLOR);
}

void CheckDrawFace()
{
    Section("DrawFace");
    RECT inner;
    GetBgkColorSize(&inner, nullptr);
    const int midX = (inner.left + inner.right) / 2, midY = (inner.top + inner.bottom) / 2;

    // Onto a screen-sized canvas: the face covers the corners and leaves the inner area.
    HDC screen = GetDC(nullptr);
    HDC canvas = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, screenWidth, screenHeight);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(canvas, bitmap);
    const COLORREF mark = RGB(1, 2, 3);
    SetPixel(canvas, 0, 0, mark);
    SetPixel(canvas, screenWidth - 1, screenHeight - 1, mark);
    SetPixel(canvas, midX, midY, mark);
    BOOL drawn = FALSE;
    BALANCED(drawn = DrawFace(canvas));
    CHECK(drawn);
    const COLORREF corner = GetPixel(canvas, 0, 0);
    CHECK(corner != mark);
    CHECK(GetPixel(canvas, screenWidth - 1, screenHeight - 1) != mark);
    CHECK_EQ(GetPixel(canvas, midX, midY), mark);
    SelectObject(canvas, old);
    DeleteObject(bitmap);
    DeleteDC(canvas);

    // The host window's own paint: the same face, the inner area in the library's colour.
    InvalidateRect(host, nullptr, FALSE);
    UpdateWindow(host);
    HDC shown = GetDC(host);
    CHECK_EQ(GetPixel(shown, 0, 0), corner);
    CHECK_EQ(GetPixel(shown, midX, midY), VELTRA_BACKGROUND_COLOR);
    ReleaseDC(host, shown);
}

// A bitmap handed over in a 32-bit value: its size, then given back.
void CheckBitmap(INT32 value, LONG width, LONG height, int line)
{
    HGDIOBJ bitmap = reinterpret_cast<HGDIOBJ>(value);
    CheckEqual(GetObjectType(bitmap), OBJ_BITMAP, line, "GetObjectType(bitmap)", "OBJ_BITMAP");
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    CheckEqual(info.bmWidth, width, line, "bitmap width", "expected width");
    CheckEqual(info.bmHeight, height, line, "bitmap height", "expected height");
    Check(DeleteObject(bitmap) != 0, line, "DeleteObject(bitmap)");
}
#define CHECK_BITMAP(value, width, height) CheckBitmap(value, width, height, __LINE__)

void CheckGetObjectRect()
{
    Section("GetObjectRect");
    const INT32 untouched = 0x0BADF00D;
    INT32 out[4] = {untouched, untouched, untouched, untouched};
    int known = -1;
    BALANCED(known = GetObjectRect(0, out));
    CHECK_EQ(known, 1);
    CHECK_EQ(out[0], screenWidth - 171);
    CHECK_EQ(out[1], 125);
    CHECK_EQ(out[2], screenWidth - 15);
    CHECK_EQ(out[3], 138);

    for (INT32& v : out)
        v = untouched;
    BALANCED(known = GetObjectRect(7, out));
    CHECK_EQ(known, 0);
    for (INT32 v : out)
        CHECK_EQ(v, untouched);
    BALANCED(known = GetObjectRect(0, nullptr));
    CHECK_EQ(known, 0);

    // Colours; the value the code does not name stays as it was.
    BALANCED(known = GetObjectRect(10, out));
    CHECK_EQ(known, 1);
    CHECK_EQ(out[0], RGB(0, 0, 0));
    CHECK_EQ(out[1], RGB(0, 191, 0));
    CHECK_EQ(out[2], RGB(0, 39, 0));
    CHECK_EQ(out[3], untouched);

    // The frame bitmap comes only when asked for with the marker.
    out[2] = out[3] = untouched;
    BALANCED(known = GetObjectRect(5, out));
    CHECK_EQ(known, 1);
    CHECK_EQ(out[0], screenWidth - 179);
    CHECK_EQ(out[1], 18);
    CHECK_EQ(out[2], untouched);
    out[2] = VELTRA_QUERY_MARKER;
    BALANCED(known = GetObjectRect(5, out));
    CHECK_BITMAP(out[2], 172, 122);
    CHECK_EQ(out[3], untouched);

    BALANCED(known = GetObjectRect(20, out));
    CHECK_EQ(known, 1);
    CHECK_BITMAP(out[0], 145, 18);
    CHECK_BITMAP(out[1], 145, 18);
    CHECK_BITMAP(out[2], screenWidth - 31, 107);
    CHECK_BITMAP(out[3], 585, 14);
}

// ---------------------------------------------------------------------------------------
// The controls

void CheckButtonEvent(int index, int id, int code, WPARAM detail, int line)
{
    if (index >= buttonEventCount || index >= 16) {
        Check(false, line, "a button event arrived");
        return;
    }
    const ButtonEvent& e = buttonEvents[index];
    CheckEqual(e.id, id, line, "button event id", "type code");
    CheckEqual(e.code, code, line, "button event code", "expected code");
    CheckEqual(static_cast<long>(e.detail), static_cast<long>(detail), line, "button event detail", "expected detail");
    CheckEqual(e.user, UserValue, line, "button event user value", "UserValue");
}
#define CHECK_BUTTON_EVENT(index, id, code, detail) CheckButtonEvent(index, id, code, detail, __LINE__)

void CheckColorButtom()
{
    Section("FactroyColorButtom / IColorButtom (slots 0-12)");
    IColorButtom* unknown = reinterpret_cast<IColorButtom*>(1);
    BALANCED(FactroyColorButtom(&unknown, 99, host, OnButton, UserValue));
    CHECK_EQ(unknown, nullptr);

    IColorButtom* spare = nullptr;
    FactroyColorButtom(&spare, 1, host, OnButton, UserValue);
    CheckBaseSlots(spare, "VeltraMsvcPlainButton", "VeltraMsvcBoundButton");

    IColorButtom* button = nullptr;
    BALANCED(FactroyColorButtom(&button, 2, host, OnButton, UserValue));
    CHECK(button);
    if (!button)
        return;
    const HWND window = WindowOf(button);
    CHECK(IsWindow(window));
    CHECK_EQ(GetParent(window), host);
    RECT rect = {};
    GetWindowRect(window, &rect);
    CHECK_EQ(rect.left, 74);
    CHECK_EQ(rect.top, screenHeight - 40);
    const LONG width = rect.right - rect.left, height = rect.bottom - rect.top;
    CHECK(width > 0 && height > 0);

    // 6: the cursor shown from the next WM_SETCURSOR on.
    const HCURSOR cross = LoadCursorA(nullptr, IDC_CROSS);
    BALANCED(button->SetHoverCursor(cross));
    SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    CHECK_EQ(GetCursor(), cross);

    // 7: moves the window, keeping its size.
    BOOL moved = FALSE;
    BALANCED(moved = button->MoveTo(300, 200));
    CHECK(moved);
    CHECK_WINDOW_RECT(window, 300, 200, 300 + width, 200 + height);

    // 8, 9: the frame; one outside the strip is ignored.
    int state = -1;
    BALANCED(button->SetState(VELTRA_FRAME_PRESSED));
    BALANCED(state = button->GetState());
    CHECK_EQ(state, VELTRA_FRAME_PRESSED);
    BALANCED(button->SetState(5));
    CHECK_EQ(button->GetState(), VELTRA_FRAME_PRESSED);
    BALANCED(button->SetState(VELTRA_FRAME_NORMAL));
    CHECK_EQ(button->GetState(), VELTRA_FRAME_NORMAL);

    // 10: a red dot from the next paint.
    const COLORREF red = RGB(255, 0, 0);
    const int redBefore = CountColour(window, red);
    BALANCED(button->SetDot(TRUE));
    InvalidateRect(window, nullptr, FALSE);
    CHECK(CountColour(window, red) > redBefore);
    BALANCED(button->SetDot(FALSE));
    InvalidateRect(window, nullptr, FALSE);
    CHECK_EQ(CountColour(window, red), redBefore);

    // 11: repeat ticks through the callback after the delay; stopping returns 0.
    buttonEventCount = 0;
    int started = 0;
    BALANCED(started = button->SetAutoRepeat(TRUE));
    CHECK(started != 0);
    PumpUntil(&buttonEventCount, 1, GetDoubleClickTime() + 5000);
    CHECK_BUTTON_EVENT(0, 2, VELTRA_BUTTON_REPEAT, 0);
    int stopped = -1;
    BALANCED(stopped = button->SetAutoRepeat(FALSE));
    CHECK_EQ(stopped, 0);
    const int ticks = buttonEventCount;
    Pump(GetDoubleClickTime() + 300);
    CHECK_EQ(buttonEventCount, ticks);

    // Real messages: press and release reach the WINAPI callback with the keys.
    buttonEventCount = 0;
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    CHECK_EQ(button->GetState(), VELTRA_FRAME_PRESSED);
    SendMessageA(window, WM_LBUTTONUP, MK_SHIFT, MAKELPARAM(3, 3));
    CHECK_EQ(button->GetState(), VELTRA_FRAME_NORMAL);
    CHECK_EQ(buttonEventCount, 2);
    CHECK_BUTTON_EVENT(0, 2, VELTRA_BUTTON_PRESSED, MK_LBUTTON);
    CHECK_BUTTON_EVENT(1, 2, VELTRA_BUTTON_RELEASED, MK_SHIFT);

    // 4: the same, straight through the slot.
    buttonEventCount = 0;
    LRESULT result = -1;
    BALANCED(result = button->WindowProc(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4)));
    CHECK_EQ(result, 0);
    BALANCED(result = button->WindowProc(window, WM_LBUTTONUP, 0, MAKELPARAM(4, 4)));
    CHECK_EQ(buttonEventCount, 2);
    CHECK_BUTTON_EVENT(0, 2, VELTRA_BUTTON_PRESSED, MK_LBUTTON);
    CHECK_BUTTON_EVENT(1, 2, VELTRA_BUTTON_RELEASED, 0);

    // Named for assistive technology through the import library, the pointer as it came.
    BOOL named = FALSE;
    BALANCED(named = SetAccessibleName(button, "Play"));
    CHECK(named);
    BALANCED(named = SetAccessibleName(nullptr, "Play"));
    CHECK(!named);
    BALANCED(named = SetAccessibleOption(button, VELTRA_ACCESS_BUTTON_KIND, VELTRA_BUTTON_KIND_TOGGLE));
    CHECK(named);
    BALANCED(named = FitScreen(0, 768));
    CHECK(!named);
    BALANCED(named = FitScreenScaled(1024, 768, 2));
    CHECK(!named);
    char reason[64];
    BALANCED(named = LoadSkin("Z:\\no skin here", reason, sizeof reason));
    CHECK(!named && reason[0] == 'Z');

    // 5
    BALANCED(button->Destroy());
    CHECK(!IsWindow(window));

    // 12
    IColorButtom* doomed = nullptr;
    FactroyColorButtom(&doomed, 3, host, OnButton, UserValue);
    CheckDeletingDestructor(doomed);
}

void CheckSlipEvent(int index, int id, int code, int line)
{
    if (index >= slipEventCount || index >= 16) {
        Check(false, line, "a slip event arrived");
        return;
    }
    const SlipEvent& e = slipEvents[index];
    CheckEqual(e.id, id, line, "slip event id", "type code");
    CheckEqual(e.user, UserValue, line, "slip event user value", "UserValue");
    CheckEqual(e.code, code, line, "slip event code", "expected code");
}
#define CHECK_SLIP_EVENT(index, id, code) CheckSlipEvent(index, id, code, __LINE__)

void CheckSlipControl()
{
    Section("FactroySlipControl / ISlipControl (slots 0-16)");
    ISlipControl* unknown = reinterpret_cast<ISlipControl*>(1);
    BALANCED(FactroySlipControl(&unknown, 5, host, OnSlip, UserValue));
    CHECK_EQ(unknown, nullptr);

    ISlipControl* spare = nullptr;
    FactroySlipControl(&spare, 10, host, OnSlip, UserValue);
    CheckBaseSlots(spare, "VeltraMsvcPlainSlip", "VeltraMsvcBoundSlip");

    ISlipControl* slip = nullptr;
    BALANCED(FactroySlipControl(&slip, 1, host, OnSlip, UserValue));
    CHECK(slip);
    if (!slip)
        return;
    const HWND window = WindowOf(slip);
    CHECK_EQ(GetParent(window), host);
    RECT rect = {};
    GetWindowRect(window, &rect);
    CHECK_EQ(rect.left, screenWidth - 329);
    CHECK_EQ(rect.top, screenHeight - 190);

    // 6, 7, 8: values through the range; -1 is above every maximum.
    int value = -1;
    BALANCED(slip->SetRange(0, 100));
    BALANCED(slip->SetValue(25));
    BALANCED(value = slip->GetValue());
    CHECK_EQ(value, 25);
    BALANCED(slip->SetValue(static_cast<UINT>(-1)));
    CHECK_EQ(slip->GetValue(), 100);
    slip->SetValue(0);
    CHECK_EQ(slip->GetValue(), 0);

    // 9, 10: the value on the thumb in its colour; a double-click edits it only then.
    const COLORREF yellow = RGB(255, 255, 0);
    slip->SetValue(50);
    CHECK_EQ(CountColour(window, yellow), 0);
    BALANCED(slip->ShowValue(TRUE));
    BALANCED(slip->SetValueColor(yellow));
    CHECK(CountColour(window, yellow) > 3);
    SendMessageA(window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(65, 7));
    CHECK(FindWindowExA(window, nullptr, "EDIT", nullptr));
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 7));  // ends the edit
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 7));
    CHECK_EQ(FindWindowExA(window, nullptr, "EDIT", nullptr), nullptr);
    CHECK_EQ(slip->GetValue(), 50);
    BALANCED(slip->ShowValue(FALSE));
    CHECK_EQ(CountColour(window, yellow), 0);
    SendMessageA(window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(65, 7));
    CHECK_EQ(FindWindowExA(window, nullptr, "EDIT", nullptr), nullptr);

    // A right click: code 1 to the WINAPI callback.
    slipEventCount = 0;
    SendMessageA(window, WM_RBUTTONUP, 0, MAKELPARAM(3, 3));
    CHECK_EQ(slipEventCount, 1);
    CHECK_SLIP_EVENT(0, 1, VELTRA_SLIP_RIGHT_CLICK);
    // 4: the same, straight through the slot.
    slipEventCount = 0;
    LRESULT result = -1;
    BALANCED(result = slip->WindowProc(window, WM_RBUTTONUP, 0, MAKELPARAM(3, 3)));
    CHECK_EQ(result, 0);
    CHECK_EQ(slipEventCount, 1);
    CHECK_SLIP_EVENT(0, 1, VELTRA_SLIP_RIGHT_CLICK);

    // 5
    BALANCED(slip->Destroy());
    CHECK(!IsWindow(window));

    // 11-15: the markers of the seek slider. Positions are whole pixels, so the range is
    // made the markers' travel (a marker is 11 pixels wide) for exact values.
    ISlipControl* seek = nullptr;
    FactroySlipControl(&seek, 0, host, OnSlip, UserValue);
    CHECK(seek);
    if (seek) {
        int start = -1, end = -1;
        BALANCED(start = seek->GetStartMarker());
        BALANCED(end = seek->GetEndMarker());
        CHECK_EQ(start, 0);
        CHECK_EQ(end, 0);
        RECT client = {};
        GetClientRect(WindowOf(seek), &client);
        seek->SetRange(0, client.right - 11);
        BALANCED(seek->SetStartMarker(100));
        BALANCED(seek->SetEndMarker(300));
        CHECK_EQ(seek->GetStartMarker(), 100);
        CHECK_EQ(seek->GetEndMarker(), 300);
        BALANCED(seek->ClearMarkers(VELTRA_START_MARKER));
        CHECK_EQ(seek->GetStartMarker(), 0);
        CHECK_EQ(seek->GetEndMarker(), 300);
        BALANCED(seek->ClearMarkers(VELTRA_START_MARKER | VELTRA_END_MARKER));
        CHECK_EQ(seek->GetEndMarker(), 0);
        seek->Destroy();
    }

    // 16
    ISlipControl* doomed = nullptr;
    FactroySlipControl(&doomed, 10, host, OnSlip, UserValue);
    CheckDeletingDestructor(doomed);
}

// Sends a left press to a label's window and checks the WM_NOTIFY the host got.
void CheckLabelClick(HWND window, UINT_PTR id, int line)
{
    labelClickCount = 0;
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    CheckEqual(labelClickCount, 1, line, "WM_NOTIFY count", "1");
    if (labelClickCount < 1)
        return;
    const LabelClick& c = labelClicks[0];
    CheckEqual(static_cast<long>(c.wParam), static_cast<long>(id), line, "WM_NOTIFY wParam", "id");
    CheckEqual(reinterpret_cast<long>(c.from), reinterpret_cast<long>(window), line, "NMHDR hwndFrom", "window");
    CheckEqual(static_cast<long>(c.id), static_cast<long>(id), line, "NMHDR idFrom", "id");
    CheckEqual(c.code, VELTRA_LABEL_CLICKED, line, "NMHDR code", "VELTRA_LABEL_CLICKED");
}
#define CHECK_LABEL_CLICK(window, id) CheckLabelClick(window, id, __LINE__)

// Each slot's check is one block below: a new slot gets a block of its own.
void CheckLableControl()
{
    Section("FactroyLableControl / ILableControl (slots 0-19)");
    ILableControl* unknown = reinterpret_cast<ILableControl*>(1);
    BALANCED(FactroyLableControl(&unknown, 6, host));
    CHECK_EQ(unknown, nullptr);

    ILableControl* spare = nullptr;
    FactroyLableControl(&spare, 5, host);
    CheckBaseSlots(spare, "VeltraMsvcPlainLabel", "VeltraMsvcBoundLabel");

    ILableControl* label = nullptr;
    BALANCED(FactroyLableControl(&label, 0, host));
    CHECK(label);
    if (!label)
        return;
    const HWND factoryWindow = WindowOf(label);
    CHECK_EQ(GetParent(factoryWindow), host);
    const int widening = (screenWidth - 1024) / 10;
    CHECK_WINDOW_RECT(factoryWindow, 194 + widening, screenHeight - 60, 224 + 2 * widening, screenHeight - 49);

    BOOL ok = FALSE;
    // 10, then 9: the window's own (empty) text at first; then the label's copy.
    const char* text = nullptr;
    BALANCED(text = label->GetText());
    CHECK(text && lstrcmpA(text, "") == 0);
    const char* const wanted = "Veltra 1024";
    BALANCED(ok = label->SetText(wanted));
    CHECK(ok);
    text = label->GetText();
    CHECK(text && text != wanted && lstrcmpA(text, wanted) == 0);

    // 13: window style bits follow the flags.
    BALANCED(label->SetFlags(VELTRA_LABEL_BORDER | VELTRA_LABEL_STATIC_EDGE,
                             VELTRA_LABEL_BORDER | VELTRA_LABEL_STATIC_EDGE));
    CHECK(GetWindowLongA(factoryWindow, GWL_STYLE) & WS_BORDER);
    CHECK(GetWindowLongA(factoryWindow, GWL_EXSTYLE) & WS_EX_STATICEDGE);
    label->SetFlags(0, VELTRA_LABEL_BORDER | VELTRA_LABEL_STATIC_EDGE);
    CHECK(!(GetWindowLongA(factoryWindow, GWL_STYLE) & WS_BORDER));
    CHECK(!(GetWindowLongA(factoryWindow, GWL_EXSTYLE) & WS_EX_STATICEDGE));

    // 17: serve a window of the host's; a press there notifies with the label's id.
    const HWND adopted = CreateWindowExA(0, "STATIC", "adopted", WS_CHILD | WS_VISIBLE, 300, 400, 200, 30, host,
                                         nullptr, self, nullptr);
    const LONG adoptedProc = GetWindowLongA(adopted, GWL_WNDPROC);
    BALANCED(ok = label->Attach(adopted));
    CHECK(ok);
    CHECK_EQ(WindowOf(label), adopted);
    CHECK(GetWindowLongA(adopted, GWL_WNDPROC) != adoptedProc);
    CHECK_LABEL_CLICK(adopted, 0);

    // 18: a new window at the host's rectangle with a new id; the adopted one gets its
    // own procedure back.
    const RECT place = {300, 300, 500, 400};
    BALANCED(ok = label->Create(&place, 77, host));
    CHECK(ok);
    const HWND window = WindowOf(label);
    CHECK(window != adopted && IsWindow(window));
    CHECK_WINDOW_RECT(window, 300, 300, 500, 400);
    CHECK_EQ(GetWindowLongA(adopted, GWL_WNDPROC), adoptedProc);
    CHECK_LABEL_CLICK(window, 77);

    // 7, with 13: an opaque label shows its background colour around the text.
    const COLORREF back = RGB(10, 20, 30);
    label->SetFlags(0, VELTRA_LABEL_TRANSPARENT);
    BALANCED(ok = label->SetBackColor(back));
    CHECK(ok);
    CHECK_EQ(ColourAt(window, 0, 0), back);
    CHECK_EQ(ColourAt(window, 199, 99), back);

    // 8: the text in its colour, over the same background.
    const COLORREF fore = RGB(255, 255, 0);
    label->SetText("MMMMMMMM");
    BALANCED(ok = label->SetForeColor(fore));
    CHECK(ok);
    CHECK_EQ(ColourAt(window, 0, 0), back);
    const Extent normal = Survey(window, fore);
    CHECK(normal.count > 3);

    // 11: a larger font, larger letters.
    BALANCED(ok = label->SetFont(nullptr, 20));
    CHECK(ok);
    const Extent large = Survey(window, fore);
    CHECK(large.Height() > normal.Height());
    CHECK(large.Width() > normal.Width());
    CHECK(large.Width() > 2 * large.Height());  // one line, across

    // 9, 10: no text at all.
    label->SetText(nullptr);
    CHECK_EQ(CountColour(window, fore), 0);
    CHECK_EQ(label->GetText(), nullptr);
    label->SetText("MMMMMMMM");

    // 16: a white copy of the text, only with the highlight.
    const COLORREF white = RGB(255, 255, 255);
    CHECK_EQ(CountColour(window, white), 0);
    BALANCED(ok = label->SetHighlight(TRUE, TRUE));
    CHECK(ok);
    CHECK(CountColour(window, white) > 3);
    label->SetHighlight(FALSE, FALSE);
    CHECK_EQ(CountColour(window, white), 0);

    // 12: turned a quarter, the line stands upright.
    BALANCED(ok = label->SetTextAngle(90, TRUE));
    CHECK(ok);
    const Extent turned = Survey(window, fore);
    CHECK(turned.count > 3);
    CHECK(turned.Height() > turned.Width());
    label->SetTextAngle(0, FALSE);

    // 6
    BALANCED(ok = label->RefreshBackground());
    CHECK(ok);

    // 14: SS_NOTIFY follows, TRUE only on a change; a silent label sends nothing.
    label->SetClickMode(TRUE, FALSE);
    BALANCED(ok = label->SetClickMode(TRUE, FALSE));
    CHECK_EQ(ok, FALSE);
    CHECK(GetWindowLongA(window, GWL_STYLE) & SS_NOTIFY);
    BALANCED(ok = label->SetClickMode(FALSE, TRUE));
    CHECK(ok);
    CHECK(!(GetWindowLongA(window, GWL_STYLE) & SS_NOTIFY));
    labelClickCount = 0;
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    CHECK_EQ(labelClickCount, 0);
    label->SetClickMode(TRUE, FALSE);
    CHECK_LABEL_CLICK(window, 77);

    // 15
    const HCURSOR cross = LoadCursorA(nullptr, IDC_CROSS);
    BALANCED(label->SetHoverCursor(cross));
    SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    CHECK_EQ(GetCursor(), cross);

    // 4: a press straight through the slot notifies as a sent one does.
    labelClickCount = 0;
    BALANCED(label->WindowProc(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2)));
    CHECK_EQ(labelClickCount, 1);

    // 5; the windows the label left behind are the host's to destroy.
    BALANCED(label->Destroy());
    CHECK(!IsWindow(window));
    CHECK(DestroyWindow(adopted));
    if (IsWindow(factoryWindow))
        DestroyWindow(factoryWindow);

    // 19
    ILableControl* doomed = nullptr;
    FactroyLableControl(&doomed, 1, host);
    CheckDeletingDestructor(doomed);
}

}  // namespace

// The process entry (lld-link /entry:HostMain): no C runtime runs before it.
extern "C" void HostMain(void)
{
    self = GetModuleHandleA(nullptr);
    screenWidth = GetSystemMetrics(SM_CXSCREEN);
    screenHeight = GetSystemMetrics(SM_CYSCREEN);
    Print("MSVC-ABI host on a %dx%d screen\n", screenWidth, screenHeight);

    const WNDCLASSEXA hostClass = {sizeof hostClass, 0, HostWndProc, 0, 0, self, nullptr,
                                   LoadCursorA(nullptr, IDC_ARROW), nullptr, nullptr, "VeltraMsvcHost", nullptr};
    RegisterClassExA(&hostClass);
    host = CreateWindowExA(0, "VeltraMsvcHost", "MSVC host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                           screenWidth, screenHeight, nullptr, nullptr, self, nullptr);
    CHECK(host);
    if (host) {
        Pump(0);
        CheckBinding();
        CheckGetBgkColorSize();
        CheckDrawFace();
        CheckGetObjectRect();
        CheckColorButtom();
        CheckSlipControl();
        CheckLableControl();
        EndSection();
        DestroyWindow(host);
    }
    UnregisterClassA("VeltraMsvcHost", self);
    Print("%d passed, %d failed\n", passed, failed);
    ExitProcess(failed ? 1 : 0);
}
