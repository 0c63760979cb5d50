// The layout queries as a host makes them: rectangles for this screen, colours, and
// bitmaps that become the host's.
#include <gtest/gtest.h>

#include <array>

#include "tests/host/expected_face.h"
#include "tests/host/host.h"
#include "tests/support/image.h"
#include "tests/support/ledger.h"

namespace {

using Values = std::array<INT32, 4>;

constexpr INT32 Untouched = 0x7E7E7E7E;
constexpr Values Fresh = {Untouched, Untouched, Untouched, Untouched};

const SIZE RectScreens[] = {{1024, 768}, {1280, 1024}, {800, 600}};

struct RectCase {
    int code;
    Values rects[3];  // at the screens of RectScreens
};

const RectCase RectCases[] = {
    {0, {{853, 125, 1009, 138}, {1109, 125, 1265, 138}, {629, 125, 785, 138}}},
    {1, {{853, 141, 1009, 164}, {1109, 141, 1265, 164}, {629, 141, 785, 164}}},
    {2, {{900, 167, 988, 179}, {1156, 167, 1244, 179}, {676, 167, 764, 179}}},
    {3, {{847, 242, 1016, 592}, {1103, 242, 1272, 848}, {623, 242, 792, 424}}},
    {4, {{17, 599, 1010, 706}, {17, 855, 1266, 962}, {17, 431, 786, 538}}},
    {6, {{5, 6, 165, 116}, {5, 6, 165, 116}, {5, 6, 165, 116}}},
};

struct ColourCase {
    int code;
    Values colours;
};

const ColourCase ColourCases[] = {
    {10, {0x000000, 0x00BF00, 0x002700, Untouched}},
    {11, {0x000000, 0x00BF00, 0x002700, Untouched}},
    {12, {0x000000, 0x00BF00, 0x002700, Untouched}},
    {13, {0xFFFFFF, 0x0000CF, 0x9A9A9A, 0x9A9A9A}},
    {14, {0x0000FF, 0x0099FF, 0x6EE3EE, Untouched}},
};

HBITMAP AsBitmap(INT32 value) { return reinterpret_cast<HBITMAP>(static_cast<INT_PTR>(value)); }

// A bitmap of resource id in the DLL: its size and bits per pixel as shipped.
struct Shipped {
    int id;
    SIZE size;
    int bits;
};

Shipped Resource(HMODULE module, int id)
{
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), RT_BITMAP);
    if (!found)
        return {id, {0, 0}, 0};
    const auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module, found)));
    return {id, {header->biWidth, header->biHeight}, header->biBitCount};
}

}  // namespace

class Queries : public ::testing::Test {
protected:
    Values Ask(int code, Values values = Fresh, int* result = nullptr)
    {
        const int answer = veltra.GetObjectRect(code, values.data());
        if (result)
            *result = answer;
        return values;
    }

    void Release(const Values& values, std::initializer_list<int> slots)
    {
        for (int slot : slots)
            EXPECT_TRUE(DeleteObject(AsBitmap(values[slot]))) << "slot " << slot;
    }

    Veltra veltra;
};

TEST_F(Queries, RectanglesFollowTheScreen)
{
    const SIZE screen = Screen();
    for (int column = 0; column < 3; ++column) {
        if (RectScreens[column].cx != screen.cx || RectScreens[column].cy != screen.cy)
            continue;
        for (const RectCase& c : RectCases) {
            SCOPED_TRACE(c.code);
            int result = 0;
            EXPECT_EQ(Ask(c.code, Fresh, &result), c.rects[column]);
            EXPECT_EQ(result, 1);
        }
    }
}

TEST_F(Queries, ColoursAreFixedAndLeaveTheRestAlone)
{
    for (const ColourCase& c : ColourCases) {
        SCOPED_TRACE(c.code);
        int result = 0;
        EXPECT_EQ(Ask(c.code, Fresh, &result), c.colours);
        EXPECT_EQ(result, 1);
    }
}

TEST_F(Queries, ThePanelFramePositionAndItsBitmapOnlyOnRequest)
{
    const SIZE screen = Screen();
    int result = 0;
    for (INT32 notTheMarker : {0, Untouched, VELTRA_QUERY_MARKER + 1}) {
        const Values values = Ask(5, {1, 2, notTheMarker, 4}, &result);
        EXPECT_EQ(values, (Values{screen.cx - 179, 18, notTheMarker, 4}));
        EXPECT_EQ(result, 1);
    }
    const Values values = Ask(5, {1, 2, VELTRA_QUERY_MARKER, 4}, &result);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(values[0], screen.cx - 179);
    EXPECT_EQ(values[1], 18);
    EXPECT_EQ(values[3], 4);
    const Image frame = ReadBitmap(AsBitmap(values[2]));
    EXPECT_EQ(frame.width, 172);
    EXPECT_EQ(frame.height, 122);
    // The host keys the corners out: they are exactly magenta.
    for (const auto& [x, y] : {std::pair{0, 0}, {171, 0}, {0, 121}, {171, 121}})
        EXPECT_EQ(frame.At(x, y), 0xFF00FFu) << x << ", " << y;
    EXPECT_NE(frame.At(85, 61), 0xFF00FFu);
    Release(values, {2});
}

