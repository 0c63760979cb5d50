// Slip controls as a host drives them: through the factory and the interface, with real
// mouse and edit-box messages, watching values, notifications, pixels and the ledger.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "tests/host/library_test.h"
#include "tests/support/image.h"

namespace {

// The place and size of each type, as the slip factory's table writes them: the window is
// its track's size, and the seek track (type 0) grows by as much as the screen is wider
// than the design.
struct SlipCase {
    UINT code;
    ScreenExpr left, top, width, height;
};

const SlipCase SlipCases[] = {
    {0, Const(15), HMinus(191), PlusPastDesign(646), Const(20)},
    {1, WMinus(329), HMinus(190), Const(134), Const(14)},
    {10, Const(5), Const(6), Const(13), Const(96)},
};

// Track, thumb and marker art of each type.
struct SlipArt {
    UINT code;
    int track, thumb, startMarker, endMarker;
    bool horizontal;
};

const SlipArt SlipArts[] = {{0, 117, 116, 170, 171, true}, {1, 119, 118, 0, 0, true}, {10, 174, 175, 0, 0, false}};

const SlipArt& ArtOf(UINT code)
{
    for (const SlipArt& art : SlipArts)
        if (art.code == code)
            return art;
    return SlipArts[0];
}

struct Event {
    int id;
    INT_PTR user;
    int code;
    bool operator==(const Event& other) const { return id == other.id && user == other.user && code == other.code; }
};

std::ostream& operator<<(std::ostream& out, const Event& e)
{
    return out << "{" << e.id << ", " << e.user << ", " << e.code << "}";
}

std::vector<Event> events;
void (*onEvent)(const Event&) = nullptr;

void WINAPI Record(int id, INT_PTR user, int code)
{
    events.push_back({id, user, code});
    if (onEvent)
        onEvent(events.back());
}

constexpr INT_PTR UserValue = 0xBEEF;
constexpr uint32_t Magenta = 0xFF00FF;

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

// The window's update region as a list of rectangles, after all it asked to repaint.
std::vector<RECT> UpdateRects(HWND window)
{
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    GetUpdateRgn(window, region, FALSE);
    std::vector<RECT> rects;
    const DWORD size = GetRegionData(region, 0, nullptr);
    std::vector<char> data(size);
    auto* header = reinterpret_cast<RGNDATA*>(data.data());
    if (size && GetRegionData(region, size, header)) {
        const RECT* first = reinterpret_cast<const RECT*>(header->Buffer);
        rects.assign(first, first + header->rdh.nCount);
    }
    DeleteObject(region);
    return rects;
}

int Pixels(const std::vector<RECT>& rects)
{
    int count = 0;
    for (const RECT& r : rects)
        count += (r.right - r.left) * (r.bottom - r.top);
    return count;
}

}  // namespace

class SlipTest : public ControlTest<ISlipControl> {
protected:
    void SetUp() override
    {
        events.clear();
        onEvent = nullptr;
        LibraryTest::SetUp();
    }

    void DestroyControls() override
    {
        onEvent = nullptr;
        ControlTest::DestroyControls();
    }

    ISlipControl* Make(UINT code, SlipNotifyProc notify = Record)
    {
        ISlipControl* slip = nullptr;
        veltra->FactroySlipControl(&slip, code, *host, notify, UserValue);
        return Keep(slip);
    }

    static SIZE ClientSize(ISlipControl* slip)
    {
        RECT client;
        GetClientRect(WindowOf(slip), &client);
        return SIZE{client.right, client.bottom};
    }

    // The slip's picture as it must look: its track as shown, the markers at their
    // positions, the thumb at position with its magenta keyed out.
    Image Expected(ISlipControl* slip, UINT code, int thumbAt, int startAt = -1, int endAt = -1)
    {
        const SlipArt& art = ArtOf(code);
        Image picture = Track(slip, code);
        const auto stamp = [&](int id, int along, int across, bool keyed) {
            const Image part = LoadArt(veltra->module, id);
            for (int y = 0; y < part.height; ++y)
                for (int x = 0; x < part.width; ++x) {
                    const int px = art.horizontal ? along + x : across + x;
                    const int py = art.horizontal ? across + y : along + y;
                    if ((keyed && part.At(x, y) == Magenta) || px >= picture.width || py >= picture.height)
                        continue;
                    picture.pixels[static_cast<size_t>(py) * picture.width + px] = part.At(x, y);
                }
        };
        if (startAt >= 0)
            stamp(art.startMarker, startAt, 4, false);
        if (endAt >= 0)
            stamp(art.endMarker, endAt, 4, false);
        stamp(art.thumb, thumbAt, 0, true);
        return picture;
    }

