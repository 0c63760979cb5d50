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

Image PaintFace(const Veltra& veltra)
{
    const SIZE screen = Screen();
    Canvas canvas(screen.cx, screen.cy, RGB(0x12, 0x34, 0x56));
    EXPECT_TRUE(veltra.DrawFace(canvas.dc()));
    return canvas.Read();
}

}  // namespace

TEST(Face, DesignArtHasItsSizes)
{
    Veltra veltra;
    const auto art = DesignArt(veltra.module);
    EXPECT_EQ(art.at(102).width, 1024);
    EXPECT_EQ(art.at(102).height, 15);
    EXPECT_EQ(art.at(103).width, 11);
    EXPECT_EQ(art.at(103).height, 552);
    EXPECT_EQ(art.at(104).width, 184);
    EXPECT_EQ(art.at(104).height, 552);
    EXPECT_EQ(art.at(105).width, 1024);
    EXPECT_EQ(art.at(105).height, 201);
}

// Every piece of every face bitmap, fixed or repeated, column by column and row by row;
// on small screens the later bitmaps cover the earlier ones, and the inner area is the
// host's.
TEST(Face, DrawFacePaintsEveryPieceOfTheArt)
{
    Veltra veltra;
    const Image expected = ComposeFace(ExpectedFace(Screen()), DesignArt(veltra.module), Screen(), Untouched);
    EXPECT_EQ(FirstDifference(PaintFace(veltra), expected), "");
}

TEST(Face, DrawFaceOnAWindowShowsTheSamePicture)
{
    Veltra veltra;
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

TEST(Face, InnerAreaAndItsColour)
{
    Veltra veltra;
    const SIZE screen = Screen();
    RECT inner = {-1, -1, -1, -1};
    COLORREF colour = 0;
    EXPECT_EQ(veltra.GetBgkColorSize(&inner, &colour), &inner);
    EXPECT_EQ(inner.left, 11);
    EXPECT_EQ(inner.top, 15);
    EXPECT_EQ(inner.right, screen.cx - 184);
    EXPECT_EQ(inner.bottom, screen.cy - 201);
    EXPECT_EQ(colour, RGB(213, 237, 245));
    EXPECT_EQ(colour, 0xF5EDD5u);
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
    veltra.Unload();
    // Detach deletes in the order top, bottom, left, right, as DrawFace paints them.
    EXPECT_EQ(ledger.DeletedForeign(), expected);
    EXPECT_EQ(ledger.Calls("DeleteObject"), 4);
    EXPECT_TRUE(ledger.Faults().empty());
}

// The bottom strips' last insertions take up what the shares of the earlier ones leave.
TEST(Face, WorkedExamplesOfTheWidening)
{
    EXPECT_EQ(LastExtraWidths({1280, 1024}), (std::vector<int>{256, 56, 96}));
    EXPECT_EQ(LastExtraWidths({1024, 768}), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(LastExtraWidths({1920, 1080}), (std::vector<int>{896, 184, 336}));

    const auto face = ExpectedFace({1280, 1024});
    const auto rowsOf = [](const ExpectedBitmap& bitmap) {
        std::vector<std::pair<int, int>> rows;
        for (const Piece& piece : bitmap.pieces)
            rows.push_back({piece.area.top, piece.area.bottom});
        return rows;
    };
    const auto columnsOf = [](const ExpectedBitmap& bitmap) {
        std::vector<std::pair<int, int>> columns;
        for (const Piece& piece : bitmap.pieces)
            columns.push_back({piece.area.left, piece.area.right});
        return columns;
    };
    using Runs = std::vector<std::pair<int, int>>;
    EXPECT_EQ(columnsOf(face[0]), (Runs{{0, 100}, {100, 356}, {356, 1280}}));
    EXPECT_EQ(rowsOf(face[2]), (Runs{{0, 100}, {100, 228}, {228, 578}, {578, 706}, {706, 808}}));
    EXPECT_EQ(rowsOf(face[3]), (Runs{{0, 300}, {300, 556}, {556, 808}}));
    EXPECT_EQ(face[3].pieces[2].from.y, 300);
    // Second bottom strip: column 250 (after the insertions at 80, 190 and 245) moves 3 x 25.
    const Piece& around250 = face[1].pieces[3 + 6];
    EXPECT_EQ(around250.from.x, 245);
    EXPECT_EQ(around250.area.left, 245 + 3 * 25);
}
