#include "common/art.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <new>

#include "common/bmp.h"
#include "common/gdi.h"
#include "common/library.h"
#include "common/skin.h"

namespace {

// A 32-bit bottom-up picture of width x height, as GetDIBits and SetDIBits take it.
BITMAPINFO Rows32(LONG width, LONG height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

}  // namespace

HBITMAP LoadArt(WORD id, const Display& display)
{
    const bool doubleDensity = display.scale % 2 == 0;
    const Skin* skin = display.skin;
    const SkinPiece* doubled = skin && doubleDensity ? skin->Find(id, true) : nullptr;
    const SkinPiece* plain = skin ? skin->Find(id, false) : nullptr;
    const WORD resource = doubleDensity ? id + DoubleArtId : id;
    GdiObject<HBITMAP> art(doubled ? SkinBitmap(*doubled)
                           : plain ? SkinBitmap(*plain)
                                   : LoadBitmapA(Library.ModuleHandle, MAKEINTRESOURCEA(resource)));
    const int drawnAt = doubled || (doubleDensity && !plain) ? 2 : 1;
    if (!art || display.scale == drawnAt)
        return art.Release();
    return Enlarged(art, display.scale / drawnAt);
}

HBITMAP SkinBitmap(const SkinPiece& piece)
{
    Bmp bmp;
    if (ReadBmp(piece.bytes.get(), piece.size, bmp) != BmpFault::None)
        return nullptr;
    WindowDC screen;
    GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen, bmp.width, bmp.height));
    if (!screen || !bitmap)
        return nullptr;
    // The file's own header, colours and pixels, checked against its bytes: the system makes
    // the bitmap from them as it makes the built-in art from the resources.
    const auto* info = reinterpret_cast<const BITMAPINFO*>(piece.bytes.get() + sizeof(BITMAPFILEHEADER));
    if (SetDIBits(screen, bitmap, 0, static_cast<UINT>(bmp.height), bmp.pixels, info, DIB_RGB_COLORS) != bmp.height)
        return nullptr;
    return bitmap.Release();
}

HBITMAP Enlarged(HBITMAP bitmap, int factor)
{
    const SIZE size = BitmapSize(bitmap);
    if (size.cx <= 0 || size.cy <= 0 || factor < 1 || size.cx > INT_MAX / 4 / factor / factor ||
        size.cy > INT_MAX / factor)
        return nullptr;
    const LONG width = size.cx * factor, height = size.cy * factor;
    // A bitmap like the screen's, as every other picture of the library, filled a source row
    // at a time: one row read, factor rows written, and no more memory than that besides.
    WindowDC screen;
    GdiObject<HBITMAP> large(CreateCompatibleBitmap(screen, width, height));
    std::unique_ptr<DWORD[]> rows(new (std::nothrow) DWORD[size.cx + static_cast<size_t>(width) * factor]);
    if (!screen || !large || !rows)
        return nullptr;
    BITMAPINFO from = Rows32(size.cx, size.cy), to = Rows32(width, height);
    DWORD* const source = rows.get();
    DWORD* const block = source + size.cx;
    for (LONG y = 0; y < size.cy; ++y) {
        if (GetDIBits(screen, bitmap, y, 1, source, &from, DIB_RGB_COLORS) != 1)
            return nullptr;
        for (LONG x = 0; x < size.cx; ++x)
            std::fill_n(block + x * factor, factor, source[x]);
        for (int copy = 1; copy < factor; ++copy)
            std::copy_n(block, width, block + static_cast<size_t>(copy) * width);
        if (SetDIBits(screen, large, y * factor, factor, block, &to, DIB_RGB_COLORS) != factor)
            return nullptr;
    }
    return large.Release();
}
