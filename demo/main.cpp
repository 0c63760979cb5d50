// A full-screen host of Veltra1024: paints the face and fills the inner area with the
// library's colour. With --screenshot FILE.bmp it saves the screen after the first paint
// and exits.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "include/veltra1024.h"

namespace {

struct Skin {
    HMODULE module = nullptr;
    PFN_DrawFace DrawFace = nullptr;
    PFN_GetBgkColorSize GetBgkColorSize = nullptr;
};

Skin skin;
std::string screenshotPath;

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
    case WM_PAINT:
        Paint(window);
        if (!screenshotPath.empty())
            PostMessageA(window, WM_APP, 0, 0);
        return 0;
    case WM_ERASEBKGND: return 1;  // the face and the inner fill cover every pixel
    case WM_APP:
        PostQuitMessage(SaveScreen(screenshotPath) ? 0 : 1);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE)
            DestroyWindow(window);
        return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
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
    skin.DrawFace = reinterpret_cast<PFN_DrawFace>(reinterpret_cast<void*>(GetProcAddress(skin.module, "DrawFace")));
    skin.GetBgkColorSize = reinterpret_cast<PFN_GetBgkColorSize>(
        reinterpret_cast<void*>(GetProcAddress(skin.module, "GetBgkColorSize")));

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = "Veltra1024Demo";
    RegisterClassA(&windowClass);
    CreateWindowExA(0, windowClass.lpszClassName, "Veltra1024 demo", WS_POPUP | WS_VISIBLE, 0, 0,
                    GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, instance,
                    nullptr);

    MSG msg;
    int result = 0;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    result = static_cast<int>(msg.wParam);
    FreeLibrary(skin.module);
    return result;
}
