// Colour buttons as a host drives them: through the factory and the interface, with real
// messages, watching notifications, pixels and the ledger.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "common/library.h"
#include "tests/host/library_test.h"
#include "tests/support/image.h"
#include "tests/support/ledger.h"

namespace {

struct ButtonCase {
    UINT code;
    int bitmapId;
    SIZE size;
    ScreenExpr x, y;  // the place, as the factory's type-code table writes it
    const char* name;  // what a screen reader calls it until the host names it
};

// Every type code with its strip, its size, where it sits on any screen and its name.
const ButtonCase ButtonCases[] = {
    {0u, 106, {46, 46}, WMinus(60), HMinus(60), "Power"},
    {1u, 111, {45, 20}, Const(26), HMinus(40), "Previous"},
    {2u, 110, {45, 20}, Const(74), HMinus(40), "Play"},
    {3u, 115, {45, 20}, Const(122), HMinus(40), "Pause"},
    {4u, 137, {45, 20}, Const(170), HMinus(40), "Stop"},
    {5u, 114, {45, 20}, D8x(1, 244), HMinus(40), "Next"},
    {6u, 113, {45, 20}, D8x(1, 292), HMinus(40), "Eject"},
    {7u, 136, {45, 20}, D8x(2, 366), HMinus(40), "Shuffle"},
    {8u, 108, {45, 20}, D8x(2, 414), HMinus(40), "Repeat"},
    {9u, 112, {45, 20}, D8x(3, 488), HMinus(40), "Volume down"},
    {10u, 109, {45, 20}, D8x(3, 536), HMinus(40), "Volume up"},
    {11u, 134, {23, 17}, WMinus(355), HMinus(191), "Speaker on"},
    {12u, 135, {23, 17}, WMinus(355), HMinus(191), "Speaker off"},
    {13u, 138, {75, 47}, WMinus(170), Const(192), "Panel key 1"},
    {14u, 133, {75, 47}, WMinus(87), Const(192), "Panel key 2"},
    {15u, 121, {75, 47}, D8x(6, 774), HMinus(61), "Wide key 1"},
    {16u, 155, {75, 47}, D8x(7, 857), HMinus(61), "Wide key 2"},
    {17u, 159, {45, 20}, D8x(4, 610), HMinus(40), "Mute"},
    {18u, 160, {45, 20}, D8x(4, 658), HMinus(40), "Equaliser"},
    {19u, 163, {12, 12}, D10x(1, 182), HMinus(60), "Minus 1"},
    {20u, 164, {12, 12}, D10x(2, 224), HMinus(60), "Plus 1"},
    {21u, 163, {12, 12}, D10x(2, 243), HMinus(60), "Minus 2"},
    {22u, 164, {12, 12}, D10x(3, 272), HMinus(60), "Plus 2"},
    {23u, 163, {12, 12}, D10x(3, 291), HMinus(60), "Minus 3"},
    {24u, 164, {12, 12}, D10x(4, 320), HMinus(60), "Plus 3"},
    {25u, 163, {12, 12}, D10x(4, 365), HMinus(60), "Minus 4"},
    {26u, 164, {12, 12}, D10x(5, 394), HMinus(60), "Plus 4"},
    {27u, 163, {12, 12}, D10x(5, 413), HMinus(60), "Minus 5"},
    {28u, 164, {12, 12}, D10x(6, 442), HMinus(60), "Plus 5"},
    {29u, 163, {12, 12}, D10x(6, 461), HMinus(60), "Minus 6"},
    {30u, 164, {12, 12}, D10x(7, 490), HMinus(60), "Plus 6"},
    {31u, 172, {45, 13}, Const(-100), Const(-100), "Slim key"},
    {200u, 139, {44, 38}, Const(0), Const(29), "Mode 1"},
    {201u, 140, {44, 38}, Const(0), Const(58), "Mode 2"},
    {202u, 141, {44, 38}, Const(0), Const(87), "Mode 3"},
    {203u, 142, {44, 38}, Const(0), Const(116), "Mode 4"},
    {204u, 145, {44, 38}, Const(0), Const(145), "Mode 5"},
    {205u, 148, {44, 38}, Const(0), Const(174), "Mode 6"},
    {206u, 151, {44, 38}, Const(0), Const(203), "Mode 7"},
    {207u, 152, {44, 38}, Const(0), Const(232), "Mode 8"},
    {300u, 176, {13, 13}, Const(5), Const(103), "Small key 1"},
    {301u, 177, {13, 13}, Const(5), Const(103), "Small key 2"},
};

struct Event {
    int id;
    int code;
    WPARAM detail;
    INT_PTR user;
    bool operator==(const Event& other) const
    {
        return id == other.id && code == other.code && detail == other.detail && user == other.user;
    }
};

std::ostream& operator<<(std::ostream& out, const Event& e)
{
    return out << "{" << e.id << ", " << e.code << ", " << e.detail << ", " << e.user << "}";
}

std::vector<Event> events;
void (*onEvent)(const Event&) = nullptr;

void WINAPI Record(int id, int code, WPARAM detail, INT_PTR user)
{
    events.push_back({id, code, detail, user});
    if (onEvent)
        onEvent(events.back());
}

constexpr INT_PTR UserValue = 0x5EED;

LPARAM Point(int x, int y) { return MAKELPARAM(x, y); }

}  // namespace

class ButtonTest : public ControlTest<IColorButtom> {
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

    IColorButtom* Make(UINT code, NotifyProc notify = Record)
    {
        IColorButtom* button = nullptr;
        veltra->FactroyColorButtom(&button, code, *host, notify, UserValue);
        return Keep(button);
    }

    // The frame a button shows, cut from its strip in the DLL's resources.
    static Image Frame(int bitmapId, int frame)
    {
        const Image strip = LoadArt(veltra->module, bitmapId);
        const int width = strip.width / 3;
        return Crop(strip, Area(frame * width, 0, width, strip.height));
    }
};

// Where the buttons are and what they show: on every screen.
class ButtonPlaces : public ButtonTest {};

// What they do: the same on every screen.
class Buttons : public ButtonTest {};

// The place of every type code on this screen, from the table's expressions: every screen
// the suite runs on checks all 42.
TEST_F(ButtonPlaces, EveryTypeCodeSitsAtItsPlaceWithOneFrameAsItsSize)
{
    const SIZE screen = Screen();
    for (const ButtonCase& c : ButtonCases) {
        SCOPED_TRACE(c.code);
        IColorButtom* button = Make(c.code);
        ASSERT_TRUE(button);
        const HWND window = WindowOf(button);
        RECT rect;
        GetWindowRect(window, &rect);
        MapWindowPoints(nullptr, *host, reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_EQ(rect.right - rect.left, c.size.cx);
        EXPECT_EQ(rect.bottom - rect.top, c.size.cy);
        EXPECT_EQ(rect.left, c.x.At(screen)) << "x = " << Describe(c.x);
        EXPECT_EQ(rect.top, c.y.At(screen)) << "y = " << Describe(c.y);
        char className[64] = {};
        GetClassNameA(window, className, sizeof className);
        EXPECT_STREQ(className, "QUOVEN_BASEWINDOW");
        EXPECT_EQ(GetWindowLongA(window, GWL_STYLE), 0x50000003);
        EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE), 0);
        EXPECT_EQ(GetWindowTextLengthA(window), 0);
        EXPECT_EQ(GetDlgCtrlID(window), 0);
        EXPECT_EQ(GetParent(window), static_cast<HWND>(*host));
        EXPECT_EQ(GetWindowLongPtrA(window, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(button));
        EXPECT_EQ(button->GetState(), VELTRA_FRAME_NORMAL);
    }
}