    // The track as this screen shows it: the seek track widened by repeating its artwork
    // from column 100 in bands of at most 400 columns.
    Image Track(ISlipControl* slip, UINT code)
    {
        const Image art = LoadArt(veltra->module, ArtOf(code).track);
        const int extra = ClientSize(slip).cx - art.width;
        if (extra <= 0)
            return art;
        Image wide;
        wide.width = art.width + extra;
        wide.height = art.height;
        for (int y = 0; y < art.height; ++y)
            for (int x = 0; x < wide.width; ++x) {
                const int source = x < 100 ? x : x < 100 + extra ? 100 + (x - 100) % std::min(extra, 400) : x - extra;
                wide.pixels.push_back(art.At(source, y));
            }
        return wide;
    }
};

class SlipPlaces : public SlipTest {};
class Slips : public SlipTest {};

TEST_F(SlipPlaces, EachTypeAtItsPlaceTheTrackItsSize)
{
    const SIZE screen = Screen();
    Make(0);
    // Only a wider screen makes a widened copy of the seek track.
    EXPECT_EQ(ledger->Calls("CreateCompatibleBitmap"), screen.cx > 1024 ? 1 : 0);
    for (const SlipCase& c : SlipCases) {
        SCOPED_TRACE(c.code);
        ISlipControl* slip = Make(c.code);
        ASSERT_TRUE(slip);
        const HWND window = WindowOf(slip);
        RECT rect;
        GetWindowRect(window, &rect);
        MapWindowPoints(nullptr, *host, reinterpret_cast<POINT*>(&rect), 2);
        // From the table's expressions: every screen the suite runs on checks all three.
        EXPECT_EQ(rect.left, c.left.At(screen)) << "left = " << Describe(c.left);
        EXPECT_EQ(rect.top, c.top.At(screen)) << "top = " << Describe(c.top);
        EXPECT_EQ(rect.right - rect.left, c.width.At(screen)) << "width = " << Describe(c.width);
        EXPECT_EQ(rect.bottom - rect.top, c.height.At(screen)) << "height = " << Describe(c.height);
        char className[64] = {};
        GetClassNameA(window, className, sizeof className);
        EXPECT_STREQ(className, "QUOVEN_BASEWINDOW1");
        EXPECT_EQ(GetClassLongA(window, GCL_STYLE), CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS);
        EXPECT_EQ(GetWindowLongA(window, GWL_STYLE), 0x50000003);
        EXPECT_EQ(GetDlgCtrlID(window), 0);
    }
}

// The track and the thumb at rest, and on a wider screen the seek track's repeated band.
TEST_F(SlipPlaces, EachTypePaintsItsTrackAndThumb)
{
    for (const SlipArt& art : SlipArts) {
        SCOPED_TRACE(art.code);
        ISlipControl* slip = Make(art.code);
        ASSERT_TRUE(slip);
        // A fresh slip rests at position 0: the left end, or the top of a vertical one.
        // Only what lies on the screen can be read back (the seek slip outruns 640 x 480).
        const RECT shown = OnScreen(WindowOf(slip));
        EXPECT_EQ(FirstDifference(Crop(Capture(WindowOf(slip)), shown), Crop(Expected(slip, art.code, 0), shown)), "");
    }
}

TEST_F(SlipPlaces, UnknownTypesGiveNullAndLoadNothing)
{
    for (UINT code : {2u, 9u, 11u, 0xFFFFFFFFu}) {
        ISlipControl* slip = reinterpret_cast<ISlipControl*>(1);
        veltra->FactroySlipControl(&slip, code, *host, Record, UserValue);
        EXPECT_EQ(slip, nullptr) << code;
    }
    EXPECT_EQ(ledger->Calls("LoadBitmapA"), 0);
    EXPECT_EQ(ledger->Calls("CreateWindowExA"), 0);
}

TEST_F(SlipPlaces, AFailedWindowGivesEveryBitmapBack)
{
    for (UINT code : {0u, 1u, 10u}) {
        ISlipControl* slip = reinterpret_cast<ISlipControl*>(1);
        veltra->FactroySlipControl(&slip, code, reinterpret_cast<HWND>(0x1234), Record, UserValue);
        EXPECT_EQ(slip, nullptr) << code;
    }
    EXPECT_EQ(ledger->Calls("LoadBitmapA"), 4 + 2 + 2);
}

struct ValueCase {
    UINT code;
    int minimum, maximum;
    UINT value;
    int position;  // where the thumb is drawn along the axis
    int read;      // what GetValue gives back
};

// Values through the range: placed, drawn, read back; outside the range at the ends, with
// unsigned comparisons (-1 is above every maximum). A range below zero orders as a host
// expects; in one that crosses zero a negative value counts as a large one.
const ValueCase ValueCases[] = {
    {1, 0, 100, 25, 30, 25},      {1, 0, 100, 100, 120, 100},   {1, 0, 100, 0xFFFFFFFF, 120, 100},
    {10, 0, 41, 41, 0, 41},       {10, 0, 41, 0, 82, 0},        {10, 0, 41, 20, 42, 20},
    {10, 10, 110, 110, 0, 110},   {10, 10, 110, 10, 82, 10},    {10, 10, 110, 5, 82, 10},
    {10, 10, 110, 200, 0, 110},   {10, 0, 100, 0xFFFFFFFF, 0, 100},
    {1, -200, -100, static_cast<UINT>(-150), 60, -150},     {1, -10, 10, static_cast<UINT>(-10), 120, 10},
    {1, 0, 7, 1, 17, 1},  {1, 0, 7, 5, 85, 5},  {1, 0, 13, 7, 64, 7},  // positions between pixels read back whole
};

