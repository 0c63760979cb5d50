#include "common/bmp.h"

#include <climits>

namespace {

// Little-endian values at an offset the caller has checked.
DWORD Dword(const BYTE* at) { return at[0] | at[1] << 8 | at[2] << 16 | static_cast<DWORD>(at[3]) << 24; }
WORD Word(const BYTE* at) { return static_cast<WORD>(at[0] | at[1] << 8); }

constexpr size_t FileHeaderBytes = 14;

bool IsDepth(WORD bits)
{
    return bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32;
}

// One channel of a bit-field pixel, stretched to eight bits.
DWORD Channel(DWORD pixel, DWORD mask)
{
    if (!mask)
        return 0;
    int shift = 0, width = 0;
    while (!(mask >> shift & 1))
        ++shift;
    while (shift + width < 32 && mask >> (shift + width) & 1)
        ++width;
    const DWORD value = (pixel & mask) >> shift;
    return width >= 8 ? value >> (width - 8) : value * 255 / ((1u << width) - 1);
}

}  // namespace

BmpFault ReadBmp(const BYTE* bytes, size_t size, Bmp& bmp)
{
    bmp = Bmp{};
    if (size < FileHeaderBytes + 4 || bytes[0] != 'B' || bytes[1] != 'M')
        return BmpFault::NotBitmap;
    const DWORD pixelsAt = Dword(bytes + 10);
    const BYTE* info = bytes + FileHeaderBytes;
    const DWORD infoBytes = Dword(info);
    const bool core = infoBytes == sizeof(BITMAPCOREHEADER);
    if (!core && infoBytes != sizeof(BITMAPINFOHEADER) && infoBytes != sizeof(BITMAPV4HEADER) &&
        infoBytes != sizeof(BITMAPV5HEADER))
        return BmpFault::Header;
    if (size < FileHeaderBytes + infoBytes)
        return BmpFault::NotBitmap;
    // Sums and products in 64 bits, which no header value can wrap round.
    long long width, height;
    WORD planes;
    DWORD compression = BI_RGB, used = 0;
    if (core) {
        width = Word(info + 4);
        height = Word(info + 6);
        planes = Word(info + 8);
        bmp.bits = Word(info + 10);
    } else {
        width = static_cast<LONG>(Dword(info + 4));
        height = static_cast<LONG>(Dword(info + 8));
        planes = Word(info + 12);
        bmp.bits = Word(info + 14);
        compression = Dword(info + 16);
        used = Dword(info + 32);
    }
    if (planes != 1)
        return BmpFault::Header;
    if (compression == BI_JPEG || compression == BI_PNG)
        return compression == BI_JPEG ? BmpFault::Jpeg : BmpFault::Png;
    if (compression != BI_RGB && compression != BI_BITFIELDS)
        return BmpFault::Compressed;
    bmp.bitFields = compression == BI_BITFIELDS;
    if (!IsDepth(bmp.bits) || (bmp.bitFields && bmp.bits != 32))
        return BmpFault::Depth;
    bmp.topDown = height < 0;
    height = height < 0 ? -height : height;
    if (width <= 0 || height <= 0 || width * height > INT_MAX / 4)
        return BmpFault::Dimensions;
    bmp.width = static_cast<LONG>(width);
    bmp.height = static_cast<LONG>(height);

    size_t tables = FileHeaderBytes + infoBytes;  // where masks, then the palette, follow
    if (bmp.bitFields) {
        // The 40-byte header keeps its masks after it; the later ones inside.
        const BYTE* masks = infoBytes == sizeof(BITMAPINFOHEADER) ? bytes + tables : info + 40;
        if (infoBytes == sizeof(BITMAPINFOHEADER))
            tables += 3 * sizeof(DWORD);
        if (tables > size)
            return BmpFault::Truncated;
        for (int i = 0; i < 3; ++i)
            bmp.masks[i] = Dword(masks + 4 * i);
    }
    if (bmp.bits <= 8) {
        const long long most = 1LL << bmp.bits;
        bmp.colours = static_cast<int>(used ? used : most);
        bmp.entryBytes = core ? 3 : 4;
        if (used > most || tables + static_cast<long long>(bmp.colours) * bmp.entryBytes > pixelsAt)
            return BmpFault::Palette;
        bmp.palette = bytes + tables;
        tables += static_cast<size_t>(bmp.colours) * bmp.entryBytes;
    }
    if (pixelsAt < tables)
        return BmpFault::Header;
    bmp.stride = static_cast<size_t>((width * bmp.bits + 31) / 32 * 4);
    if (static_cast<long long>(pixelsAt) + static_cast<long long>(bmp.stride) * height > static_cast<long long>(size))
        return BmpFault::Truncated;
    bmp.pixels = bytes + pixelsAt;
    return BmpFault::None;
}

DWORD BmpPixel(const Bmp& bmp, LONG x, LONG y)
{
    const BYTE* row = bmp.pixels + bmp.stride * static_cast<size_t>(bmp.topDown ? y : bmp.height - 1 - y);
    int index = 0;
    switch (bmp.bits) {
    case 1: index = row[x >> 3] >> (7 - (x & 7)) & 1; break;
    case 4: index = row[x >> 1] >> (x & 1 ? 0 : 4) & 15; break;
    case 8: index = row[x]; break;
    case 24: return static_cast<DWORD>(row[3 * x + 2]) << 16 | row[3 * x + 1] << 8 | row[3 * x];
    default: {
        const DWORD pixel = Dword(row + 4 * x);
        if (!bmp.bitFields)
            return pixel & 0xFFFFFF;
        return Channel(pixel, bmp.masks[0]) << 16 | Channel(pixel, bmp.masks[1]) << 8 | Channel(pixel, bmp.masks[2]);
    }
    }
    // An index past the palette shows black, as the system shows it.
    if (index >= bmp.colours)
        return 0;
    const BYTE* entry = bmp.palette + static_cast<size_t>(index) * bmp.entryBytes;
    return static_cast<DWORD>(entry[2]) << 16 | entry[1] << 8 | entry[0];
}
