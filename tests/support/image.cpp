#include "tests/support/image.h"

#include <cstdio>
#include <sstream>

namespace {

BITMAPINFO TopDown32(int width, int height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

}  // namespace

Image ReadBitmap(HBITMAP bitmap)
{
    BITMAP header = {};
    Image image;
    if (!GetObjectA(bitmap, sizeof header, &header))
        return image;
    image.width = header.bmWidth;
    image.height = header.bmHeight;
    image.pixels.resize(static_cast<size_t>(image.width) * image.height);
    BITMAPINFO info = TopDown32(image.width, image.height);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, image.height, image.pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    for (uint32_t& pixel : image.pixels)
        pixel &= 0xFFFFFF;
    return image;
}

Image LoadArt(HMODULE module, int id)
{
    HBITMAP bitmap = LoadBitmapA(module, MAKEINTRESOURCEA(id));
    Image image = ReadBitmap(bitmap);
    DeleteObject(bitmap);
    return image;
}

Canvas::Canvas(int width, int height, COLORREF fill) : width_(width), height_(height)
{
    BITMAPINFO info = TopDown32(width, height);
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
    HBRUSH brush = CreateSolidBrush(fill);
    RECT all = {0, 0, width, height};
    FillRect(dc_, &all, brush);
    DeleteObject(brush);
}

Canvas::~Canvas()
{
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
}

Image Canvas::Read() const
{
    GdiFlush();
    Image image;
    image.width = width_;
    image.height = height_;
    const auto* bits = static_cast<const uint32_t*>(bits_);
    image.pixels.assign(bits, bits + static_cast<size_t>(width_) * height_);
    for (uint32_t& pixel : image.pixels)
        pixel &= 0xFFFFFF;
    return image;
}

void WriteBmp(const std::string& path, int width, int height, uint32_t (*pixel)(int x, int y))
{
    const int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + stride * height;
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    std::vector<unsigned char> rows(static_cast<size_t>(stride) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint32_t rgb = pixel(x, y);
            unsigned char* out = &rows[static_cast<size_t>(height - 1 - y) * stride + x * 3];
            out[0] = rgb & 0xFF;
            out[1] = (rgb >> 8) & 0xFF;
            out[2] = (rgb >> 16) & 0xFF;
        }
    FILE* stream = std::fopen(path.c_str(), "wb");
    std::fwrite(&file, sizeof file, 1, stream);
    std::fwrite(&info, sizeof info, 1, stream);
    std::fwrite(rows.data(), 1, rows.size(), stream);
    std::fclose(stream);
}

Image Crop(const Image& picture, RECT area)
{
    Image part;
    part.width = area.right - area.left;
    part.height = area.bottom - area.top;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            part.pixels.push_back(picture.At(x, y));
    return part;
}

Image Enlarge(const Image& picture, int factor)
{
    Image large;
    large.width = picture.width * factor;
    large.height = picture.height * factor;
    for (int y = 0; y < large.height; ++y)
        for (int x = 0; x < large.width; ++x)
            large.pixels.push_back(picture.At(x / factor, y / factor));
    return large;
}

std::string FirstDifference(const Image& actual, const Image& expected)
{
    if (actual.width != expected.width || actual.height != expected.height) {
        std::ostringstream text;
        text << "size " << actual.width << "x" << actual.height << ", expected " << expected.width << "x"
             << expected.height;
        return text.str();
    }
    for (int y = 0; y < actual.height; ++y)
        for (int x = 0; x < actual.width; ++x)
            if (actual.At(x, y) != expected.At(x, y)) {
                std::ostringstream text;
                text << "pixel (" << x << ", " << y << ") is " << std::hex << actual.At(x, y) << ", expected "
                     << expected.At(x, y);
                return text.str();
            }
    return "";
}
