// A full-screen host of Veltra1024: paints the face, fills the inner area with the
// library's colour and creates the colour buttons (all but the two small keys that sit on
// the mode tabs) and the three sliders. The mode tabs on the left latch like radio
// buttons, the volume keys repeat while held, the seek slider shows an A-B range with its
// markers, and the last event shows in the inner area. With --screenshot
// FILE.bmp it saves the screen after the first paint and exits; Escape ends it.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "include/veltra1024.h"

namespace {

struct Skin {
    HMODULE module = nullptr;
    PFN_DrawFace DrawFace = nullptr;
    PFN_GetBgkColorSize GetBgkColorSize = nullptr;
    PFN_FactroyColorButtom FactroyColorButtom = nullptr;
    PFN_FactroySlipControl FactroySlipControl = nullptr;
};

struct Button {
    UINT code;
    IColorButtom* control;
};

Skin skin;
std::string screenshotPath;
HWND mainWindow = nullptr;
std::vector<Button> buttons;
ISlipControl* seek = nullptr;
ISlipControl* volume = nullptr;
ISlipControl* balance = nullptr;
char lastEvent[128] = "Ready.";

constexpr UINT FirstTab = 200;
constexpr UINT LastTab = 207;
constexpr UINT VolumeDown = 9;
constexpr UINT VolumeUp = 10;

template <typename Function>
void Find(Function& function, const char* name)
{
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(skin.module, name)));
}

IColorButtom* ButtonOf(UINT code)
{
    for (const Button& button : buttons)
        if (button.code == code)
            return button.control;
    return nullptr;
}

void LatchTab(UINT chosen)
{
    for (UINT tab = FirstTab; tab <= LastTab; ++tab)
        if (IColorButtom* button = ButtonOf(tab))
            button->SetState(tab == chosen ? VELTRA_FRAME_PRESSED : VELTRA_FRAME_NORMAL);
}

const char* EventName(int code)
{
    switch (code) {
    case VELTRA_BUTTON_PRESSED: return "pressed";
    case VELTRA_BUTTON_RELEASED: return "released";
    case VELTRA_BUTTON_RIGHT_PRESSED: return "right-pressed";
    case VELTRA_BUTTON_REPEAT: return "repeats";
    default: return "?";
    }
}

void WINAPI OnButton(int id, int code, WPARAM, INT_PTR)
{
    const UINT which = static_cast<UINT>(id);
    if (which == VolumeDown || which == VolumeUp) {
        if (code == VELTRA_BUTTON_PRESSED)
            ButtonOf(which)->SetAutoRepeat(TRUE);
        else if (code == VELTRA_BUTTON_RELEASED)
            ButtonOf(which)->SetAutoRepeat(FALSE);
    }
    if (which >= FirstTab && which <= LastTab && code == VELTRA_BUTTON_RELEASED)
        LatchTab(which);
    std::snprintf(lastEvent, sizeof lastEvent, "Button %d %s.", id, EventName(code));
    InvalidateRect(mainWindow, nullptr, FALSE);
}

void CreateButtons(HWND parent)
{
    std::vector<UINT> codes;
    for (UINT code = 0; code <= 31; ++code)
        codes.push_back(code);
    for (UINT code = FirstTab; code <= LastTab; ++code)
        codes.push_back(code);
    for (UINT code : codes) {
        IColorButtom* button = nullptr;
        skin.FactroyColorButtom(&button, code, parent, OnButton, 0);
        if (button)
            buttons.push_back({code, button});
    }
    LatchTab(FirstTab);
}