namespace {

const Veltra* fitting = nullptr;

void WINAPI FitOnPress(int, int code, WPARAM, INT_PTR)
{
    if (code == VELTRA_BUTTON_PRESSED)
        fitting->FitScreen(800, 600);
}

}  // namespace

// The host may fit from a button's callback; an open edit box stays open through fits.
TEST(ControlsFitted, AHostMayFitFromAButtonsCallbackAndAnEditBoxStaysOpen)
{
    Veltra veltra;
    HostWindow host;
    fitting = &veltra;
    IColorButtom* fitter = nullptr;
    ISlipControl* slip = nullptr;
    veltra.FactroyColorButtom(&fitter, 1, host, FitOnPress, 0);
    veltra.FactroySlipControl(&slip, 1, host, nullptr, 0);
    ASSERT_TRUE(fitter && slip);
    SendMessageA(WindowOf(fitter), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageA(WindowOf(fitter), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    RECT rect;
    GetWindowRect(WindowOf(fitter), &rect);
    MapWindowPoints(nullptr, host, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, ButtonCases[1].x.At({800, 600}));
    EXPECT_EQ(rect.top, ButtonCases[1].y.At({800, 600}));
    slip->ShowValue(TRUE);
    SendMessageA(WindowOf(slip), WM_LBUTTONDBLCLK, 0, 0);  // its edit box opens
    const HWND box = GetWindow(WindowOf(slip), GW_CHILD);
    GetWindowRect(box, &rect);
    const SIZE size = {rect.right - rect.left, rect.bottom - rect.top};
    for (const auto& [screen, scale] : FittedScreens()) {  // and follows the scale
        ASSERT_EQ(veltra.FitScreenScaled(screen.cx, screen.cy, scale), scale);
        EXPECT_TRUE(IsWindowVisible(box));
        GetWindowRect(box, &rect);
        EXPECT_EQ(rect.right - rect.left, scale * size.cx);
        EXPECT_EQ(rect.bottom - rect.top, scale * size.cy);
    }
    fitter->Destroy();
    slip->Destroy();
}

// Beside every label and slip, fitted to this screen as a host follows a change of mode.
TEST(ControlsFitted, EachStandsAndShowsAsAFreshLoadDoes)
{
    EXPECT_EQ(FittedControlsUnlikeAFreshLoad(), std::vector<std::string>{});
}

TEST_F(ButtonPlaces, EachTypeShowsTheFirstFrameOfItsStrip)
{
    for (const ButtonCase& c : ButtonCases) {
        SCOPED_TRACE(c.code);
        IColorButtom* button = Make(c.code);
        ASSERT_TRUE(button);
        button->MoveTo(300, 300);  // on screen and clear of the others
        EXPECT_EQ(FirstDifference(Capture(WindowOf(button)), Frame(c.bitmapId, 0)), "");
        button->Destroy();
        made.pop_back();
    }
}

TEST_F(ButtonPlaces, UnknownCodesGiveNullAndNoWindow)
{
    for (UINT code : {32u, 199u, 208u, 299u, 302u, 1000u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(code);
        IColorButtom* button = reinterpret_cast<IColorButtom*>(1);
        veltra->FactroyColorButtom(&button, code, *host, Record, UserValue);
        EXPECT_EQ(button, nullptr);
    }
    EXPECT_EQ(GetWindow(*host, GW_CHILD), nullptr);
    EXPECT_EQ(ledger->Calls("CreateWindowExA"), 0);
    EXPECT_EQ(ledger->Calls("LoadBitmapA"), 0);
    veltra->FactroyColorButtom(nullptr, 1, *host, Record, UserValue);  // nowhere to put it: nothing made
    EXPECT_EQ(GetWindow(*host, GW_CHILD), nullptr);
}

TEST_F(Buttons, AFailedWindowLeavesNullAndNothingBehind)
{
    IColorButtom* button = reinterpret_cast<IColorButtom*>(1);
    veltra->FactroyColorButtom(&button, 1, reinterpret_cast<HWND>(0x1234), Record, UserValue);
    EXPECT_EQ(button, nullptr);
    EXPECT_EQ(ledger->Calls("LoadBitmapA"), 1);
    EXPECT_EQ(ledger->Calls("DeleteObject"), 1);
}

namespace {
IColorButtom* pendingOut = nullptr;
IColorButtom* seenAtParentNotify = nullptr;
}  // namespace

TEST_F(Buttons, ThePointerIsInPlaceBeforeTheParentHearsOfTheWindow)
{
    HostWindow::onParentNotify = [](WPARAM wParam, LPARAM) {
        if (LOWORD(wParam) == WM_CREATE)
            seenAtParentNotify = pendingOut;
    };
    pendingOut = nullptr;
    seenAtParentNotify = nullptr;
    veltra->FactroyColorButtom(&pendingOut, 3, *host, Record, UserValue);
    made.push_back(pendingOut);
    ASSERT_TRUE(pendingOut);
    EXPECT_EQ(seenAtParentNotify, pendingOut);
}

TEST_F(Buttons, TwoButtonsShareTheClassAndCodesElevenAndTwelveOnePlace)
{
    IColorButtom* first = Make(11);
    IColorButtom* second = Make(12);
    ASSERT_TRUE(first && second);
    RECT a, b;
    GetWindowRect(WindowOf(first), &a);
    GetWindowRect(WindowOf(second), &b);
    EXPECT_TRUE(EqualRect(&a, &b));
}

// The mouse states, one row of the transition table each.
TEST_F(Buttons, HoverShowsTheHoverFrameAndLeavingRestores)
{
    IColorButtom* button = Make(1);
    const HWND window = WindowOf(button);
    SendMessageA(window, WM_MOUSEMOVE, 0, Point(5, 5));
    EXPECT_EQ(button->GetState(), VELTRA_FRAME_HOVER);
    EXPECT_EQ(FirstDifference(Capture(window), Frame(111, 1)), "");
    SendMessageA(window, WM_MOUSEMOVE, 0, Point(6, 6));  // still hovering: nothing new
    EXPECT_EQ(button->GetState(), VELTRA_FRAME_HOVER);
    SendMessageA(window, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(button->GetState(), VELTRA_FRAME_NORMAL);
    EXPECT_EQ(FirstDifference(Capture(window), Frame(111, 0)), "");
    EXPECT_TRUE(events.empty());
}

TEST_F(Buttons, APressWithoutHoverCapturesAndAReleaseAnywhereReportsIt)
{
    IColorButtom* button = Make(4);
    const HWND window = WindowOf(button);
    EXPECT_NE(button->SetAutoRepeat(TRUE), 0);
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, Point(3, 3));
    EXPECT_EQ(GetCapture(), window);
    EXPECT_EQ(GetFocus(), window);
    EXPECT_EQ(button->GetState(), VELTRA_FRAME_PRESSED);
    EXPECT_EQ(FirstDifference(Capture(window), Frame(137, 2)), "");

    static std::vector<UINT_PTR> timersAtRelease;
    static Ledger* watching;
    watching = ledger.get();
    onEvent = [](const Event& e) {
        if (e.code == VELTRA_BUTTON_RELEASED)
            timersAtRelease = watching->Timers();
    };
    SendMessageA(window, WM_LBUTTONUP, 0, Point(-50, 400));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(button->GetState(), VELTRA_FRAME_NORMAL);
    // The capture change stopped the repeat before the release was reported.
    EXPECT_EQ(timersAtRelease, std::vector<UINT_PTR>{});
    EXPECT_EQ(events, (std::vector<Event>{{4, VELTRA_BUTTON_PRESSED, MK_LBUTTON, UserValue},
                                          {4, VELTRA_BUTTON_RELEASED, 0, UserValue}}));
}

TEST_F(Buttons, APressAfterHoverDoesNotCaptureAndLeavingLosesTheRelease)
{
    IColorButtom* button = Make(2);
    const HWND window = WindowOf(button);
    SendMessageA(window, WM_MOUSEMOVE, 0, Point(5, 5));
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, Point(5, 5));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(button->GetState(), VELTRA_FRAME_PRESSED);
    SendMessageA(window, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(button->GetState(), VELTRA_FRAME_NORMAL);
    EXPECT_EQ(events, (std::vector<Event>{{2, VELTRA_BUTTON_PRESSED, MK_LBUTTON, UserValue}}));
}

TEST_F(Buttons, AReleaseAfterHoverAndPressReportsAndKeepsTheRepeatRunning)
{
    IColorButtom* button = Make(9);
    const HWND window = WindowOf(button);
    button->SetAutoRepeat(TRUE);
    SendMessageA(window, WM_MOUSEMOVE, 0, Point(5, 5));
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, Point(5, 5));
    SendMessageA(window, WM_LBUTTONUP, 0, Point(5, 5));
    EXPECT_EQ(button->GetState(), VELTRA_FRAME_NORMAL);
    EXPECT_EQ(ledger->Timers(), std::vector<UINT_PTR>{101});
    EXPECT_EQ(events, (std::vector<Event>{{9, VELTRA_BUTTON_PRESSED, MK_LBUTTON, UserValue},
                                          {9, VELTRA_BUTTON_RELEASED, 0, UserValue}}));
    button->SetAutoRepeat(FALSE);
}

TEST_F(Buttons, AReleaseWithoutAPressIsReportedToo)
{
    IColorButtom* button = Make(5);
    SendMessageA(WindowOf(button), WM_LBUTTONUP, MK_SHIFT, Point(1, 1));
    EXPECT_EQ(events, (std::vector<Event>{{5, VELTRA_BUTTON_RELEASED, MK_SHIFT, UserValue}}));
}

TEST_F(Buttons, CaptureTakenAwayReturnsToRestAndStopsTheRepeat)
{
    IColorButtom* button = Make(6);
    const HWND window = WindowOf(button);
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, Point(3, 3));
    button->SetAutoRepeat(TRUE);
    SetCapture(*host);
    EXPECT_EQ(button->GetState(), VELTRA_FRAME_NORMAL);
    EXPECT_EQ(ledger->Timers(), std::vector<UINT_PTR>{});
    ReleaseCapture();
    EXPECT_EQ(events, (std::vector<Event>{{6, VELTRA_BUTTON_PRESSED, MK_LBUTTON, UserValue}}));
}

TEST_F(Buttons, ARightPressReportsAndChangesNothing)
{
    IColorButtom* button = Make(7);
    const HWND window = WindowOf(button);
    SetFocus(*host);
    SendMessageA(window, WM_RBUTTONDOWN, MK_RBUTTON, Point(3, 3));
    EXPECT_EQ(button->GetState(), VELTRA_FRAME_NORMAL);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(GetFocus(), static_cast<HWND>(*host));
    EXPECT_EQ(events, (std::vector<Event>{{7, VELTRA_BUTTON_RIGHT_PRESSED, MK_RBUTTON, UserValue}}));
}

TEST_F(Buttons, SetStateLatchesTheRestFrame)
{
    IColorButtom* button = Make(8);
    const HWND window = WindowOf(button);
    button->SetState(VELTRA_FRAME_PRESSED);
    EXPECT_EQ(button->GetState(), VELTRA_FRAME_PRESSED);
    EXPECT_EQ(FirstDifference(Capture(window), Frame(108, 2)), "");
    SendMessageA(window, WM_MOUSEMOVE, 0, Point(5, 5));
    EXPECT_EQ(button->GetState(), VELTRA_FRAME_HOVER);
    button->SetState(VELTRA_FRAME_PRESSED);  // already the rest frame: nothing happens
    EXPECT_EQ(button->GetState(), VELTRA_FRAME_HOVER);
    SendMessageA(window, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(button->GetState(), VELTRA_FRAME_PRESSED);
    button->SetState(VELTRA_FRAME_HOVER);
    EXPECT_EQ(FirstDifference(Capture(window), Frame(108, 1)), "");
    button->SetState(VELTRA_FRAME_NORMAL);
    EXPECT_EQ(FirstDifference(Capture(window), Frame(108, 0)), "");
}

// Frames outside the strip would be painted from beyond the bitmap: they are ignored.
TEST_F(Buttons, SetStateIgnoresFramesTheStripDoesNotHave)
{
    IColorButtom* button = Make(10);
    button->SetState(VELTRA_FRAME_HOVER);
    for (int frame : {-1, 3, 99, INT_MIN, INT_MAX}) {
        button->SetState(frame);
        EXPECT_EQ(button->GetState(), VELTRA_FRAME_HOVER);
    }
    EXPECT_EQ(FirstDifference(Capture(WindowOf(button)), Frame(109, 1)), "");
}

TEST_F(Buttons, TheRedDotAppearsFromTheNextPaint)
{
    for (const auto& [code, bitmap, box] : {std::tuple{1u, 111, RECT{20, 14, 24, 18}},
                                            std::tuple{19u, 163, RECT{4, 6, 8, 10}}}) {
        SCOPED_TRACE(code);
        IColorButtom* button = Make(code);
        const HWND window = WindowOf(button);
        button->MoveTo(400, 300);
        const Image plain = Frame(bitmap, 0);
        EXPECT_EQ(FirstDifference(Capture(window), plain), "");
        button->SetDot(TRUE);
        EXPECT_EQ(FirstDifference(Capture(window), plain), "");  // nothing invalidated yet
        InvalidateRect(window, nullptr, FALSE);
        const Image dotted = Capture(window);
        int red = 0;
        for (int y = 0; y < plain.height; ++y)
            for (int x = 0; x < plain.width; ++x) {
                const POINT p = {x, y};
                if (PtInRect(&box, p))
                    red += dotted.At(x, y) == 0xFF0000;
                else
                    EXPECT_EQ(dotted.At(x, y), plain.At(x, y)) << "outside the dot at " << x << ", " << y;
            }
        EXPECT_GE(red, 4);
        button->SetDot(FALSE);
        InvalidateRect(window, nullptr, FALSE);
        EXPECT_EQ(FirstDifference(Capture(window), plain), "");
    }
}

TEST_F(Buttons, MoveToKeepsTheSize)
{
    IColorButtom* button = Make(13);
    EXPECT_TRUE(button->MoveTo(123, 45));
    RECT rect;
    GetWindowRect(WindowOf(button), &rect);
    MapWindowPoints(nullptr, *host, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, 123);
    EXPECT_EQ(rect.top, 45);
    EXPECT_EQ(rect.right - rect.left, 75);
    EXPECT_EQ(rect.bottom - rect.top, 47);
}

TEST_F(Buttons, TheHoverCursorIsTheHandUntilTheHostChangesIt)
{
    IColorButtom* button = Make(14);
    const HWND window = WindowOf(button);
    const LPARAM overClient = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
    EXPECT_EQ(SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), overClient), TRUE);
    EXPECT_EQ(GetCursor(), LoadCursorA(veltra->module, MAKEINTRESOURCEA(1000)));
    HCURSOR cross = LoadCursorA(nullptr, IDC_CROSS);
    button->SetHoverCursor(cross);
    EXPECT_NE(GetCursor(), cross);  // shown from the next WM_SETCURSOR on
    SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTBORDER, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), cross);
    button->SetHoverCursor(nullptr);
    SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), overClient);
    EXPECT_EQ(GetCursor(), nullptr);
}

