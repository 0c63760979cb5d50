// The layout queries as a host makes them: rectangles for this screen, colours, and
// bitmaps that become the host's.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "tests/host/expected_face.h"
#include "tests/host/host.h"
#include "tests/support/image.h"
#include "tests/support/ledger.h"

namespace {

using Values = std::array<INT32, 4>;

constexpr INT32 Untouched = 0x7E7E7E7E;
constexpr Values Fresh = {Untouched, Untouched, Untouched, Untouched};

// What a query reports that follows the screen, as the query table writes it: a rectangle
// (left, top, right, bottom), a position (x, y; the other two values left as they were),
// or the width and height of the bitmap it cuts (code 20's third bitmap).
enum class Reports { Rectangle, Position, CutSize };

struct PlaceCase {
    int code;
    Reports what;
    std::vector<ScreenExpr> values;  // four for a rectangle, two otherwise
};

const PlaceCase PlaceCases[] = {
    {0, Reports::Rectangle, {WMinus(171), Const(125), WMinus(15), Const(138)}},
    {1, Reports::Rectangle, {WMinus(171), Const(141), WMinus(15), Const(164)}},
    {2, Reports::Rectangle, {WMinus(124), Const(167), WMinus(36), Const(179)}},
    {3, Reports::Rectangle, {WMinus(177), Const(242), WMinus(8), HMinus(176)}},
    {4, Reports::Rectangle, {Const(17), HMinus(169), WMinus(14), HMinus(62)}},
    {5, Reports::Position, {WMinus(179), Const(18)}},
    {6, Reports::Rectangle, {Const(5), Const(6), Const(165), Const(116)}},
    {20, Reports::CutSize, {WMinus(31), Const(107)}},
};

// The values of a code's place on this screen, in the order of the table.
std::vector<INT32> PlaceOf(int code, SIZE screen = Screen())
{
    std::vector<INT32> values;
    for (const PlaceCase& c : PlaceCases)
        if (c.code == code)
            for (const ScreenExpr& e : c.values)
                values.push_back(e.At(screen));
    return values;
}

std::string Written(const PlaceCase& c)
{
    std::string text;
    for (const ScreenExpr& e : c.values)
        text += (text.empty() ? "" : ", ") + Describe(e);
    return "code " + std::to_string(c.code) + ": (" + text + ")";
}

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

// Every rectangle, position and cut size on this screen, from the table's expressions:
// every screen the suite runs on checks them all, and so does every screen the library is
// fitted to, and this one again. At a scale they are that scale times the values on the
// laid-out screen.
TEST_F(Queries, PlacesFollowTheScreen)
{
    for (const ScaledScreen& fitted : FittedScreens()) {
        SCOPED_TRACE(std::to_string(fitted.size.cx) + "x" + std::to_string(fitted.size.cy) + " at " +
                     std::to_string(fitted.scale));
        ASSERT_EQ(veltra.FitScreenScaled(fitted.size.cx, fitted.size.cy, fitted.scale), fitted.scale);
        for (const PlaceCase& c : PlaceCases) {
            SCOPED_TRACE(Written(c));
            std::vector<INT32> want = PlaceOf(c.code, fitted.Layout());
            for (INT32& value : want)
                value *= fitted.scale;
            int result = 0;
            const Values got = Ask(c.code, Fresh, &result);
            EXPECT_EQ(result, 1);
            switch (c.what) {
            case Reports::Rectangle:
                EXPECT_EQ(got, (Values{want[0], want[1], want[2], want[3]}));
                break;
            case Reports::Position:
                EXPECT_EQ(got, (Values{want[0], want[1], Untouched, Untouched}));
                break;
            case Reports::CutSize: {
                BITMAP cut = {};
                EXPECT_EQ(GetObjectA(AsBitmap(got[2]), sizeof cut, &cut), static_cast<int>(sizeof cut));
                EXPECT_EQ(cut.bmWidth, want[0]);
                EXPECT_EQ(cut.bmHeight, want[1]);
                Release(got, {0, 1, 2, 3});
                break;
            }
            }
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
    const std::vector<INT32> at = PlaceOf(5);
    int result = 0;
    for (INT32 notTheMarker : {0, Untouched, VELTRA_QUERY_MARKER + 1}) {
        const Values values = Ask(5, {1, 2, notTheMarker, 4}, &result);
        EXPECT_EQ(values, (Values{at[0], at[1], notTheMarker, 4}));
        EXPECT_EQ(result, 1);
    }
    const Values values = Ask(5, {1, 2, VELTRA_QUERY_MARKER, 4}, &result);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(values[0], at[0]);
    EXPECT_EQ(values[1], at[1]);
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
    const Image cut = ReadBitmap(AsBitmap(first[2]));  // its size: PlacesFollowTheScreen
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