TEST_F(Slips, ValuesArePlacedDrawnAndReadBack)
{
    for (const ValueCase& c : ValueCases) {
        SCOPED_TRACE(::testing::Message() << "type " << c.code << " range " << c.minimum << ".." << c.maximum
                                          << " value " << c.value);
        ISlipControl* slip = Make(c.code);
        slip->SetRange(c.minimum, c.maximum);
        slip->SetValue(c.value);
        EXPECT_EQ(slip->GetValue(), c.read);
        EXPECT_EQ(FirstDifference(Capture(WindowOf(slip)), Expected(slip, c.code, c.position)), "");
        slip->Destroy();
        made.pop_back();
    }
}

// The seek slider's travel grows with the screen; a value in the middle of the range sits
// in the middle of it (314 of 628 at 1024 pixels).
TEST_F(Slips, TheSeekThumbSpansTheWidenedTrack)
{
    ISlipControl* slip = Make(0);
    const int travel = ClientSize(slip).cx - 18;
    slip->SetRange(0, 1000);
    slip->SetValue(500);
    EXPECT_EQ(slip->GetValue(), 500);
    EXPECT_EQ(FirstDifference(Capture(WindowOf(slip)), Expected(slip, 0, travel / 2)), "");
}

TEST_F(Slips, SetRangeMovesAndRepaintsNothing)
{
    ISlipControl* slip = Make(1);
    slip->SetRange(0, 100);
    slip->SetValue(50);  // the thumb at 60
    const int repaints = ledger->Calls("InvalidateRgn") + ledger->Calls("InvalidateRect");
    slip->SetRange(0, 200);
    EXPECT_EQ(ledger->Calls("InvalidateRgn") + ledger->Calls("InvalidateRect"), repaints);
    EXPECT_EQ(slip->GetValue(), 100);
}

TEST_F(Slips, AnEmptyRangeHoldsItsOneValue)
{
    ISlipControl* slip = Make(1);
    slip->SetRange(7, 7);
    for (UINT value : {0u, 7u, 8u}) {
        slip->SetValue(value);
        EXPECT_EQ(slip->GetValue(), 7);
    }
}

TEST_F(Slips, MarkersAreSetReadAndCleared)
{
    ISlipControl* slip = Make(0);
    EXPECT_EQ(slip->GetStartMarker(), 0);
    EXPECT_EQ(slip->GetEndMarker(), 0);
    const int travel = ClientSize(slip).cx - 11;  // a marker is 11 pixels wide
    slip->SetRange(0, travel);
    slip->SetStartMarker(100);
    slip->SetEndMarker(300);
    EXPECT_EQ(slip->GetStartMarker(), 100);
    EXPECT_EQ(slip->GetEndMarker(), 300);
    slip->SetValue(travel + 7);  // thumb to the far end, clear of the markers
    EXPECT_EQ(FirstDifference(Capture(WindowOf(slip)), Expected(slip, 0, ClientSize(slip).cx - 18, 100, 300)), "");

    const int before = ledger->Calls("InvalidateRgn");
    slip->ClearMarkers(0);
    EXPECT_EQ(ledger->Calls("InvalidateRgn"), before);
    slip->ClearMarkers(VELTRA_START_MARKER);
    EXPECT_EQ(slip->GetStartMarker(), 0);
    EXPECT_EQ(slip->GetEndMarker(), 300);
    slip->ClearMarkers(VELTRA_START_MARKER | VELTRA_END_MARKER);  // one invalidation for both
    EXPECT_EQ(ledger->Calls("InvalidateRgn"), before + 2);
    EXPECT_EQ(slip->GetEndMarker(), 0);
    EXPECT_EQ(FirstDifference(Capture(WindowOf(slip)), Expected(slip, 0, ClientSize(slip).cx - 18)), "");
}

// Moving the thumb asks to repaint exactly the old and the new place, nothing else.
TEST_F(Slips, AMoveInvalidatesOnlyTheOldAndNewPlaces)
{
    ISlipControl* slip = Make(1);
    const HWND window = WindowOf(slip);
    slip->SetRange(0, 120);
    UpdateWindow(window);
    slip->SetValue(30);
    // Set: the bands (whole height, no extra pixel) at 0 and at 30.
    EXPECT_EQ(Pixels(UpdateRects(window)), 2 * 14 * 14);
    UpdateWindow(window);
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, At(35, 7));
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, At(45, 7));
    // Drag: the thumb's rectangles (one pixel longer) at 30 and at 40, overlapping.
    EXPECT_EQ(Pixels(UpdateRects(window)), (55 - 30) * 14);
    SendMessageA(window, WM_LBUTTONUP, 0, At(45, 7));
    EXPECT_EQ(slip->GetValue(), 40);
}