// The first tick waits a little longer than a double-click, the later ones come a little
// faster (never under the system's shortest timer); starting again restarts the delay.
TEST_F(Buttons, AutoRepeatWaitsTheDelayThenTicksAtTheInterval)
{
    using Intervals = std::map<UINT_PTR, UINT>;
    IColorButtom* button = Make(20);
    const UINT click = GetDoubleClickTime();
    const UINT delay = click + 100, interval = std::max<UINT>(click - 100, USER_TIMER_MINIMUM);
    EXPECT_NE(button->SetAutoRepeat(TRUE), 0);
    EXPECT_EQ(ledger->TimerIntervals(), (Intervals{{101, delay}}));
    Pump(delay + interval + 300);  // the real timers: at least the first tick comes
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(ledger->TimerIntervals(), (Intervals{{100, interval}}));
    for (const Event& e : events)
        EXPECT_EQ(e, (Event{20, VELTRA_BUTTON_REPEAT, 0, UserValue}));
    EXPECT_NE(button->SetAutoRepeat(TRUE), 0);
    EXPECT_EQ(ledger->TimerIntervals(), (Intervals{{101, delay}}));
    EXPECT_EQ(button->SetAutoRepeat(FALSE), 0);
    EXPECT_EQ(ledger->TimerIntervals(), Intervals{});
}