void WINAPI OnSlip(int id, INT_PTR, int code)
{
    ISlipControl* slip = id == 0 ? seek : id == 1 ? volume : balance;
    const char* name = id == 0 ? "Seek" : id == 1 ? "Volume" : "Balance";
    if (code == VELTRA_SLIP_RIGHT_CLICK)
        std::snprintf(lastEvent, sizeof lastEvent, "%s right-clicked.", name);
    else if (id == 0)
        std::snprintf(lastEvent, sizeof lastEvent, "Seek at %d, A-B %d to %d.", slip->GetValue(),
                      slip->GetStartMarker(), slip->GetEndMarker());
    else
        std::snprintf(lastEvent, sizeof lastEvent, "%s at %d.", name, slip->GetValue());
    InvalidateRect(mainWindow, nullptr, FALSE);
}

ISlipControl* MakeSlip(UINT type, int maximum, int value)
{
    ISlipControl* slip = nullptr;
    skin.FactroySlipControl(&slip, type, mainWindow, OnSlip, 0);
    if (slip) {
        slip->SetRange(0, maximum);
        slip->SetValue(value);
    }
    return slip;
}

void CreateSlips()
{
    seek = MakeSlip(0, 1000, 350);
    if (seek) {
        seek->SetStartMarker(200);
        seek->SetEndMarker(600);
    }
    volume = MakeSlip(1, 100, 70);
    if (volume)
        volume->ShowValue(TRUE);
    balance = MakeSlip(10, 100, 50);
}

void DestroyControls()
{
    for (const Button& button : buttons)
        button.control->Destroy();
    buttons.clear();
    for (ISlipControl** slip : {&seek, &volume, &balance}) {
        if (*slip)
            (*slip)->Destroy();
        *slip = nullptr;
    }
}

void Paint(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    skin.DrawFace(dc);
    RECT inner;
    COLORREF colour;
    skin.GetBgkColorSize(&inner, &colour);
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &inner, brush);
    DeleteObject(brush);
    RECT text = {inner.left + 60, inner.top + 20, inner.right - 20, inner.top + 60};
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(40, 60, 70));
    DrawTextA(dc, lastEvent, -1, &text, DT_LEFT | DT_SINGLELINE);
    EndPaint(window, &paint);
}

// Writes the screen as a 24-bit bottom-up BMP.
bool SaveScreen(const std::string& path)
{
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    const int stride = (width * 3 + 3) & ~3;
    std::vector<unsigned char> pixels(static_cast<size_t>(stride) * height);

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    GetDIBits(memory, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out)
        return false;
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out);
    std::fwrite(pixels.data(), 1, pixels.size(), out);
    return std::fclose(out) == 0;
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        mainWindow = window;
        CreateButtons(window);
        CreateSlips();
        return 0;
    case WM_PAINT:
        Paint(window);
        if (!screenshotPath.empty())
            PostMessageA(window, WM_APP, 0, 0);
        return 0;
    case WM_ERASEBKGND: return 1;  // the face and the inner fill cover every pixel
    case WM_APP:
        // The buttons paint after their parent: save once they have.
        RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        PostQuitMessage(SaveScreen(screenshotPath) ? 0 : 1);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE)
            DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        DestroyControls();
        PostQuitMessage(0);
        return 0;
    default: return DefWindowProcA(window, msg, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    if (const char* option = std::strstr(commandLine, "--screenshot "))
        screenshotPath = option + std::strlen("--screenshot ");

    skin.module = LoadLibraryA("Veltra1024.dll");
    if (!skin.module) {
        MessageBoxA(nullptr, "Veltra1024.dll could not be loaded.", "Veltra1024 demo", MB_ICONERROR);
        return 1;
    }
    Find(skin.DrawFace, "DrawFace");
    Find(skin.GetBgkColorSize, "GetBgkColorSize");
    Find(skin.FactroyColorButtom, "FactroyColorButtom");
    Find(skin.FactroySlipControl, "FactroySlipControl");

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = "Veltra1024Demo";
    RegisterClassA(&windowClass);
    CreateWindowExA(0, windowClass.lpszClassName, "Veltra1024 demo", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                    GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, instance,
                    nullptr);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (IsWindow(mainWindow))
        DestroyWindow(mainWindow);
    FreeLibrary(skin.module);
    return static_cast<int>(msg.wParam);
}