TEST_F(Slips, ShowValueAndItsColourRepaintTheThumbOnly)
{
    ISlipControl* slip = Make(1);
    const HWND window = WindowOf(slip);
    slip->SetRange(0, 120);
    slip->SetValue(60);
    UpdateWindow(window);
    slip->ShowValue(TRUE);
    EXPECT_EQ(UpdateRects(window), (std::vector<RECT>{{60, 0, 75, 14}}));
    UpdateWindow(window);
    slip->SetValueColor(RGB(255, 255, 0));
    EXPECT_EQ(Pixels(UpdateRects(window)), 15 * 14);
    const Image shown = Capture(window);
    int yellow = 0;
    for (int y = 0; y < 14; ++y)
        for (int x = 0; x < shown.width; ++x)
            if (shown.At(x, y) == 0xFFFF00) {
                ++yellow;
                EXPECT_TRUE(x >= 60 && x < 75) << "text outside the thumb at " << x;
            }
    EXPECT_GT(yellow, 3);
    slip->ShowValue(FALSE);
    EXPECT_EQ(FirstDifference(Capture(window), Expected(slip, 1, 60)), "");
}

TEST_F(Slips, AThumbDragFollowsThePointerAndReportsEveryFourthMove)
{
    ISlipControl* slip = Make(1);
    const HWND window = WindowOf(slip);
    slip->SetRange(0, 120);
    slip->SetValue(20);
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, At(100, 7));  // anywhere: the thumb does not jump
    EXPECT_EQ(GetCapture(), window);
    EXPECT_EQ(slip->GetValue(), 20);
    for (int move = 1; move <= 8; ++move) {
        SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, At(100 + move, 7));
        EXPECT_EQ(slip->GetValue(), 20 + move);
        EXPECT_EQ(events.size(), static_cast<size_t>(move / 4)) << "after move " << move;
    }
    SendMessageA(window, WM_LBUTTONUP, 0, At(108, 7));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(events, (std::vector<Event>{{1, UserValue, VELTRA_SLIP_VALUE_CHANGED},
                                          {1, UserValue, VELTRA_SLIP_VALUE_CHANGED},
                                          {1, UserValue, VELTRA_SLIP_DRAG_ENDED}}));
    EXPECT_EQ(FirstDifference(Capture(window), Expected(slip, 1, 28)), "");
}

TEST_F(Slips, AThumbStopsAtTheEndsAndComesBackAtOnce)
{
    ISlipControl* slip = Make(10);  // vertical: the top is the maximum
    const HWND window = WindowOf(slip);
    slip->SetRange(0, 82);
    slip->SetValue(41);  // at 41
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, At(6, 50));
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, At(6, -200));  // captured: far above the window
    EXPECT_EQ(slip->GetValue(), 82);
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, At(6, -195));
    EXPECT_EQ(slip->GetValue(), 77);
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, At(6, 900));
    EXPECT_EQ(slip->GetValue(), 0);
    SendMessageA(window, WM_LBUTTONUP, 0, At(6, 50));  // back where it began: not a drag
    EXPECT_TRUE(events.empty());  // three moves, and no drag end
}

TEST_F(Slips, AThumbSetBetweenPixelsStopsAtTheEndExactly)
{
    ISlipControl* slip = Make(1);  // a travel of 120 pixels
    const HWND window = WindowOf(slip);
    slip->SetRange(0, 1000);
    slip->SetValue(999);  // 119.88 pixels along
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, At(125, 7));
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, At(126, 7));  // less than a pixel to go
    EXPECT_EQ(slip->GetValue(), 1000);
    SendMessageA(window, WM_LBUTTONUP, 0, At(126, 7));
}

TEST_F(Slips, APressAndReleaseInPlaceChangesNothingWithoutMarkers)
{
    for (UINT code : {1u, 10u}) {
        ISlipControl* slip = Make(code);
        slip->SetRange(0, 1000);
        slip->SetValue(500);
        SendMessageA(WindowOf(slip), WM_LBUTTONDOWN, MK_LBUTTON, At(3, 3));
        SendMessageA(WindowOf(slip), WM_LBUTTONUP, 0, At(3, 3));
        EXPECT_EQ(slip->GetValue(), 500);
        EXPECT_EQ(slip->GetStartMarker(), 0);
    }
    EXPECT_TRUE(events.empty());
}