TEST_F(Buttons, TimerMessagesDriveTheRepeatAndOthersAreIgnored)
{
    IColorButtom* button = Make(22);
    const HWND window = WindowOf(button);
    SendMessageA(window, WM_TIMER, 55, 0);
    EXPECT_TRUE(events.empty());
    SendMessageA(window, WM_TIMER, 101, 0);  // the delay has passed: a tick now, the repeat from here on
    EXPECT_EQ(events, (std::vector<Event>{{22, VELTRA_BUTTON_REPEAT, 0, UserValue}}));
    EXPECT_EQ(ledger->Timers(), std::vector<UINT_PTR>{100});
    SendMessageA(window, WM_TIMER, 100, 0);
    EXPECT_EQ(events.size(), 2u);
    button->SetAutoRepeat(FALSE);
}

// Each notification, whatever message brings it: the host may destroy the button there,
// and the button touches nothing of itself afterwards (the page heap would fault).
TEST_F(Buttons, TheHostMayDestroyAButtonFromEachOfItsCallbacks)
{
    const struct {
        const char* name;
        int code;
        std::vector<std::pair<UINT, WPARAM>> messages;
    } cases[] = {
        {"press", VELTRA_BUTTON_PRESSED, {{WM_LBUTTONDOWN, MK_LBUTTON}}},
        {"release", VELTRA_BUTTON_RELEASED, {{WM_LBUTTONDOWN, MK_LBUTTON}, {WM_LBUTTONUP, 0}}},
        {"right press", VELTRA_BUTTON_RIGHT_PRESSED, {{WM_RBUTTONDOWN, MK_RBUTTON}}},
        {"first repeat", VELTRA_BUTTON_REPEAT, {{WM_TIMER, 101}}},
        {"later repeat", VELTRA_BUTTON_REPEAT, {{WM_TIMER, 100}}},
    };
    onEvent = [](const Event& e) { DestroyVictimOn(e.code); };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        events.clear();
        victim = Make(15);
        made.clear();
        destroyOn = c.code;
        victim->SetAutoRepeat(TRUE);
        const HWND window = WindowOf(victim);
        for (const auto& [msg, wParam] : c.messages)
            if (IsWindow(window))
                SendMessageA(window, msg, wParam, Point(2, 2));
        EXPECT_FALSE(IsWindow(window));
        ASSERT_FALSE(events.empty());
        EXPECT_EQ(events.back().code, c.code);
    }
}

TEST_F(Buttons, WithoutACallbackEverythingElseWorks)
{
    IColorButtom* button = Make(16, nullptr);
    const HWND window = WindowOf(button);
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, Point(2, 2));
    EXPECT_EQ(button->GetState(), VELTRA_FRAME_PRESSED);
    SendMessageA(window, WM_LBUTTONUP, 0, Point(2, 2));
    SendMessageA(window, WM_RBUTTONDOWN, MK_RBUTTON, Point(2, 2));
    EXPECT_EQ(button->GetState(), VELTRA_FRAME_NORMAL);
}

// Deleting a button through its last slot while its window lives unbinds the window
// rather than leave it pointing at freed memory.
TEST_F(Buttons, DeletingTheObjectFirstLeavesAnInertWindow)
{
    IColorButtom* button = Make(17);
    made.clear();
    const HWND window = WindowOf(button);
    EXPECT_EQ(button->ScalarDeletingDestructor(1), static_cast<void*>(button));
    EXPECT_EQ(GetWindowLongPtrA(window, GWLP_USERDATA), 0);
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, Point(2, 2));
    SendMessageA(window, WM_TIMER, 101, 0);
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
    EXPECT_TRUE(events.empty());
    DestroyWindow(window);
    ledger->Forget(window);  // destroyed here, not by the library
}

