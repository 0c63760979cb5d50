// The optional logo: "Pic\VeltraLogo.bmp" below the host's current directory, printed at
// attach, and at every fit, into the top-left corner of the right-hand face bitmap.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "tests/host/expected_face.h"
#include "tests/host/host.h"
#include "tests/support/image.h"

namespace {

uint32_t LogoPixel(int x, int y) { return static_cast<uint32_t>((x * 7 & 0xFF) << 16 | (y * 5 & 0xFF) << 8 | ((x ^ y) & 0xFF)); }

// At a scale every pixel of the logo is a block, as every pixel of the art is.
Image FaceWithLogo(const Veltra& veltra, SIZE logo, SIZE screen = Screen(), int s = 1)
{
    Image expected = ComposeScaledFace(veltra.module, screen, s, 0);
    const ExpectedBitmap right = ExpectedFace(ScaledScreen{screen, s}.Layout())[3];
    for (int y = 0; y < s * std::min(logo.cy, right.size.cy); ++y)
        for (int x = 0; x < s * std::min(logo.cx, right.size.cx); ++x) {
            const int sx = s * right.at.x + x;
            const int sy = s * right.at.y + y;
            if (sx >= 0 && sy >= 0 && sx < screen.cx && sy < screen.cy)
                expected.pixels[static_cast<size_t>(sy) * screen.cx + sx] = LogoPixel(x / s, y / s);
        }
    return expected;
}

Image Painted(const Veltra& veltra, SIZE screen = Screen())
{
    Canvas canvas(screen.cx, screen.cy, 0);
    veltra.DrawFace(canvas.dc());
    return canvas.Read();
}

}  // namespace

class Logo : public ::testing::TestWithParam<SIZE> {};

TEST_P(Logo, IsPrintedIntoTheRightPanelAndCutToIt)
{
    ScratchFolder folder;
    CreateDirectoryA("Pic", nullptr);
    WriteBmp("Pic\\VeltraLogo.bmp", GetParam().cx, GetParam().cy, LogoPixel);
    Veltra veltra;
    // On this screen, on every screen the library is fitted to, and back.
    for (const auto& [screen, scale] : FittedScreens()) {
        ASSERT_EQ(veltra.FitScreenScaled(screen.cx, screen.cy, scale), scale);
        EXPECT_EQ(FirstDifference(Painted(veltra, screen), FaceWithLogo(veltra, GetParam(), screen, scale)), "");
    }
}

// A small logo, one as wide as the panel, one larger than the panel in both directions,
// and an enormous one (15 MB).
INSTANTIATE_TEST_SUITE_P(Sizes, Logo, ::testing::Values(SIZE{40, 30}, SIZE{184, 60}, SIZE{300, 1200}, SIZE{2500, 2000}),
                         [](const auto& info) {
                             return std::to_string(info.param.cx) + "x" + std::to_string(info.param.cy);
                         });

TEST(LogoFile, AbsentOrUnreadableLeavesTheArtAsItIs)
{
    ScratchFolder folder;
    {
        Veltra veltra;
        EXPECT_EQ(FirstDifference(Painted(veltra), FaceWithLogo(veltra, {0, 0})), "");
    }
    CreateDirectoryA("Pic", nullptr);
    for (const char* content : {"", "BM", "BM this is not a bitmap at all, only its first two bytes are"}) {
        FILE* file = std::fopen("Pic\\VeltraLogo.bmp", "wb");
        std::fputs(content, file);
        std::fclose(file);
        Veltra veltra;
        EXPECT_EQ(FirstDifference(Painted(veltra), FaceWithLogo(veltra, {0, 0})), "") << '"' << content << '"';
    }
}