// On the seek slider a click on the track places the start marker, a click at or after it
// the end marker, a click before it moves the start marker; nothing is reported.
TEST_F(Slips, ClicksPlaceTheMarkersAndPressesDragThem)
{
    ISlipControl* slip = Make(0);
    const HWND window = WindowOf(slip);
    const int markerTravel = ClientSize(slip).cx - 11;
    slip->SetRange(0, markerTravel);
    const auto click = [&](int x) {
        SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, At(x, 10));
        SendMessageA(window, WM_LBUTTONUP, 0, At(x, 10));
    };
    click(200);
    EXPECT_EQ(slip->GetStartMarker(), 200);
    EXPECT_EQ(slip->GetEndMarker(), 0);
    click(300);
    EXPECT_EQ(slip->GetEndMarker(), 300);
    click(100);
    EXPECT_EQ(slip->GetStartMarker(), 100);
    EXPECT_EQ(slip->GetEndMarker(), 300);
    // A marker is shown at once, drawn over the track.
    EXPECT_EQ(FirstDifference(Capture(window), Expected(slip, 0, 0, 100, 300)), "");

    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, At(305, 10));  // on the end marker
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, At(325, 10));
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, At(5000, 10));  // held at its travel
    SendMessageA(window, WM_LBUTTONUP, 0, At(5000, 10));
    EXPECT_EQ(slip->GetEndMarker(), markerTravel);
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, At(103, 10));  // on the start marker
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, At(-400, 10));
    SendMessageA(window, WM_LBUTTONUP, 0, At(-400, 10));
    EXPECT_EQ(slip->GetStartMarker(), 0);
    EXPECT_TRUE(events.empty());

    // A click on the thumb that does not move it places a marker where it was.
    slip->ClearMarkers(VELTRA_START_MARKER | VELTRA_END_MARKER);
    click(9);
    EXPECT_EQ(slip->GetStartMarker(), 9);
    EXPECT_EQ(slip->GetValue(), 0);
}

TEST_F(Slips, TheEditBoxOpensOnADoubleClickOnlyWithTheValueShown)
{
    ISlipControl* slip = Make(1);
    const HWND window = WindowOf(slip);
    slip->SetRange(0, 240);  // two values a pixel
    slip->SetValue(120);
    SendMessageA(window, WM_LBUTTONDBLCLK, MK_LBUTTON, At(65, 7));
    EXPECT_EQ(FindWindowExA(window, nullptr, "EDIT", nullptr), nullptr);

    slip->ShowValue(TRUE);
    SendMessageA(window, WM_LBUTTONDBLCLK, MK_LBUTTON, At(65, 7));
    const HWND box = FindWindowExA(window, nullptr, "EDIT", nullptr);
    ASSERT_TRUE(box);
    EXPECT_EQ(GetDlgCtrlID(box), 3210);
    EXPECT_EQ(GetFocus(), box);
    char text[16] = {};
    GetWindowTextA(box, text, sizeof text);
    EXPECT_STREQ(text, "120");
    RECT place;
    GetWindowRect(box, &place);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
    EXPECT_EQ(place.left, 60);
    EXPECT_EQ(place.right - place.left, 15 + 3);
    // Opening it re-reads the value it shows: one report.
    EXPECT_EQ(events, (std::vector<Event>{{1, UserValue, VELTRA_SLIP_VALUE_CHANGED}}));

    SetWindowTextA(box, "7");
    EXPECT_EQ(slip->GetValue(), 7);
    GetWindowRect(box, &place);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
    EXPECT_EQ(place.left, 3);  // the box follows the thumb, at 3.5
    EXPECT_EQ(events.size(), 2u);
    SetWindowTextA(box, "-5");  // above every maximum, read as unsigned
    EXPECT_EQ(slip->GetValue(), 240);
    SetWindowTextA(box, "1234");  // three characters at most
    EXPECT_EQ(slip->GetValue(), 123);
    SetWindowTextA(box, "99");
    EXPECT_EQ(slip->GetValue(), 99);

    // The press that closes the box does nothing else; losing the focus closes it.
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, At(10, 7));
    EXPECT_FALSE(IsWindow(box));
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, At(30, 7));
    SendMessageA(window, WM_LBUTTONUP, 0, At(30, 7));
    EXPECT_EQ(slip->GetValue(), 99);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Slips, LosingTheFocusClosesTheBoxAndTheNextPressIsSwallowed)
{
    ISlipControl* slip = Make(1);
    const HWND window = WindowOf(slip);
    slip->SetRange(0, 120);
    slip->ShowValue(TRUE);
    SendMessageA(window, WM_LBUTTONDBLCLK, MK_LBUTTON, At(5, 7));
    const HWND box = FindWindowExA(window, nullptr, "EDIT", nullptr);
    ASSERT_TRUE(box);
    SetFocus(*host);
    EXPECT_FALSE(IsWindow(box));
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 7));
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, At(50, 7));
    EXPECT_EQ(slip->GetValue(), 0);
    SendMessageA(window, WM_LBUTTONUP, 0, At(50, 7));
}