TEST_F(Buttons, TheBaseSlotsRegisterCreateAndBind)
{
    IColorButtom* button = Make(18);
    const HWND window = WindowOf(button);
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    button->NoOp(12345);
    EXPECT_EQ(WindowOf(button), window);
    EXPECT_EQ(button->CreateWnd(instance, *host, "NoSuchClass", "", WS_CHILD, 0, 0, 1, 1), 0);
    EXPECT_EQ(WindowOf(button), nullptr);  // slot 3 stores what it got, even null
    // Slot 2 fills the class record and registers it through slot 1: once.
    EXPECT_EQ(button->RegisterWndClass(instance, CS_DBLCLKS, nullptr, nullptr, nullptr, nullptr, "VeltraSlots",
                                       nullptr), 1);
    EXPECT_EQ(button->RegisterWndClass(instance, CS_DBLCLKS, nullptr, nullptr, nullptr, nullptr, "VeltraSlots",
                                       nullptr), 0);
    WNDCLASSEXA registered = {};
    registered.cbSize = sizeof registered;
    ASSERT_TRUE(GetClassInfoExA(instance, "VeltraSlots", &registered));
    EXPECT_EQ(registered.style, static_cast<UINT>(CS_DBLCLKS));
    EXPECT_EQ(registered.cbClsExtra, 0);
    EXPECT_EQ(registered.cbWndExtra, 0);
    // A window of that class made through slot 3 is bound to the object.
    EXPECT_EQ(button->CreateWnd(instance, *host, "VeltraSlots", "", WS_CHILD, 0, 0, 5, 5), 1);
    const HWND second = WindowOf(button);
    EXPECT_EQ(GetWindowLongPtrA(second, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(button));
    EXPECT_EQ(button->WindowProc(second, WM_ERASEBKGND, 0, 0), 1);
    for (HWND own : {second, window}) {  // destroyed here, not by the library
        DestroyWindow(own);
        ledger->Forget(own);
    }
    made.clear();
    button->ScalarDeletingDestructor(1);
    UnregisterClassA("VeltraSlots", instance);
}

#ifndef _WIN64
namespace {

// Calls a slot the way 32-bit MSVC calls a member function (the object in ECX, the
// arguments on the stack, popped by the callee) and says how many bytes of the two
// pushed arguments were left on the stack.
uint32_t CallThiscall(void* object, int slot, uint32_t first, uint32_t second, uint32_t* result)
{
    void* function = (*static_cast<void***>(object))[slot];
    uint32_t left, returned;
    asm volatile(
        "movl %%esp, %%esi\n\t"
        "pushl %[second]\n\t"
        "pushl %[first]\n\t"
        "movl %[object], %%ecx\n\t"
        "call *%[function]\n\t"
        "movl %%esi, %%edx\n\t"
        "subl %%esp, %%edx\n\t"
        "movl %%esi, %%esp\n\t"
        : "=&d"(left), "=a"(returned)
        : [function] "m"(function), [object] "m"(object), [first] "m"(first), [second] "m"(second)
        : "ecx", "esi", "memory", "cc");
    *result = returned;
    return left;
}

}  // namespace

TEST_F(Buttons, SlotsUseTheThiscallConvention)
{
    IColorButtom* button = Make(0);
    uint32_t result = 0;
    EXPECT_EQ(CallThiscall(button, 7, 40, 50, &result), 0u);  // MoveTo(40, 50) popped both
    EXPECT_NE(result, 0u);
    RECT rect;
    GetWindowRect(WindowOf(button), &rect);
    EXPECT_EQ(rect.left, 40);
    EXPECT_EQ(rect.top, 50);
    EXPECT_EQ(CallThiscall(button, 8, 2, 0, &result), 4u);  // SetState(2) popped its one
    EXPECT_EQ(CallThiscall(button, 9, 0, 0, &result), 8u);  // GetState() popped none
    EXPECT_EQ(result, 2u);
}
#endif

TEST(ButtonClass, UnloadingTheLibraryTakesItsClassBack)
{
    Veltra veltra;
    HostWindow host;
    IColorButtom* button = nullptr;
    veltra.FactroyColorButtom(&button, 1, host, nullptr, 0);
    ASSERT_TRUE(button);
    button->Destroy();
    WNDCLASSEXA info = {};
    info.cbSize = sizeof info;
    EXPECT_TRUE(GetClassInfoExA(veltra.module, "QUOVEN_BASEWINDOW", &info));
    const HMODULE module = veltra.module;
    veltra.Unload();
    EXPECT_FALSE(GetClassInfoExA(module, "QUOVEN_BASEWINDOW", &info));

    Veltra again;  // and a new load makes working buttons
    again.FactroyColorButtom(&button, 1, host, nullptr, 0);
    ASSERT_TRUE(button);
    EXPECT_EQ(button->GetState(), VELTRA_FRAME_NORMAL);
    button->Destroy();
}

// The real pointer, moved by the system: hover comes from WM_MOUSEMOVE, and leaving from
// the WM_MOUSELEAVE that the button asked for.
TEST_F(Buttons, ThePointerMovingOnAndOffHoversAndLeaves)
{
    IColorButtom* button = Make(3);
    button->MoveTo(500, 400);
    Pump(50);
    SetCursorPos(520, 410);
    Pump(300);
    EXPECT_EQ(button->GetState(), VELTRA_FRAME_HOVER);
    SetCursorPos(100, 100);
    Pump(300);
    EXPECT_EQ(button->GetState(), VELTRA_FRAME_NORMAL);
    EXPECT_TRUE(events.empty());
}

// ---- As a screen reader finds them. Asking for a control's accessible object keeps the
// library loaded for the rest of the process, so these suites run in processes of their own.

class AccessibleButtons : public ButtonTest {};

TEST_F(AccessibleButtons, EveryTypeCodeIsAPushButtonNamedForItsTypeWhereItSits)
{
    std::set<std::string> names;
    for (const ButtonCase& c : ButtonCases) {
        SCOPED_TRACE(c.code);
        IColorButtom* button = Make(c.code);
        ASSERT_TRUE(button);
        ScreenReaderView view(WindowOf(button));
        ASSERT_TRUE(view.object);
        EXPECT_EQ(view.Role(), ROLE_SYSTEM_PUSHBUTTON);
        EXPECT_EQ(view.Name(), c.name);
        EXPECT_EQ(view.State(), STATE_SYSTEM_FOCUSABLE);
        EXPECT_EQ(view.DefaultAction(), "Press");
        EXPECT_EQ(view.Value(), "");
        RECT place;
        GetWindowRect(WindowOf(button), &place);
        const RECT location = view.Location();
        EXPECT_TRUE(EqualRect(&place, &location));
        EXPECT_EQ(place.left, c.x.At(Screen()));
        names.insert(view.Name());
        view.Let();
        button->Destroy();
        made.clear();
    }
    EXPECT_EQ(names.size(), std::size(ButtonCases));  // no two types share a name
}

TEST_F(AccessibleButtons, TheHostsNameComesFirstThenTheWindowTextThenTheType)
{
    IColorButtom* button = Make(2);
    const HWND window = WindowOf(button);
    ScreenReaderView view(window);
    WinEventLog heard;
    SetWindowTextA(window, "Play it");
    EXPECT_EQ(view.Name(), "Play it");
    EXPECT_TRUE(veltra->SetAccessibleName(button, "Start the track"));
    EXPECT_EQ(view.Name(), "Start the track");
    EXPECT_EQ(heard.For(window).back(), static_cast<DWORD>(EVENT_OBJECT_NAMECHANGE));
    EXPECT_TRUE(veltra->SetAccessibleName(button, nullptr));
    EXPECT_EQ(view.Name(), "Play it");
    SetWindowTextA(window, "");
    EXPECT_EQ(view.Name(), "Play");
    // Nothing a mouse user sees changed.
    EXPECT_EQ(FirstDifference(Capture(window), Frame(110, 0)), "");

    // Only a live control of the library is named or set, and nothing else is read: a fake
    // naming this button's window, a button whose window is gone, a destroyed one (freed: a
    // read faults on the page heap), a window handle, a page of the host's no one may read.
    struct {
        void* table;
        HWND window;
    } impostor = {nullptr, window};
    IColorButtom* windowless = Make(3);
    DestroyWindow(WindowOf(windowless));
    ledger->Forget(WindowOf(windowless));
    IColorButtom* gone = Make(4);
    gone->Destroy();
    made.pop_back();
    void* unreadable = VirtualAlloc(nullptr, 1, MEM_COMMIT | MEM_RESERVE, PAGE_NOACCESS);
    void* const others[] = {nullptr, &impostor, windowless, gone, window, unreadable};
    for (void* other : others) {
        EXPECT_FALSE(veltra->SetAccessibleName(other, "x"));
        EXPECT_FALSE(veltra->SetAccessibleOption(other, VELTRA_ACCESS_BUTTON_KIND, VELTRA_BUTTON_KIND_TOGGLE));
    }
    EXPECT_EQ(view.Name(), "Play");
    EXPECT_EQ(view.Role(), ROLE_SYSTEM_PUSHBUTTON);
    VirtualFree(unreadable, 0, MEM_RELEASE);
    windowless->ScalarDeletingDestructor(1);
    made.pop_back();
}

// Each step of the mouse, the host and the system, and the state a screen reader reads
// after it; every change of frame is announced.
TEST_F(AccessibleButtons, TheStateFollowsTheFramesTheFocusAndTheWindow)
{
    IColorButtom* button = Make(7);
    const HWND window = WindowOf(button);
    ScreenReaderView view(window);
    WinEventLog heard;
    constexpr LONG Base = STATE_SYSTEM_FOCUSABLE;
    const struct {
        const char* step;
        std::function<void()> act;
        LONG state;
        size_t announced;  // state changes heard so far
    } steps[] = {
        {"latched", [&] { button->SetState(VELTRA_FRAME_PRESSED); }, Base | STATE_SYSTEM_PRESSED, 1},
        {"hovered while latched", [&] { SendMessageA(window, WM_MOUSEMOVE, 0, Point(2, 2)); },
         Base | STATE_SYSTEM_PRESSED | STATE_SYSTEM_HOTTRACKED, 2},
        {"left", [&] { SendMessageA(window, WM_MOUSELEAVE, 0, 0); }, Base | STATE_SYSTEM_PRESSED, 3},
        {"released by the host", [&] { button->SetState(VELTRA_FRAME_NORMAL); }, Base, 4},
        {"pressed", [&] { SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, Point(2, 2)); },
         Base | STATE_SYSTEM_PRESSED | STATE_SYSTEM_HOTTRACKED | STATE_SYSTEM_FOCUSED, 5},
        {"released", [&] { SendMessageA(window, WM_LBUTTONUP, 0, Point(2, 2)); }, Base | STATE_SYSTEM_FOCUSED, 6},
        {"disabled, which takes the focus away", [&] { EnableWindow(window, FALSE); },
         Base | STATE_SYSTEM_UNAVAILABLE, 6},
        {"hidden", [&] { ShowWindow(window, SW_HIDE); }, Base | STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_INVISIBLE, 6},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.step);
        s.act();
        EXPECT_EQ(view.State(), s.state);
        const std::vector<DWORD> events = heard.For(window);
        EXPECT_EQ(std::count(events.begin(), events.end(), static_cast<DWORD>(EVENT_OBJECT_STATECHANGE)),
                  static_cast<ptrdiff_t>(s.announced));
    }
}