TEST_F(Queries, UnknownCodesWriteNothing)
{
    std::vector<int> known;
    for (int code : {-1, -2, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23,
                     100, 256, 0x7FFFFFFF, static_cast<int>(0x80000000)}) {
        int result = -1;
        const Values values = Ask(code, Fresh, &result);
        if (result == 0) {
            EXPECT_EQ(values, Fresh) << "code " << code;
        } else {
            known.push_back(code);
        }
        if (code == 20 || code == 21)
            Release(values, {0, 1, 2, 3});
        if (code == 5) {
            EXPECT_EQ(values[2], Untouched);
        }
    }
    EXPECT_EQ(known, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 10, 11, 12, 13, 14, 20, 21}));
    EXPECT_EQ(veltra.GetObjectRect(0, nullptr), 0);
}

// Each call hands out new bitmaps of the shipped sizes; the host owns and deletes them.
TEST_F(Queries, BitmapsAreNewOnEveryCallAndTheHosts)
{
    const SIZE screen = Screen();
    Ledger ledger(veltra.module);
    const Values first = Ask(20);
    const Values second = Ask(20);
    const Values bars = Ask(21);
    for (int slot = 0; slot < 4; ++slot)
        EXPECT_NE(first[slot], second[slot]);
    // The DCs of the cut are gone; only the twelve bitmaps remain, all the host's.
    EXPECT_EQ(ledger.Alive().size(), 12u);
    EXPECT_EQ(ledger.Calls("GetDC"), ledger.Calls("ReleaseDC"));
    EXPECT_EQ(ledger.Calls("CreateCompatibleDC"), ledger.Calls("DeleteDC"));
    EXPECT_TRUE(ledger.Faults().empty());

    const Shipped expected20[] = {{162, {145, 18}, 24}, {161, {145, 18}, 24}, {0, {}, 0}, {169, {585, 14}, 4}};
    for (int slot : {0, 1, 3}) {
        const Shipped& want = expected20[slot];
        const Shipped shipped = Resource(veltra.module, want.id);
        EXPECT_EQ(shipped.size.cx, want.size.cx);
        EXPECT_EQ(shipped.size.cy, want.size.cy);
        EXPECT_EQ(shipped.bits, want.bits);
        EXPECT_EQ(FirstDifference(ReadBitmap(AsBitmap(first[slot])), LoadArt(veltra.module, want.id)), "");
    }
    const Image cut = ReadBitmap(AsBitmap(first[2]));
    EXPECT_EQ(cut.width, screen.cx - 31);
    EXPECT_EQ(cut.height, 107);
    const int barIds[] = {165, 166, 167, 168};
    for (int slot = 0; slot < 4; ++slot) {
        const Shipped shipped = Resource(veltra.module, barIds[slot]);
        EXPECT_EQ(shipped.size.cx, 585);
        EXPECT_EQ(shipped.size.cy, 14);
        EXPECT_EQ(shipped.bits, 4);
        EXPECT_EQ(FirstDifference(ReadBitmap(AsBitmap(bars[slot])), LoadArt(veltra.module, barIds[slot])), "");
    }

    // Deleting one set leaves the other whole.
    Release(second, {0, 1, 2, 3});
    EXPECT_EQ(FirstDifference(ReadBitmap(AsBitmap(first[2])), cut), "");
    Release(first, {0, 1, 2, 3});
    Release(bars, {0, 1, 2, 3});  // each a bitmap of its own: every delete succeeds
}

// The cut is the bottom face under the bottom panel's rectangle, always from inside the
// bottom face bitmap; where nothing covers the bottom face, it is exactly what DrawFace
// shows there.
TEST_F(Queries, TheCutIsTheBottomFaceUnderTheBottomPanel)
{
    const SIZE screen = Screen();
    const Values values = Ask(20);
    const Image cut = ReadBitmap(AsBitmap(values[2]));
    Release(values, {0, 1, 2, 3});

    std::vector<ExpectedBitmap> face = ExpectedFace(screen);
    ExpectedBitmap bottom = face[1];
    bottom.at = {0, 0};
    std::map<int, Image> art = {{105, LoadArt(veltra.module, 105)}};
    const Image bottomFace = ComposeFace({bottom}, art, bottom.size, 0);
    EXPECT_EQ(FirstDifference(cut, Crop(bottomFace, RECT{17, 32, screen.cx - 14, 139})), "");

    if (screen.cx >= 1024 && screen.cy >= 768) {
        Canvas canvas(screen.cx, screen.cy, 0);
        veltra.DrawFace(canvas.dc());
        const Image painted = canvas.Read();
        const Values panel = Ask(4);
        EXPECT_EQ(FirstDifference(cut, Crop(painted, RECT{panel[0], panel[1], panel[2], panel[3]})), "");
    }
}