TEST_F(Slips, RightReleasesAreReportedAndTheCursorIsTheHand)
{
    ISlipControl* slip = Make(10);
    const HWND window = WindowOf(slip);
    SendMessageA(window, WM_RBUTTONDOWN, MK_RBUTTON, At(3, 3));
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(GetCapture(), nullptr);
    SendMessageA(window, WM_RBUTTONUP, 0, At(3, 3));
    EXPECT_EQ(events, (std::vector<Event>{{10, UserValue, VELTRA_SLIP_RIGHT_CLICK}}));
    EXPECT_EQ(SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              1);
    EXPECT_EQ(GetCursor(), LoadCursorA(veltra->module, MAKEINTRESOURCEA(1000)));
}

// Each notification, whatever brings it: the host may destroy the slip there, and the
// slip touches nothing of itself afterwards (the page heap would fault). The last step
// of each case brings the notification that destroys.
TEST_F(Slips, TheHostMayDestroyASlipFromEachOfItsCallbacks)
{
    struct Step {
        UINT msg;  // 0: "7" typed into the edit box
        int x;
    };
    const struct {
        const char* name;
        int code;
        std::vector<Step> steps;
    } cases[] = {
        {"drag", VELTRA_SLIP_VALUE_CHANGED,
         {{WM_LBUTTONDOWN, 3}, {WM_MOUSEMOVE, 5}, {WM_MOUSEMOVE, 7}, {WM_MOUSEMOVE, 9}, {WM_MOUSEMOVE, 11}}},
        {"drag end", VELTRA_SLIP_DRAG_ENDED, {{WM_LBUTTONDOWN, 3}, {WM_MOUSEMOVE, 13}, {WM_LBUTTONUP, 13}}},
        {"right release", VELTRA_SLIP_RIGHT_CLICK, {{WM_RBUTTONUP, 3}}},
        {"edit box opening", VELTRA_SLIP_VALUE_CHANGED, {{WM_LBUTTONDBLCLK, 3}}},
        {"typed value", VELTRA_SLIP_VALUE_CHANGED, {{WM_LBUTTONDBLCLK, 3}, {0, 0}}},
    };
    onEvent = [](const Event& e) { DestroyVictimOn(e.code); };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        events.clear();
        ISlipControl* slip = Make(1);
        made.clear();
        slip->ShowValue(TRUE);
        const HWND window = WindowOf(slip);
        destroyOn = -1;
        for (const Step& step : c.steps) {
            if (&step == &c.steps.back()) {
                victim = slip;
                destroyOn = c.code;
            }
            if (step.msg)
                SendMessageA(window, step.msg, step.msg == WM_RBUTTONUP ? 0 : MK_LBUTTON, At(step.x, 7));
            else
                SetWindowTextA(FindWindowExA(window, nullptr, "EDIT", nullptr), "7");
        }
        EXPECT_FALSE(IsWindow(window));
        EXPECT_EQ(victim, nullptr);
        EXPECT_EQ(GetCapture(), nullptr);
    }
}

TEST_F(Slips, DestroyingASlipWithItsEditBoxOpenLeavesNothing)
{
    ISlipControl* slip = Make(0);
    slip->ShowValue(TRUE);
    SendMessageA(WindowOf(slip), WM_LBUTTONDBLCLK, MK_LBUTTON, At(5, 10));
    ASSERT_TRUE(FindWindowExA(WindowOf(slip), nullptr, "EDIT", nullptr));
    slip->Destroy();
    made.clear();
    EXPECT_EQ(GetCapture(), nullptr);
}

// ---- As a screen reader finds them (in processes of their own: asking keeps the library
// loaded).

class AccessibleSlips : public SlipTest {};

TEST_F(AccessibleSlips, EachTypeIsASliderWhoseValueIsWhatGetValueReads)
{
    const struct {
        UINT code;
        const char* name;
    } types[] = {{0, "Seek"}, {1, "Slider"}, {10, "Vertical slider"}};
    for (const auto& t : types) {
        SCOPED_TRACE(t.code);
        ISlipControl* slip = Make(t.code);
        ScreenReaderView view(WindowOf(slip));
        EXPECT_EQ(view.Role(), ROLE_SYSTEM_SLIDER);
        EXPECT_EQ(view.Name(), t.name);
        EXPECT_EQ(view.State(), STATE_SYSTEM_FOCUSABLE);
        EXPECT_EQ(view.DefaultAction(), "");
        slip->SetRange(-200, -100);
        slip->SetValue(static_cast<UINT>(-150));
        EXPECT_EQ(view.Value(), "-150");
        slip->SetRange(0, 41);
        slip->SetValue(20);
        EXPECT_EQ(view.Value(), std::to_string(slip->GetValue()));
        RECT place;
        GetWindowRect(WindowOf(slip), &place);
        const RECT location = view.Location();
        EXPECT_TRUE(EqualRect(&place, &location));
    }
}