// A host says which buttons latch: a toggle is a check button, checked while it rests in
// the pressed frame, a tab a page tab, selected then; a press in progress shows on neither.
TEST_F(AccessibleButtons, TogglesAndTabsSayWhetherTheyAreLatched)
{
    const struct {
        int kind;
        LONG role;
        DWORD latched;
        const char* action;
        const char* latchedAction;
    } kinds[] = {
        {VELTRA_BUTTON_KIND_PUSH, ROLE_SYSTEM_PUSHBUTTON, STATE_SYSTEM_PRESSED, "Press", "Press"},
        {VELTRA_BUTTON_KIND_TOGGLE, ROLE_SYSTEM_CHECKBUTTON, STATE_SYSTEM_CHECKED, "Check", "Uncheck"},
        {VELTRA_BUTTON_KIND_TAB, ROLE_SYSTEM_PAGETAB, STATE_SYSTEM_SELECTED, "Switch", "Switch"},
    };
    IColorButtom* button = Make(200);
    const HWND window = WindowOf(button);
    ScreenReaderView view(window);
    for (const auto& k : kinds) {
        SCOPED_TRACE(k.kind);
        EXPECT_TRUE(veltra->SetAccessibleOption(button, VELTRA_ACCESS_BUTTON_KIND, k.kind));
        EXPECT_EQ(view.Role(), k.role);
        EXPECT_EQ(view.DefaultAction(), k.action);
        SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, Point(2, 2));
        EXPECT_EQ((view.State() & k.latched) != 0, k.kind == VELTRA_BUTTON_KIND_PUSH);
        SendMessageA(window, WM_LBUTTONUP, 0, Point(2, 2));
        button->SetState(VELTRA_FRAME_PRESSED);  // the host latches it
        EXPECT_TRUE(view.State() & k.latched);
        EXPECT_EQ(view.DefaultAction(), k.latchedAction);
        button->SetState(VELTRA_FRAME_NORMAL);
        EXPECT_FALSE(view.State() & k.latched);
    }
    EXPECT_FALSE(veltra->SetAccessibleOption(button, VELTRA_ACCESS_BUTTON_KIND, 3));
    EXPECT_FALSE(veltra->SetAccessibleOption(button, VELTRA_ACCESS_SLIP_PAGE, 5));
    EXPECT_FALSE(veltra->SetAccessibleOption(nullptr, VELTRA_ACCESS_BUTTON_KIND, 0));
    EXPECT_EQ(view.Role(), ROLE_SYSTEM_PAGETAB);
}

// "Press" reports what a click reports, once the screen reader's call has returned.
TEST_F(AccessibleButtons, PressReportsWhatAClickReportsAfterTheCallReturns)
{
    IColorButtom* button = Make(5);
    const HWND window = WindowOf(button);
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, Point(2, 2));
    SendMessageA(window, WM_LBUTTONUP, 0, Point(2, 2));
    const std::vector<Event> click = events;
    events.clear();
    ScreenReaderView view(window);
    EXPECT_EQ(view->accDoDefaultAction(Self()), S_OK);
    EXPECT_TRUE(events.empty());
    Pump(0);
    EXPECT_EQ(events, click);
    EXPECT_EQ(button->GetState(), VELTRA_FRAME_NORMAL);

    // The host may destroy the button on hearing of the press: the release is not reported.
    events.clear();
    victim = button;
    made.clear();
    destroyOn = VELTRA_BUTTON_PRESSED;
    onEvent = [](const Event& e) { DestroyVictimOn(e.code); };
    EXPECT_EQ(view->accDoDefaultAction(Self()), S_OK);
    Pump(0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(events, (std::vector<Event>{{5, VELTRA_BUTTON_PRESSED, MK_LBUTTON, UserValue}}));
    EXPECT_EQ(view.Name(), "");  // and the screen reader's object is cut off
}

// A screen reader holds on to the objects it was given. Once their control is gone every
// call fails, touching nothing of the control (the page heap would fault).
class AccessibleControls : public LibraryTest {};

