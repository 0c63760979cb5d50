// Pictures as the tests read them: 0x00RRGGBB pixels, top row first.
#pragma once

#include <windows.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// The pixels of a bitmap (DDB or DIB section).
Image ReadBitmap(HBITMAP bitmap);

// A resource bitmap of module, as a host would load it.
Image LoadArt(HMODULE module, int id);

// A 32-bit DIB section selected into a memory DC: somewhere to paint and read back.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return dc_; }
    Image Read() const;

private:
    int width_, height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
    void* bits_ = nullptr;
};

// Writes a 24-bit BMP file of width x height whose pixel (x, y) is pixel(x, y).
void WriteBmp(const std::string& path, int width, int height, uint32_t (*pixel)(int x, int y));

// The part of picture inside area.
Image Crop(const Image& picture, RECT area);

// picture with every pixel drawn as a factor x factor block.
Image Enlarge(const Image& picture, int factor);

// Where actual first differs from expected, or "" when they are the same picture.
std::string FirstDifference(const Image& actual, const Image& expected);

// The rectangle (x, y) of size (cx, cy).
inline RECT Area(int x, int y, int cx, int cy) { return RECT{x, y, x + cx, y + cy}; }

inline bool operator==(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

inline std::ostream& operator<<(std::ostream& out, const RECT& r)
{
    return out << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}
