#include "common/art.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <new>

#include "common/gdi.h"
#include "common/library.h"

int ArtDensity(int scale)
{
    return scale % 2 ? 1 : 2;
}

HBITMAP LoadArt(WORD id, int scale)
{
    const int density = ArtDensity(scale);
    GdiObject<HBITMAP> art(LoadBitmapA(Library.ModuleHandle, MAKEINTRESOURCEA(density == 2 ? id + DoubleArtId : id)));
    if (!art || scale == density)
        return art.Release();
    return Enlarged(art, scale / density);
}

HBITMAP Enlarged(HBITMAP bitmap, int factor)
{
    const SIZE size = BitmapSize(bitmap);
    if (size.cx <= 0 || size.cy <= 0 || factor < 1 || size.cx > INT_MAX / 4 / factor || size.cy > INT_MAX / factor ||
        static_cast<LONGLONG>(size.cx) * size.cy > INT_MAX / 4)
        return nullptr;
    // Read as 32-bit pixels, top row first, and written straight into the new bitmap's.
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::unique_ptr<DWORD[]> pixels(new (std::nothrow) DWORD[static_cast<size_t>(size.cx) * size.cy]);
    WindowDC screen;
    if (!pixels || !screen || GetDIBits(screen, bitmap, 0, size.cy, pixels.get(), &info, DIB_RGB_COLORS) != size.cy)
        return nullptr;
    const LONG width = size.cx * factor;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -size.cy * factor;
    void* bits = nullptr;
    GdiObject<HBITMAP> large(CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!large || !bits)
        return nullptr;
    for (LONG y = 0; y < size.cy; ++y) {
        const DWORD* from = pixels.get() + static_cast<size_t>(y) * size.cx;
        DWORD* row = static_cast<DWORD*>(bits) + static_cast<size_t>(y) * factor * width;
        for (LONG x = 0; x < size.cx; ++x)
            std::fill_n(row + x * factor, factor, from[x]);
        for (int copy = 1; copy < factor; ++copy)
            std::copy_n(row, width, row + static_cast<size_t>(copy) * width);
    }
    return large.Release();
}