TEST_F(AccessibleControls, EveryCallOnTheObjectOfAGoneControlFails)
{
    IColorButtom* button = nullptr;
    ILableControl* label = nullptr;
    ISlipControl* slip = nullptr;
    veltra->FactroyColorButtom(&button, 2, *host, nullptr, 0);
    veltra->FactroyLableControl(&label, 0, *host);
    veltra->FactroySlipControl(&slip, 0, *host, nullptr, 0);
    ASSERT_TRUE(button && label && slip);
    const struct {
        const char* kind;
        HWND window;
        std::function<void()> destroy;
    } controls[] = {
        {"button", WindowOf(button), [&] { button->Destroy(); }},
        {"label", WindowOf(label), [&] { label->Destroy(); }},
        {"slip", WindowOf(slip), [&] { slip->Destroy(); }},
    };
    for (const auto& c : controls) {
        SCOPED_TRACE(c.kind);
        ScreenReaderView view(c.window);
        IAccessible* object = view.object;
        ASSERT_TRUE(object);
        VARIANT self = Self(), other = Self(), out;
        other.lVal = 99;  // past every part
        BSTR text = nullptr;
        // Alive, it answers for itself only, and into a place given.
        EXPECT_EQ(object->get_accName(other, &text), E_INVALIDARG);
        EXPECT_EQ(object->get_accName(self, nullptr), E_POINTER);
        EXPECT_EQ(object->get_accRole(other, &out), E_INVALIDARG);

        c.destroy();
        IDispatch* dispatch = nullptr;
        ITypeInfo* info = nullptr;
        long left, top, width, height;
        UINT count;
        LPOLESTR member = const_cast<LPOLESTR>(L"accName");
        DISPID id;
        DISPPARAMS none = {};
        const HRESULT results[] = {
            object->get_accParent(&dispatch),
            object->get_accChildCount(&left),
            object->get_accChild(self, &dispatch),
            object->get_accName(self, &text),
            object->get_accValue(self, &text),
            object->get_accDescription(self, &text),
            object->get_accRole(self, &out),
            object->get_accState(self, &out),
            object->get_accHelp(self, &text),
            object->get_accHelpTopic(&text, self, &left),
            object->get_accKeyboardShortcut(self, &text),
            object->get_accFocus(&out),
            object->get_accSelection(&out),
            object->get_accDefaultAction(self, &text),
            object->accSelect(SELFLAG_TAKEFOCUS, self),
            object->accLocation(&left, &top, &width, &height, self),
            object->accNavigate(NAVDIR_NEXT, self, &out),
            object->accHitTest(0, 0, &out),
            object->accDoDefaultAction(self),
            object->put_accName(self, nullptr),
            object->put_accValue(self, nullptr),
            object->GetTypeInfoCount(&count),
            object->GetTypeInfo(0, 0, &info),
            object->GetIDsOfNames(IID_NULL, &member, 1, 0, &id),
            object->Invoke(0, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, nullptr, nullptr, nullptr),
        };
        for (size_t i = 0; i < std::size(results); ++i)
            EXPECT_EQ(results[i], RPC_E_DISCONNECTED) << "call " << i;
        EXPECT_EQ(text, nullptr);
        EXPECT_EQ(dispatch, nullptr);
    }
}

namespace {

int heardFromControls = 0;

// Runs work on a thread of a screen reader's own, in the given apartment, while this thread
// serves its windows.
template <typename Work>
void OnReaderThread(DWORD apartment, Work work)
{
    std::atomic<bool> done{false};
    std::thread reader([&] {
        CoInitializeEx(nullptr, apartment);
        work();
        CoUninitialize();
        done = true;
    });
    while (!done)
        Pump(10);
    reader.join();
}

void WINAPI HearButton(int, int, WPARAM, INT_PTR)
{
    ++heardFromControls;
}

void WINAPI HearSlip(int, INT_PTR, int)
{
    ++heardFromControls;
}

LRESULT CALLBACK PanelProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NOTIFY)
        ++heardFromControls;
    return DefWindowProcA(window, msg, wParam, lParam);
}

}  // namespace

// What a user could not click, a screen reader can neither press nor set: a control hidden
// or disabled, or standing in a panel that is, when the screen reader asks or by the time
// its request arrives. The host hears nothing of it.
TEST_F(AccessibleControls, WhatAUserCouldNotClickAScreenReaderCannotDo)
{
    WNDCLASSA panelClass = {};
    panelClass.lpfnWndProc = PanelProc;
    panelClass.hInstance = GetModuleHandleA(nullptr);
    panelClass.lpszClassName = "VeltraTestPanel";
    RegisterClassA(&panelClass);
    const HWND panel = CreateWindowExA(0, panelClass.lpszClassName, "", WS_CHILD | WS_VISIBLE, 0, 0, 800, 600, *host,
                                       nullptr, panelClass.hInstance, nullptr);
    IColorButtom* button = nullptr;
    ILableControl* label = nullptr;
    ISlipControl* slip = nullptr;
    veltra->FactroyColorButtom(&button, 2, panel, HearButton, 0);
    veltra->FactroyLableControl(&label, 4, panel);
    veltra->FactroySlipControl(&slip, 1, panel, HearSlip, 0);
    ASSERT_TRUE(button && label && slip);
    const struct {
        const char* kind;
        HWND window;
        bool value;  // asked to take a value, else to do its default action
        int heard;   // what the host hears when it may
    } controls[] = {{"button", WindowOf(button), false, 2}, {"label", WindowOf(label), false, 1},
                    {"slip", WindowOf(slip), true, 1}};
    const struct {
        const char* how;
        bool panel;
        bool hide;
    } ways[] = {{"disabled", false, false}, {"hidden", false, true}, {"in a disabled panel", true, false},
                {"in a hidden panel", true, true}};
    for (const auto& c : controls)
        for (const auto& way : ways) {
            SCOPED_TRACE(std::string(c.kind) + " " + way.how);
            const auto make = [&](bool unclickable) {
                const HWND target = way.panel ? panel : c.window;
                if (way.hide)
                    ShowWindow(target, unclickable ? SW_HIDE : SW_SHOWNA);
                else
                    EnableWindow(target, !unclickable);
            };
            ScreenReaderView view(c.window);
            const auto ask = [&] { return c.value ? view.PutValue(L"5") : view->accDoDefaultAction(Self()); };
            heardFromControls = 0;
            make(true);
            EXPECT_EQ(ask(), E_ACCESSDENIED);
            make(false);
            EXPECT_EQ(ask(), S_OK);  // asked while a user could click, delivered when not
            make(true);
            Pump(0);
            make(false);
            EXPECT_EQ(heardFromControls, 0);
            EXPECT_EQ(ask(), S_OK);
            Pump(0);
            EXPECT_EQ(heardFromControls, c.heard);
        }
    button->Destroy();
    label->Destroy();
    slip->Destroy();
    DestroyWindow(panel);
}

// Only the library names or presses a control: the library's own message, sent or posted
// by anybody with any arguments, does nothing and reads nothing.
TEST_F(AccessibleControls, TheLibrarysMessageFromElsewhereDoesNothing)
{
    IColorButtom* button = nullptr;
    veltra->FactroyColorButtom(&button, 2, *host, HearButton, 0);
    ASSERT_TRUE(button);
    const HWND window = WindowOf(button);
    ScreenReaderView view(window);
    const UINT message = RegisterWindowMessageA(AccessMessageName);
    heardFromControls = 0;
    for (WPARAM command = 0; command < 8; ++command)
        for (LPARAM argument : {LPARAM{0}, LPARAM{1}, reinterpret_cast<LPARAM>("Renamed"), LPARAM{-1}}) {
            SendMessageA(window, message, command, argument);
            PostMessageA(window, message, command, argument);
        }
    Pump(0);
    EXPECT_EQ(heardFromControls, 0);
    EXPECT_EQ(view.Name(), "Play");
    button->Destroy();
}

// Refused the memory for its object, a control leaves the request to the system, which
// serves a plain client object; the next request gets the control's own.
TEST_F(AccessibleControls, WithoutMemoryTheSystemAnswersForTheControl)
{
    IColorButtom* button = nullptr;
    veltra->FactroyColorButtom(&button, 6, *host, nullptr, 0);
    ASSERT_TRUE(button);
    ledger->FailCreation(1);
    {
        ScreenReaderView plain(WindowOf(button));
        EXPECT_TRUE(ledger->Failed());
        ASSERT_TRUE(plain.object);
        EXPECT_EQ(plain.Role(), ROLE_SYSTEM_CLIENT);
    }
    ledger->FailCreation(0);
    EXPECT_EQ(ScreenReaderView(WindowOf(button)).Name(), "Eject");
    button->Destroy();
}

