#include "face/bitmap_file.h"

#include <windows.h>

#include <climits>
#include <initializer_list>

#include "common/file.h"

namespace {

bool IsPixelDepth(WORD bits)
{
    for (WORD depth : {1, 4, 8, 16, 24, 32})
        if (bits == depth)
            return true;
    return false;
}

// Bytes of the info header and of the colour masks after it, or 0 for a header size the
// system's loader does not read. Masks follow only the 40-byte header; the version 4 and 5
// headers hold them.
LONGLONG InfoBytes(const BITMAPINFOHEADER& info)
{
    switch (info.biSize) {
    case sizeof(BITMAPINFOHEADER):
        return info.biSize + (info.biCompression == BI_BITFIELDS ? 3 * sizeof(DWORD) : 0);
    case sizeof(BITMAPV4HEADER):
    case sizeof(BITMAPV5HEADER):
        return info.biSize;
    default:
        return 0;
    }
}

// Bytes of palette between the info header (with its masks) and where pixels may start,
// or -1 for more colours than the depth holds.
LONGLONG PaletteBytes(const BITMAPINFOHEADER& info)
{
    if (info.biBitCount > 8)
        return 0;
    const LONGLONG colours = info.biClrUsed ? info.biClrUsed : 1LL << info.biBitCount;
    return colours > (1LL << info.biBitCount) ? -1 : colours * static_cast<LONGLONG>(sizeof(RGBQUAD));
}

}  // namespace

bool IsCompleteBitmapFile(const char* path, bool* unopened)
{
    ReadOnlyFile file(path);
    if (unopened) {
        const DWORD error = file.OpenError();
        *unopened = error != ERROR_SUCCESS && error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
    }
    BITMAPFILEHEADER header = {};
    BITMAPINFOHEADER info = {};
    if (!file.Read(&header, sizeof header) || !file.Read(&info, sizeof info))
        return false;
    if (header.bfType != 0x4D42 || info.biPlanes != 1 || !IsPixelDepth(info.biBitCount))
        return false;
    if (info.biCompression != BI_RGB && info.biCompression != BI_BITFIELDS)
        return false;
    if (info.biWidth <= 0 || info.biHeight == 0 || info.biHeight == LONG_MIN)
        return false;
    // Sums in 64 bits, which no header field can wrap round.
    const LONGLONG infoBytes = InfoBytes(info);
    const LONGLONG palette = PaletteBytes(info);
    if (!infoBytes || palette < 0 || header.bfOffBits < LONGLONG{sizeof header} + infoBytes + palette)
        return false;
    // Rows are whole DWORDs; 64-bit arithmetic holds any width times any height.
    const LONGLONG stride = (static_cast<LONGLONG>(info.biWidth) * info.biBitCount + 31) / 32 * 4;
    const LONGLONG height = info.biHeight < 0 ? -static_cast<LONGLONG>(info.biHeight) : info.biHeight;
    return header.bfOffBits + stride * height <= file.Size();
}
