// A full-screen host of Veltra1024, as a media application would use it: the face, the
// inner area in the library's colour with an event log, the host's own widgets where the
// layout queries put them, and every control of the library. Escape ends it.
//
//   veltra_demo.exe [--start WxH] [--switch WxH] [--scale N] [--skin DIR] [--script]
//                   [--screenshot FILE.bmp]
//
// --start changes the display mode before the demo loads the library; --switch changes it
// after the first paint, as a user would, and the demo follows the screen; --scale draws the
// design N times larger (1 to 4) where the screen holds it, the largest it holds otherwise,
// and by default; --skin starts with the skin in DIR (by default the built-in art), and the
// S key switches between the built-in art and that skin (by default the daylight skin);
// --script plays a few hovers, presses and drags; --screenshot saves the screen after the
// first paint and exits. Started from the demo/ folder, it shows the sample
// logo in Pic\, which the library reads from below the current folder.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "demo/demo.h"

Skin skin;
int scale = 1;

namespace {

constexpr UINT_PTR AnimationTimer = 1;
constexpr UINT AnimationInterval = 80;
constexpr UINT TakeScreenshot = WM_APP;

std::string screenshotPath;
bool screenshotPending = false;
bool script = false;
SIZE switchTo = {};  // a display mode to change to after the first paint, as a user would
int askedScale = 0;  // --scale; 0: the largest the screen holds
std::string skinFolder = "..\\res\\skins\\daylight";  // --skin, or the daylight skin from demo/
bool skinned = false;

template <typename Function>
void Find(HMODULE module, Function& function, const char* name)
{
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// Everything is drawn into one off-screen picture and copied at once: no flicker.
void Paint(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    HDC buffer = CreateCompatibleDC(dc);
    HBITMAP picture = CreateCompatibleBitmap(dc, client.right, client.bottom);
    HGDIOBJ old = SelectObject(buffer, picture);

    skin.DrawFace(buffer);
    RECT inner;
    COLORREF colour;
    skin.GetBgkColorSize(&inner, &colour);
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(buffer, &inner, brush);
    DeleteObject(brush);
    PaintEventLog(buffer, inner);
    PaintWidgets(buffer);

    const RECT& area = paint.rcPaint;
    BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, buffer, area.left, area.top,
           SRCCOPY);
    SelectObject(buffer, old);
    DeleteObject(picture);
    DeleteDC(buffer);
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

// Fits the library to size at the scale asked for where the screen holds it, else at the
// largest it holds; false when it keeps its size. An older library keeps its one scale.
bool Fit(SIZE size)
{
    if (!skin.FitScreenScaled)
        return skin.FitScreen && skin.FitScreen(size.cx, size.cy);
    int fitted = skin.FitScreenScaled(size.cx, size.cy, askedScale);
    if (!fitted)
        fitted = skin.FitScreenScaled(size.cx, size.cy, 0);
    if (fitted)
        scale = fitted;
    return fitted != 0;
}

// The screen changed under the demo, or its window went to a monitor of another size: the
// library fits the new size, the window covers the screen again, and the demo lays out its
// own widgets from the library's answers for it.
void FollowScreen(HWND window, const RECT& screen)
{
    static SIZE fitted = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const SIZE size = {screen.right - screen.left, screen.bottom - screen.top};
    if ((size.cx == fitted.cx && size.cy == fitted.cy) || !Fit(size))
        return;
    fitted = size;
    FreeWidgets();
    LoadWidgets();
    MoveWindow(window, screen.left, screen.top, size.cx, size.cy, FALSE);
    InvalidateRect(window, nullptr, TRUE);  // the controls repaint themselves after the face
}

// Loads the skin, or the built-in art back, and lays the demo's own widgets out again from
// the queries, whose bitmaps and colours are the skin's.
void ChangeSkin(HWND window, bool on)
{
    char reason[1024];
    if (!skin.LoadSkin) {
        LogEvent("This library has one skin");
        return;
    }
    if (!skin.LoadSkin(on ? skinFolder.c_str() : nullptr, reason, sizeof reason)) {
        LogEvent("Skin refused: %s", reason);
        InvalidateRect(window, nullptr, FALSE);
        return;
    }
    skinned = on;
    FreeWidgets();
    LoadWidgets();
    InvalidateRect(window, nullptr, TRUE);
}

void SwitchDisplay(SIZE size)
{
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    for (DWORD i = 0; EnumDisplaySettingsA(nullptr, i, &mode); ++i)
        if (static_cast<LONG>(mode.dmPelsWidth) == size.cx && static_cast<LONG>(mode.dmPelsHeight) == size.cy) {
            ChangeDisplaySettingsExA(nullptr, &mode, nullptr, 0, nullptr);
            return;
        }
}

RECT MonitorOf(HWND window)
{
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info);
    return info.rcMonitor;
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        LoadWidgets();
        if (screenshotPath.empty())
            SetTimer(window, AnimationTimer, AnimationInterval, nullptr);
        return 0;
    case WM_PAINT:
        Paint(window);
        if (!screenshotPending && !screenshotPath.empty()) {
            screenshotPending = true;
            PostMessageA(window, TakeScreenshot, 0, 0);
        }
        return 0;
    case WM_ERASEBKGND: return 1;  // Paint covers every pixel
    case WM_TIMER: AnimateWidgets(window); return 0;
    case WM_DISPLAYCHANGE: FollowScreen(window, MonitorOf(window)); return 0;
    case WM_MOVE: FollowScreen(window, MonitorOf(window)); return 0;
    case TakeScreenshot:
        if (switchTo.cx) {
            SwitchDisplay(std::exchange(switchTo, SIZE{}));  // the demo follows from WM_DISPLAYCHANGE
            PostMessageA(window, TakeScreenshot, 0, 0);     // after what the fit posted to the controls
            return 0;
        }
        if (script)
            PlayScript();
        // The controls paint after their parent: save once everything has.
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Sleep(200);
        PostQuitMessage(SaveScreen(screenshotPath) ? 0 : 1);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE)
            DestroyWindow(window);
        if (wParam == 'S')
            ChangeSkin(window, !skinned);
        return 0;
    case WM_DESTROY:
        KillTimer(window, AnimationTimer);
        DestroyControls();
        FreeWidgets();
        PostQuitMessage(0);
        return 0;
    default: return DefWindowProcA(window, msg, wParam, lParam);
    }
}

}  // namespace