namespace {

// A well-made logo file rewritten in one way, and whether the face then shows it.
struct RewrittenLogo {
    const char* name;
    void (*rewrite)(std::vector<char>& file);
    bool printed = false;
};

BITMAPFILEHEADER& FileHeader(std::vector<char>& file) { return *reinterpret_cast<BITMAPFILEHEADER*>(file.data()); }
BITMAPINFOHEADER& InfoHeader(std::vector<char>& file)
{
    return *reinterpret_cast<BITMAPINFOHEADER*>(file.data() + sizeof(BITMAPFILEHEADER));
}

// The same logo at 32 bits a pixel, its colour masks inside an info header of headerSize bytes.
void AsBitfields(std::vector<char>& file, DWORD headerSize)
{
    BITMAPV5HEADER info = {};
    std::memcpy(&info, &InfoHeader(file), sizeof(BITMAPINFOHEADER));
    info.bV5Size = headerSize;
    info.bV5BitCount = 32;
    info.bV5Compression = BI_BITFIELDS;
    info.bV5RedMask = 0xFF0000;
    info.bV5GreenMask = 0xFF00;
    info.bV5BlueMask = 0xFF;
    const DWORD offset = sizeof(BITMAPFILEHEADER) + headerSize;
    file.resize(offset + info.bV5Width * info.bV5Height * sizeof(uint32_t));
    FileHeader(file).bfOffBits = offset;
    FileHeader(file).bfSize = file.size();
    std::memcpy(&InfoHeader(file), &info, headerSize);
    char* out = file.data() + offset;
    for (int y = info.bV5Height - 1; y >= 0; --y)
        for (int x = 0; x < info.bV5Width; ++x, out += sizeof(uint32_t)) {
            const uint32_t pixel = LogoPixel(x, y);
            std::memcpy(out, &pixel, sizeof pixel);
        }
}

const RewrittenLogo RewrittenLogos[] = {
    {"cut inside the header", [](std::vector<char>& file) { file.resize(30); }},
    {"cut inside the pixels", [](std::vector<char>& file) { file.resize(file.size() / 2); }},
    {"2^31 - 1 pixels wide", [](std::vector<char>& file) { InfoHeader(file).biWidth = 0x7FFFFFFF; }},
    {"-2^31 pixels high", [](std::vector<char>& file) { InfoHeader(file).biHeight = INT_MIN; }},
    {"30000 x 30000 without the pixels",
     [](std::vector<char>& file) { InfoHeader(file).biWidth = InfoHeader(file).biHeight = 30000; }},
    {"pixels past the end of the file", [](std::vector<char>& file) { FileHeader(file).bfOffBits = 0x7FFFFFF0; }},
    {"7 bits a pixel", [](std::vector<char>& file) { InfoHeader(file).biBitCount = 7; }},
    {"2^30 palette entries", [](std::vector<char>& file) {
         InfoHeader(file).biBitCount = 8;
         InfoHeader(file).biClrUsed = 0x40000000;
     }},
    {"32-bit masks in a version 4 header",
     [](std::vector<char>& file) { AsBitfields(file, sizeof(BITMAPV4HEADER)); }, true},
    {"32-bit masks in a version 5 header",
     [](std::vector<char>& file) { AsBitfields(file, sizeof(BITMAPV5HEADER)); }, true},
};

}  // namespace

// The system's own bitmap forms are printed; what it cannot read as a bitmap is no logo,
// and the face is the art as it is.
TEST(LogoFile, IsPrintedWhenSoundAndIgnoredWhenSpoilt)
{
    ScratchFolder folder;
    CreateDirectoryA("Pic", nullptr);
    for (const RewrittenLogo& logo : RewrittenLogos) {
        SCOPED_TRACE(logo.name);
        WriteBmp("Pic\\VeltraLogo.bmp", 64, 48, LogoPixel);
        std::vector<char> file;
        {
            std::ifstream in("Pic\\VeltraLogo.bmp", std::ios::binary);
            file.assign(std::istreambuf_iterator<char>(in), {});
        }
        logo.rewrite(file);
        std::ofstream("Pic\\VeltraLogo.bmp", std::ios::binary | std::ios::trunc).write(file.data(), file.size());
        Veltra veltra;
        const SIZE shown = logo.printed ? SIZE{64, 48} : SIZE{0, 0};
        EXPECT_EQ(FirstDifference(Painted(veltra), FaceWithLogo(veltra, shown)), "");
    }
}