// The library's code must outlive every object a screen reader holds, even when the host
// lets the library go first.
TEST(AccessibleLibrary, StaysLoadedWhileAScreenReaderHoldsAnObject)
{
    HostWindow host;
    auto veltra = std::make_unique<Veltra>();
    IColorButtom* button = nullptr;
    veltra->FactroyColorButtom(&button, 2, host, nullptr, 0);
    ASSERT_TRUE(button);
    ScreenReaderView view(WindowOf(button));
    button->Destroy();
    veltra.reset();
    EXPECT_TRUE(GetModuleHandleA(LibraryFile));
    BSTR name = nullptr;
    EXPECT_EQ(view->get_accName(Self(), &name), RPC_E_DISCONNECTED);
    view.Let();  // the last release runs the library's code
}

namespace {

std::set<DWORD> slipHeardOn;  // every callback's thread
std::vector<int> slipCodes;

void WINAPI HearSlipThread(int, INT_PTR, int code)
{
    slipHeardOn.insert(GetCurrentThreadId());
    slipCodes.push_back(code);
}

VARIANT Part(LONG part)
{
    VARIANT child = Self();
    child.lVal = part;
    return child;
}

}  // namespace

// A host whose window thread is in the multithreaded apartment hands screen readers the
// object itself, and they call it on threads of their own. Each call runs on the window's
// thread all the same, the host hears everything there, the focus follows, and a call
// racing the control's destruction fails cleanly. A process of its own, since the
// apartment stays.
TEST(AccessibleThreads, EveryCallRunsOnTheWindowsThread)
{
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
    {
        Veltra veltra;
        HostWindow host;
        Ledger ledger(veltra.module, Ledger::Heap::Pages);
        ISlipControl* slip = nullptr;
        veltra.FactroySlipControl(&slip, 1, host, HearSlipThread, 0);
        ASSERT_TRUE(slip);
        slip->SetRange(0, 240);  // two values a pixel
        const HWND window = WindowOf(slip);
        ScreenReaderView view(window);
        IAccessible* object = view.object;
        ASSERT_TRUE(object);
        HRESULT focus = E_FAIL, put = E_FAIL, press = E_FAIL;
        VARIANT focused = {}, state = {};
        OnReaderThread(COINIT_MULTITHREADED, [&] {
            focus = object->accSelect(SELFLAG_TAKEFOCUS, Self());
            object->get_accFocus(&focused);
            object->get_accState(Self(), &state);
            BSTR eight = SysAllocString(L"8");
            put = object->put_accValue(Self(), eight);
            SysFreeString(eight);
            press = object->accDoDefaultAction(Part(3));  // a page forward
        });
        Pump(0);
        EXPECT_EQ(focus, S_OK);
        EXPECT_EQ(GetFocus(), window);
        EXPECT_EQ(focused.vt, VT_I4);
        EXPECT_EQ(focused.lVal, CHILDID_SELF);
        EXPECT_TRUE(state.lVal & STATE_SYSTEM_FOCUSED);
        EXPECT_EQ(put, S_OK);
        EXPECT_EQ(press, S_OK);
        EXPECT_EQ(slip->GetValue(), 32);  // a tenth of the range on
        EXPECT_EQ(slipCodes, (std::vector<int>{VELTRA_SLIP_VALUE_CHANGED, VELTRA_SLIP_VALUE_CHANGED,
                                               VELTRA_SLIP_DRAG_ENDED}));
        EXPECT_EQ(slipHeardOn, std::set<DWORD>{GetCurrentThreadId()});

        // The reader calls until a call made after the destruction, which must find the
        // control gone; any other result ends the race at once.
        HRESULT result = S_OK;
        std::atomic<bool> destroyed{false}, finished{false};
        std::thread racer([&] {
            for (bool after = false; !after && (result == S_OK || result == RPC_E_DISCONNECTED);) {
                after = destroyed;
                BSTR name = nullptr;
                result = object->get_accName(Self(), &name);
                SysFreeString(name);
            }
            finished = true;
        });
        Pump(50);
        slip->Destroy();
        destroyed = true;
        while (!finished)
            Pump(10);
        racer.join();
        EXPECT_EQ(result, RPC_E_DISCONNECTED);
        view.Let();
        EXPECT_EQ(ledger.Alive(), std::vector<std::string>{});
        EXPECT_EQ(ledger.Faults(), std::vector<std::string>{});
    }
    CoUninitialize();
}

namespace {

struct FoundControl {
    HWND window;
    LONG role;
    std::string value;
};

BOOL CALLBACK Find(HWND window, LPARAM found)
{
    ScreenReaderView view(window);
    if (view.object)
        reinterpret_cast<std::map<std::string, FoundControl>*>(found)->insert(
            {view.Name(), {window, view.Role(), view.Value()}});
    return TRUE;
}

BOOL CALLBACK Count(HWND, LPARAM count)
{
    ++*reinterpret_cast<size_t*>(count);
    return TRUE;
}

}  // namespace

// The demo in a process of its own, read as a screen reader reads it, through the system's
// marshalling: what the demo named, and a default action that reaches it.
TEST(AccessibleDemo, AScreenReaderInAnotherProcessFindsWhatTheDemoNamed)
{
#ifndef _WIN64
    // Emulated 32-bit processes that have shared COM objects crash as they exit, with or
    // without the library (a plain test server does the same), and fail the run.
    GTEST_SKIP() << "cross-process COM under 32-bit emulation";
#endif
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));  // as a screen reader's own thread is
    std::string command = "\"" + LibraryPath("veltra_demo.exe") + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION demo = {};
    ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &demo));
    constexpr size_t Controls = 42 + 6 + 3;
    HWND main = nullptr;
    size_t children = 0;
    for (int wait = 0; wait < 300 && children < Controls; ++wait) {
        Sleep(100);
        main = FindWindowA("Veltra1024Demo", nullptr);
        children = 0;
        EnumChildWindows(main, Count, reinterpret_cast<LPARAM>(&children));
    }
    ASSERT_TRUE(main);
    std::map<std::string, FoundControl> found;
    EnumChildWindows(main, Find, reinterpret_cast<LPARAM>(&found));
    EXPECT_EQ(found.size(), Controls);
    EXPECT_EQ(found["Play"].role, ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_EQ(found["Raise band 1"].role, ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_EQ(found["Band 4, dB"].role, ROLE_SYSTEM_STATICTEXT);
    EXPECT_EQ(found["Band 4, dB"].value, "-3");
    EXPECT_EQ(found["Position"].role, ROLE_SYSTEM_SLIDER);
    EXPECT_EQ(found["Position"].value, "350");

    // The demo declares its mode tabs and its speaker toggle; "Switch" on a mode tab: the
    // demo latches it on hearing of the release, and the tab is selected.
    EXPECT_EQ(found["Speaker on"].role, ROLE_SYSTEM_CHECKBUTTON);
    ScreenReaderView tab(found["Mode 3"].window);
    ASSERT_TRUE(tab.object);
    EXPECT_EQ(tab.Role(), ROLE_SYSTEM_PAGETAB);
    EXPECT_FALSE(tab.State() & STATE_SYSTEM_SELECTED);
    EXPECT_EQ(tab->accDoDefaultAction(Self()), S_OK);
    for (int wait = 0; wait < 50 && !(tab.State() & STATE_SYSTEM_SELECTED); ++wait)
        Sleep(100);
    EXPECT_TRUE(tab.State() & STATE_SYSTEM_SELECTED);
    tab.Let();

    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(demo.hProcess, 30000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    GetExitCodeProcess(demo.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    CloseHandle(demo.hThread);
    CloseHandle(demo.hProcess);
    CoUninitialize();
}