bool Skin::Load(const char* path)
{
    module = LoadLibraryA(path);
    if (!module)
        return false;
    Find(module, DrawFace, "DrawFace");
    Find(module, GetBgkColorSize, "GetBgkColorSize");
    Find(module, GetObjectRect, "GetObjectRect");
    Find(module, FactroyColorButtom, "FactroyColorButtom");
    Find(module, FactroyLableControl, "FactroyLableControl");
    Find(module, FactroySlipControl, "FactroySlipControl");
    Find(module, SetAccessibleName, "SetAccessibleName");
    Find(module, SetAccessibleOption, "SetAccessibleOption");
    Find(module, FitScreen, "FitScreen");
    Find(module, FitScreenScaled, "FitScreenScaled");
    Find(module, LoadSkin, "LoadSkin");
    return DrawFace && GetBgkColorSize && GetObjectRect && FactroyColorButtom && FactroyLableControl &&
           FactroySlipControl;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    script = std::strstr(commandLine, "--script") != nullptr;
    if (const char* option = std::strstr(commandLine, "--screenshot "))
        screenshotPath = std::string(option + std::strlen("--screenshot ")).substr(0, MAX_PATH);
    if (const size_t end = screenshotPath.find(' '); end != std::string::npos)
        screenshotPath.resize(end);
    SIZE start = {};
    for (auto [name, size] : {std::pair{"--start ", &start}, {"--switch ", &switchTo}})
        if (const char* option = std::strstr(commandLine, name))
            std::sscanf(option + std::strlen(name), "%ldx%ld", &size->cx, &size->cy);
    if (start.cx)
        SwitchDisplay(start);
    if (const char* option = std::strstr(commandLine, "--scale "))
        askedScale = std::atoi(option + std::strlen("--scale "));
    if (const char* option = std::strstr(commandLine, "--skin ")) {
        skinFolder = std::string(option + std::strlen("--skin ")).substr(0, MAX_PATH);
        skinFolder.resize(std::min(skinFolder.find(' '), skinFolder.size()));
        skinned = true;
    }

    if (!skin.Load("Veltra1024.dll")) {
        MessageBoxA(nullptr, "Veltra1024.dll could not be loaded.", "Veltra1024 demo", MB_ICONERROR);
        return 1;
    }
    Fit({GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
    char reason[1024] = "";
    if (skinned && (!skin.LoadSkin || !skin.LoadSkin(skinFolder.c_str(), reason, sizeof reason))) {
        if (screenshotPath.empty())
            MessageBoxA(nullptr, reason, "Veltra1024 demo: the skin is refused", MB_ICONERROR);
        std::fputs(reason, stderr);
        return 1;
    }
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = "Veltra1024Demo";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, windowClass.lpszClassName, "Veltra1024 demo", WS_POPUP | WS_VISIBLE |
                                  WS_CLIPCHILDREN, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                                  GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, instance, nullptr);
    // The face is on the screen before the controls: a transparent label copies what lies
    // under it when it first paints.
    UpdateWindow(window);
    CreateControls(window);
    MSG msg = {};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (IsWindow(window))
        DestroyWindow(window);
    FreeLibrary(skin.module);
    return static_cast<int>(msg.wParam);
}