// Set by a screen reader, a value does what typing it into the edit box does, once the
// screen reader's call has returned; what is no decimal number changes nothing.
TEST_F(AccessibleSlips, AValueSetByAScreenReaderDoesWhatTypingDoes)
{
    ISlipControl* slip = Make(1);
    const HWND window = WindowOf(slip);
    slip->SetRange(0, 240);  // two values a pixel
    slip->SetValue(120);
    ScreenReaderView view(window);
    WinEventLog heard;
    EXPECT_EQ(view.PutValue(L"7"), S_OK);
    EXPECT_EQ(slip->GetValue(), 120);
    EXPECT_TRUE(events.empty());
    Pump(0);
    EXPECT_EQ(slip->GetValue(), 7);
    EXPECT_EQ(FirstDifference(Capture(window), Expected(slip, 1, 3)), "");
    EXPECT_EQ(events, (std::vector<Event>{{1, UserValue, VELTRA_SLIP_VALUE_CHANGED}}));
    EXPECT_EQ(heard.For(window), std::vector<DWORD>{EVENT_OBJECT_VALUECHANGE});
    for (const wchar_t* text : {L"", L"-", L"4x", L" 12", L"12 ", L"0x10", L"4294967296", L"-2147483649"}) {
        SCOPED_TRACE(::testing::Message() << "\"" << std::wstring(text).size() << " characters\"");
        EXPECT_EQ(view.PutValue(text), E_INVALIDARG);
    }
    EXPECT_EQ(view->put_accValue(Self(), nullptr), E_INVALIDARG);
    EXPECT_EQ(slip->GetValue(), 7);
    EXPECT_EQ(events.size(), 1u);
    for (const auto& [text, read] : {std::pair{L"+200", "200"}, {L"-5", "240"}, {L"4294967295", "240"}}) {
        EXPECT_EQ(view.PutValue(text), S_OK);  // -5 is above every maximum, as typed
        Pump(0);
        EXPECT_EQ(view.Value(), read);
    }

    // The host may destroy the slip on hearing of the value.
    victim = slip;
    made.clear();
    destroyOn = VELTRA_SLIP_VALUE_CHANGED;
    onEvent = [](const Event& e) { DestroyVictimOn(e.code); };
    EXPECT_EQ(view.PutValue(L"9"), S_OK);
    Pump(0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(view.PutValue(L"9"), RPC_E_DISCONNECTED);
}

// The parts of the system's trackbar: a page either side of the thumb, which a screen
// reader presses to step the value as a drag there would, and the thumb as an indicator.
// Hit testing, navigation and the focus find them.
TEST_F(AccessibleSlips, PagePartsStepTheValueAsADragThereWould)
{
    const struct {
        int code;
        const char* back;
        const char* forward;
        int step;  // what the part before the thumb does to the value
    } slips[] = {{1, "Page left", "Page right", -20}, {10, "Page up", "Page down", 20}};
    for (const auto& s : slips) {
        SCOPED_TRACE(s.code);
        ISlipControl* slip = Make(s.code);
        const HWND window = WindowOf(slip);
        slip->SetRange(0, 200);
        slip->SetValue(100);
        ScreenReaderView view(window);
        long parts = 0;
        EXPECT_EQ(view->get_accChildCount(&parts), S_OK);
        EXPECT_EQ(parts, 3);
        const LONG roles[] = {ROLE_SYSTEM_PUSHBUTTON, ROLE_SYSTEM_INDICATOR, ROLE_SYSTEM_PUSHBUTTON};
        const std::string names[] = {s.back, "Position", s.forward};
        for (LONG part = 1; part <= 3; ++part) {
            VARIANT child = Self(), out;
            child.lVal = part;
            BSTR name = nullptr;
            EXPECT_EQ(view->get_accName(child, &name), S_OK);
            EXPECT_EQ(std::string(name, name + SysStringLen(name)), names[part - 1]);
            SysFreeString(name);
            EXPECT_EQ(view->get_accRole(child, &out), S_OK);
            EXPECT_EQ(out.lVal, roles[part - 1]);
            long left, top, width, height;
            EXPECT_EQ(view->accLocation(&left, &top, &width, &height, child), S_OK);
            EXPECT_EQ(view->accHitTest(left + width / 2, top + height / 2, &out), S_OK);
            EXPECT_EQ(out.lVal, part);
        }
        VARIANT back = Self(), forward = Self(), out;
        back.lVal = 1;
        forward.lVal = 3;
        EXPECT_EQ(view->accNavigate(NAVDIR_FIRSTCHILD, Self(), &out), S_OK);
        EXPECT_EQ(out.lVal, 1);
        EXPECT_EQ(view->accNavigate(NAVDIR_NEXT, back, &out), S_OK);
        EXPECT_EQ(out.lVal, 2);
        EXPECT_EQ(view->accNavigate(NAVDIR_NEXT, forward, &out), S_FALSE);
        IDispatch* parent = nullptr;
        EXPECT_EQ(view->get_accParent(&parent), S_OK);
        if (parent)
            parent->Release();
        EXPECT_EQ(view->get_accSelection(&out), S_FALSE);

        events.clear();
        EXPECT_EQ(view->accDoDefaultAction(back), S_OK);
        EXPECT_TRUE(events.empty());
        Pump(0);
        EXPECT_EQ(slip->GetValue(), 100 + s.step);
        EXPECT_EQ(events, (std::vector<Event>{{s.code, UserValue, VELTRA_SLIP_VALUE_CHANGED},
                                              {s.code, UserValue, VELTRA_SLIP_DRAG_ENDED}}));
        EXPECT_TRUE(veltra->SetAccessibleOption(slip, VELTRA_ACCESS_SLIP_PAGE, 150));
        EXPECT_EQ(view->accDoDefaultAction(forward), S_OK);
        Pump(0);
        EXPECT_EQ(slip->GetValue(), s.step < 0 ? 200 : 0);  // no further than the end
        EXPECT_FALSE(veltra->SetAccessibleOption(slip, VELTRA_ACCESS_SLIP_PAGE, -1));

        EXPECT_EQ(view->accSelect(SELFLAG_TAKEFOCUS, Self()), S_OK);
        EXPECT_EQ(GetFocus(), window);
        EXPECT_EQ(view->get_accFocus(&out), S_OK);
        EXPECT_EQ(out.lVal, CHILDID_SELF);
        EXPECT_EQ(view->accSelect(SELFLAG_TAKESELECTION, Self()), E_INVALIDARG);
    }
}

// Every change of the value read is heard, and nothing else as a value change: not a move
// of the thumb too small to change it.
TEST_F(AccessibleSlips, ValueChangesAreAnnounced)
{
    ISlipControl* slip = Make(1);
    const HWND window = WindowOf(slip);
    slip->SetRange(0, 120);
    slip->SetValue(20);
    ScreenReaderView view(window);
    WinEventLog heard;
    const auto changes = [&] {
        const std::vector<DWORD> events = heard.For(window);
        return std::count(events.begin(), events.end(), static_cast<DWORD>(EVENT_OBJECT_VALUECHANGE));
    };
    slip->SetValue(20);
    slip->SetRange(0, 120);
    slip->ShowValue(TRUE);
    EXPECT_EQ(changes(), 0);
    slip->SetValue(30);
    EXPECT_EQ(changes(), 1);
    slip->SetRange(0, 240);  // the thumb stays, its value doubles
    EXPECT_EQ(changes(), 2);
    EXPECT_EQ(view.Value(), "60");
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, At(30, 7));
    for (int x = 31; x <= 33; ++x)
        SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, At(x, 7));
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, At(33, 7));  // no move
    EXPECT_EQ(changes(), 5);
    slip->SetRange(0, 60);  // half a value a pixel: 16 at 33
    EXPECT_EQ(changes(), 6);
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, At(34, 7));  // 17
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, At(35, 7));  // still 17
    SendMessageA(window, WM_LBUTTONUP, 0, At(35, 7));
    EXPECT_EQ(view.Value(), "17");
    EXPECT_EQ(changes(), 7);
}

