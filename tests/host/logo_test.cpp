// The optional logo: "Pic\VeltraLogo.bmp" below the host's current directory, printed at
// attach into the top-left corner of the right-hand face bitmap.
#include <gtest/gtest.h>

#include <cstdio>

#include "tests/host/expected_face.h"
#include "tests/host/host.h"
#include "tests/support/image.h"

namespace {

uint32_t LogoPixel(int x, int y) { return static_cast<uint32_t>((x * 7 & 0xFF) << 16 | (y * 5 & 0xFF) << 8 | ((x ^ y) & 0xFF)); }

Image FaceWithLogo(const Veltra& veltra, SIZE logo)
{
    const SIZE screen = Screen();
    std::map<int, Image> art;
    for (int id : {102, 103, 104, 105})
        art[id] = LoadArt(veltra.module, id);
    const std::vector<ExpectedBitmap> face = ExpectedFace(screen);
    Image expected = ComposeFace(face, art, screen, 0);
    const ExpectedBitmap& right = face[3];
    for (int y = 0; y < std::min(logo.cy, right.size.cy); ++y)
        for (int x = 0; x < std::min(logo.cx, right.size.cx); ++x) {
            const int sx = right.at.x + x;
            const int sy = right.at.y + y;
            if (sx >= 0 && sy >= 0 && sx < screen.cx && sy < screen.cy)
                expected.pixels[static_cast<size_t>(sy) * screen.cx + sx] = LogoPixel(x, y);
        }
    return expected;
}

Image Painted(const Veltra& veltra)
{
    Canvas canvas(Screen().cx, Screen().cy, 0);
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
    EXPECT_EQ(FirstDifference(Painted(veltra), FaceWithLogo(veltra, GetParam())), "");
}

// A small logo, one as wide as the panel, and one larger than the panel in both directions.
INSTANTIATE_TEST_SUITE_P(Sizes, Logo, ::testing::Values(SIZE{40, 30}, SIZE{184, 60}, SIZE{300, 1200}),
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
