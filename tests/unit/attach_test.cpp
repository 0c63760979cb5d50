// Attach and detach with the library's code linked into this program, so that the
// ledger sees the widening's temporaries, which a loaded DLL makes before any hook.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "common/library.h"
#include "entry/attach.h"
#include "face/bitmap_file.h"
#include "include/veltra1024.h"
#include "tests/support/image.h"
#include "tests/support/ledger.h"

namespace {

struct AttachCase {
    SIZE screen;
    int copies;                          // BitBlt calls of the whole widening
    std::vector<std::string> face;       // the face bitmaps kept, sorted
};

// At 1280 x 1024: top 2 + 3 (256 from a band of 100); left 3 + 4 + 4 (128 from 20, twice);
// right 2 + 3; bottom 3 (one strip of 256 from 300) + 10 + 20 (25 from bands of 40, 30,
// 10 x 5, 40; 56 from 40) + 7 + 23 (32 from 7, five times; 96 from 30).
const AttachCase AttachCases[] = {
    {{1024, 768}, 0, {"bitmap 1024x15", "bitmap 1024x201", "bitmap 11x552", "bitmap 184x552"}},
    {{1280, 1024}, 84, {"bitmap 11x808", "bitmap 1280x15", "bitmap 1280x201", "bitmap 184x808"}},
};

const AttachCase* CaseForThisScreen()
{
    const SIZE screen = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    for (const AttachCase& c : AttachCases)
        if (c.screen.cx == screen.cx && c.screen.cy == screen.cy)
            return &c;
    return nullptr;
}

}  // namespace

TEST(Attach, KeepsOnlyTheFaceAndDetachReleasesIt)
{
    const AttachCase* expected = CaseForThisScreen();
    if (!expected)
        GTEST_SKIP() << "no figures for this screen";
    Ledger ledger(GetModuleHandleA(nullptr));
    AttachLibrary(GetModuleHandleA(nullptr));

    EXPECT_EQ(Library.ScreenWidth, expected->screen.cx);
    EXPECT_EQ(Library.ScreenHeight, expected->screen.cy);
    EXPECT_TRUE(Library.HandCursor);
    EXPECT_EQ(ledger.Calls("BitBlt"), expected->copies);
    EXPECT_EQ(ledger.Calls("GetDC"), ledger.Calls("ReleaseDC"));
    EXPECT_EQ(ledger.Calls("CreateCompatibleDC"), ledger.Calls("DeleteDC"));
    std::vector<std::string> kept;
    for (HBITMAP face : {Library.FaceTop, Library.FaceBottom, Library.FaceLeft, Library.FaceRight})
        kept.push_back(DescribeObject(face));
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(kept, expected->face);
    EXPECT_EQ(ledger.Alive().size(), 4u);
    EXPECT_TRUE(ledger.Faults().empty()) << ledger.Faults().front();

    DetachLibrary();
    EXPECT_TRUE(ledger.Alive().empty());
    EXPECT_TRUE(ledger.Faults().empty());
}

// The system refusing any one of attach's creations (a face bitmap, a DC, a widened copy)
// leaves a library that paints what it has and gives everything back at detach. A face
// bitmap whose widening was refused keeps its design art; the others are whole.
TEST(Attach, EachRefusedCreationLeavesNothingAfterDetach)
{
    const HMODULE module = GetModuleHandleA(nullptr);
    HBITMAP LibraryState::*const faces[] = {&LibraryState::FaceTop, &LibraryState::FaceLeft,
                                            &LibraryState::FaceRight, &LibraryState::FaceBottom};
    std::vector<Image> design, widened;
    int creations = 0;
    {
        Ledger ledger(module);
        AttachLibrary(module);
        creations = ledger.Creations();  // this program's own reads below are watched too
        for (size_t i = 0; i < std::size(faces); ++i) {
            design.push_back(LoadArt(module, IdFaceTop + static_cast<int>(i)));
            widened.push_back(ReadBitmap(Library.*faces[i]));
        }
        DetachLibrary();
    }
    ASSERT_GT(creations, 0);
    for (int n = 1; n <= creations; ++n) {
        Ledger ledger(module);
        ledger.FailCreation(n);
        AttachLibrary(module);
        // With a load refused, the others fill the frame without it: no art to compare with.
        const bool allLoaded = std::all_of(std::begin(faces), std::end(faces), [](auto face) { return Library.*face; });
        for (size_t i = 0; i < std::size(faces) && allLoaded; ++i) {
            const Image shown = ReadBitmap(Library.*faces[i]);
            EXPECT_TRUE(FirstDifference(shown, widened[i]).empty() || FirstDifference(shown, design[i]).empty())
                << "creation " << n << ": face bitmap " << IdFaceTop + i << " is neither its art nor its widening";
        }
        {
            const HDC screen = GetDC(nullptr);
            const HDC canvas = CreateCompatibleDC(screen);
            const HBITMAP picture = CreateCompatibleBitmap(screen, Library.ScreenWidth, Library.ScreenHeight);
            const HGDIOBJ old = SelectObject(canvas, picture);
            DrawFace(canvas);
            SelectObject(canvas, old);
            DeleteObject(picture);
            DeleteDC(canvas);
            ReleaseDC(nullptr, screen);
        }
        DetachLibrary();
        EXPECT_TRUE(ledger.Failed()) << "creation " << n;
        EXPECT_EQ(ledger.Alive(), std::vector<std::string>{}) << "creation " << n;
        EXPECT_EQ(ledger.Faults(), std::vector<std::string>{}) << "creation " << n;
    }
}

// The logo check adds header sizes in 64 bits: an info header size that a 32-bit sum
// wraps round to a small number (14 + 0xFFFFFFFF is 13) must not pass for a sound file.
TEST(LogoCheck, RefusesAnInfoHeaderSizeThatWouldWrapRound)
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "veltra_wrapping_logo.bmp";
    WriteBmp(path, 8, 8, [](int x, int y) { return static_cast<uint32_t>(x * 16 + y); });
    EXPECT_TRUE(IsCompleteBitmapFile(path.c_str()));
    {
        std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
        const DWORD size = 0xFFFFFFFF;
        file.seekp(sizeof(BITMAPFILEHEADER));
        file.write(reinterpret_cast<const char*>(&size), sizeof size);
    }
    EXPECT_FALSE(IsCompleteBitmapFile(path.c_str()));
    DeleteFileA(path.c_str());
}
