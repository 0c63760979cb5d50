// The face as a host sees it, on whatever screen this process runs on.
#include <gtest/gtest.h>

#include "tests/host/expected_face.h"
#include "tests/host/host.h"
#include "tests/support/image.h"
#include "tests/support/ledger.h"

namespace {

constexpr uint32_t Untouched = 0x123456;  // a colour the art never uses, RGB order

std::map<int, Image> DesignArt(HMODULE module)
{
    std::map<int, Image> art;
    for (int id : {102, 103, 104, 105})
        art[id] = LoadArt(module, id);
    return art;
}

Image PaintFace(const Veltra& veltra, SIZE screen = Screen())
{
    Canvas canvas(screen.cx, screen.cy, RGB(0x12, 0x34, 0x56));
    EXPECT_TRUE(veltra.DrawFace(canvas.dc()));
    return canvas.Read();
}

}  // namespace

// Over the shipped art and over art with a colour of its own in every pixel, where any
// band or piece a column or a row off shows.
class FaceArt : public ::testing::TestWithParam<const char*> {};

// Every piece of every face bitmap, fixed or repeated, column by column and row by row;
// on small screens the later bitmaps cover the earlier ones, and the inner area is the
// host's. So on this screen, on every screen the library is fitted to, and back.
TEST_P(FaceArt, DrawFacePaintsEveryPieceOfTheArt)
{
    Veltra veltra(GetParam());
    ASSERT_TRUE(veltra.module);
    for (const auto& [screen, scale] : FittedScreens()) {
        SCOPED_TRACE(std::to_string(screen.cx) + "x" + std::to_string(screen.cy) + " at " + std::to_string(scale));
        ASSERT_EQ(veltra.FitScreenScaled(screen.cx, screen.cy, scale), scale);
        const Image expected = ComposeScaledFace(veltra.module, screen, scale, Untouched);
        EXPECT_EQ(FirstDifference(PaintFace(veltra, screen), expected), "");
    }
}

TEST_P(FaceArt, DrawFaceOnAWindowShowsTheSamePicture)
{
    Veltra veltra(GetParam());
    ASSERT_TRUE(veltra.module);
    const SIZE screen = Screen();
    HWND window = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, screen.cx, screen.cy,
                                  nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    HDC dc = GetDC(window);
    EXPECT_TRUE(veltra.DrawFace(dc));
    Canvas copy(screen.cx, screen.cy, 0);
    BitBlt(copy.dc(), 0, 0, screen.cx, screen.cy, dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
    DestroyWindow(window);

    const Image expected = ComposeFace(ExpectedFace(screen), DesignArt(veltra.module), screen, 0);
    Image shown = copy.Read();
    // Only the face is compared: the inner area shows whatever the window had.
    RECT inner;
    veltra.GetBgkColorSize(&inner, nullptr);
    for (int y = inner.top; y < inner.bottom; ++y)
        for (int x = inner.left; x < inner.right; ++x)
            shown.pixels[static_cast<size_t>(y) * shown.width + x] = 0;
    EXPECT_EQ(FirstDifference(shown, expected), "");
}

INSTANTIATE_TEST_SUITE_P(Libraries, FaceArt, ::testing::Values(LibraryFile, DistinctFaceFile),
                         [](const auto& info) { return info.index ? "DistinctArt" : "ShippedArt"; });

// On this screen, on every screen the library is fitted to, and back: at a scale, that scale
// times the area on the laid-out screen.
TEST(Face, InnerAreaAndItsColour)
{
    Veltra veltra;
    for (const ScaledScreen& fitted : FittedScreens()) {
        ASSERT_EQ(veltra.FitScreenScaled(fitted.size.cx, fitted.size.cy, fitted.scale), fitted.scale);
        const SIZE layout = fitted.Layout();
        const int s = fitted.scale;
        RECT inner = {-1, -1, -1, -1};
        COLORREF colour = 0;
        EXPECT_EQ(veltra.GetBgkColorSize(&inner, &colour), &inner);
        EXPECT_EQ(inner, (RECT{11 * s, 15 * s, (layout.cx - 184) * s, (layout.cy - 201) * s}));
        EXPECT_EQ(colour, RGB(213, 237, 245));
        EXPECT_EQ(colour, 0xF5EDD5u);
    }
}

TEST(Face, InnerAreaToleratesNullPointers)
{
    Veltra veltra;
    COLORREF colour = 0;
    EXPECT_EQ(veltra.GetBgkColorSize(nullptr, &colour), nullptr);
    EXPECT_EQ(colour, 0xF5EDD5u);
    RECT inner = {};
    EXPECT_EQ(veltra.GetBgkColorSize(&inner, nullptr), &inner);
    EXPECT_EQ(inner.left, 11);
    EXPECT_EQ(veltra.GetBgkColorSize(nullptr, nullptr), nullptr);
}

TEST(Face, DrawFaceIsFourCopiesAndLeavesNothingBehind)
{
    Veltra veltra;
    const SIZE screen = Screen();
    Canvas canvas(screen.cx, screen.cy, 0);
    Ledger ledger(veltra.module);
    EXPECT_TRUE(veltra.DrawFace(canvas.dc()));
    EXPECT_EQ(ledger.Calls("BitBlt"), 4);
    EXPECT_EQ(ledger.Calls("CreateCompatibleDC"), 1);
    EXPECT_EQ(ledger.Calls("DeleteDC"), 1);
    EXPECT_TRUE(ledger.Alive().empty());
    EXPECT_TRUE(ledger.Faults().empty()) << ledger.Faults().front();
}

TEST(Face, DetachDeletesExactlyTheFourFaceBitmaps)
{
    Veltra veltra;
    const SIZE screen = Screen();
    std::vector<std::string> expected;
    for (const ExpectedBitmap& bitmap : ExpectedFace(screen))
        expected.push_back("bitmap " + std::to_string(bitmap.size.cx) + "x" + std::to_string(bitmap.size.cy));
    Ledger ledger(veltra.module);
    ledger.AcceptEarlierObjects();  // the face was made at attach
    veltra.Unload();
    // Detach deletes in the order top, bottom, left, right, as DrawFace paints them.
    EXPECT_EQ(ledger.DeletedForeign(), expected);
    EXPECT_EQ(ledger.Calls("DeleteObject"), 4);
    EXPECT_TRUE(ledger.Faults().empty());
}