// The description gives the range, and the seek bar's markers.
TEST_F(AccessibleSlips, TheDescriptionGivesTheRangeAndTheSeekBarsMarkers)
{
    ISlipControl* seek = Make(0);
    ISlipControl* plain = Make(1);
    ScreenReaderView view(WindowOf(seek));
    WinEventLog heard;
    seek->SetRange(0, 1000);
    const std::string range = "Range 0 to 1000";
    EXPECT_EQ(view.Description(), range);
    seek->SetStartMarker(100);
    const std::string start = ", start marker " + std::to_string(seek->GetStartMarker());
    EXPECT_EQ(view.Description(), range + start);
    seek->SetEndMarker(900);
    const std::string end = ", end marker " + std::to_string(seek->GetEndMarker());
    EXPECT_EQ(view.Description(), range + start + end);
    seek->ClearMarkers(VELTRA_START_MARKER);
    EXPECT_EQ(view.Description(), range + end);
    seek->ClearMarkers(VELTRA_START_MARKER | VELTRA_END_MARKER);
    EXPECT_EQ(view.Description(), range);
    EXPECT_EQ(heard.For(WindowOf(seek)), std::vector<DWORD>(5, EVENT_OBJECT_DESCRIPTIONCHANGE));
    // A click on the track places one, as the user hears.
    SendMessageA(WindowOf(seek), WM_LBUTTONDOWN, MK_LBUTTON, At(200, 10));
    SendMessageA(WindowOf(seek), WM_LBUTTONUP, 0, At(200, 10));
    EXPECT_EQ(view.Description(), range + ", start marker " + std::to_string(seek->GetStartMarker()));
    const std::vector<DWORD> events = heard.For(WindowOf(seek));  // the press took the focus too
    EXPECT_EQ(std::count(events.begin(), events.end(), static_cast<DWORD>(EVENT_OBJECT_DESCRIPTIONCHANGE)), 6);

    plain->SetRange(-5, 100);
    plain->SetStartMarker(10);
    EXPECT_EQ(ScreenReaderView(WindowOf(plain)).Description(), "Range -5 to 100");
}
