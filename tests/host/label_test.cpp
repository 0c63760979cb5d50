// Labels as a host drives them: through the factory and the interface, with real
// messages, watching WM_NOTIFY, pixels and the ledger.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "tests/host/library_test.h"
#include "tests/support/image.h"
#include "tests/support/ledger.h"

namespace {

// A rectangle as the tables write it.
struct Box {
    LONG left, top, right, bottom;

    bool operator==(const Box& other) const
    {
        return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
    }
    LONG Width() const { return right - left; }
    LONG Height() const { return bottom - top; }
    bool Empty() const { return right <= left || bottom <= top; }
};

std::ostream& operator<<(std::ostream& out, const Box& b)
{
    return out << "(" << b.left << ", " << b.top << ", " << b.right << ", " << b.bottom << ")";
}

Box BoxOf(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// The label object as its fields lie after the virtual table, in their documented order.
struct LabelFields {
    void* table;
    HWND hWnd;
    COLORREF textColor;
    char* labelText;
    HBRUSH faceBrush;
    HBRUSH backBrush;
    LOGFONTA fontDesc;
    HFONT font;
    HCURSOR hoverCursor;
    int highlightDownRight;
    DWORD flags;
    HBITMAP backSnapshot;
    int controlId;
    WNDPROC prevWndProc;
};

const LabelFields& Fields(const ILableControl* label) { return *reinterpret_cast<const LabelFields*>(label); }

char* const UseWindowText = reinterpret_cast<char*>(~static_cast<UINT_PTR>(0));
constexpr UINT_PTR BlinkTimer = 100;
constexpr COLORREF White = RGB(255, 255, 255);

// ---- Places

// The rectangle of a type, as the label factory's table writes it: D10 is the layout
// rule's D, all six share top H - 60 and bottom H - 49.
struct LabelRect {
    ScreenExpr left, top, right, bottom;

    Box At(SIZE screen) const
    {
        return {left.At(screen), top.At(screen), right.At(screen), bottom.At(screen)};
    }
    std::string Written() const
    {
        return "(" + Describe(left) + ", " + Describe(top) + ", " + Describe(right) + ", " + Describe(bottom) + ")";
    }
};

// Every type code and its rectangle, as asked of window creation, on any screen.
const LabelRect LabelRects[6] = {
    {D10x(1, 194), HMinus(60), D10x(2, 224), HMinus(49)},
    {D10x(2, 255), HMinus(60), D10x(3, 272), HMinus(49)},
    {D10x(3, 303), HMinus(60), D10x(4, 320), HMinus(49)},
    {D10x(4, 377), HMinus(60), D10x(5, 394), HMinus(49)},
    {D10x(5, 425), HMinus(60), D10x(6, 442), HMinus(49)},
    {D10x(6, 473), HMinus(60), D10x(7, 490), HMinus(49)},
};

// What a CBT hook sees as each window is made on this thread: the size asked for, and
// what the factory's out-pointer held by then.
struct Creation {
    SIZE size;
    ILableControl* out;
};
std::vector<Creation> creations;
ILableControl* factoryOut = nullptr;

LRESULT CALLBACK WatchCreation(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTA* create = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
        creations.push_back({{create->cx, create->cy}, factoryOut});
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// ---- Notifications: the host window is subclassed to hear WM_NOTIFY.

// What WM_NOTIFY brought: wParam, then the NMHDR's hwndFrom, idFrom and code.
using Click = std::tuple<WPARAM, HWND, UINT_PTR, UINT>;

std::vector<Click> clicks;
void (*onClick)() = nullptr;
WNDPROC hostProc = nullptr;

LRESULT CALLBACK ListeningHost(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        clicks.push_back({wParam, header->hwndFrom, header->idFrom, header->code});
        if (onClick)
            onClick();
        return 0;
    }
    return CallWindowProcA(hostProc, window, msg, wParam, lParam);
}

// ---- A foreign window for Attach: it records what reaches its own procedure.

constexpr UINT ForeignQuestion = WM_USER + 7;
constexpr LRESULT ForeignAnswer = 0x1234;
std::vector<UINT> foreignSaw;

LRESULT CALLBACK ForeignProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    foreignSaw.push_back(msg);
    if (msg == ForeignQuestion || msg == WM_SETCURSOR || msg == WM_TIMER || msg == WM_LBUTTONDOWN)
        return ForeignAnswer;
    return DefWindowProcA(window, msg, wParam, lParam);
}

bool Saw(UINT msg) { return std::find(foreignSaw.begin(), foreignSaw.end(), msg) != foreignSaw.end(); }

// A procedure the host puts over a window's, counting the messages it passes on.
std::map<HWND, WNDPROC> underSubclass;
int subclassSaw = 0;

LRESULT CALLBACK HostSubclass(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    ++subclassSaw;
    return CallWindowProcA(underSubclass[window], window, msg, wParam, lParam);
}

void Subclass(HWND window)
{
    underSubclass[window] =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HostSubclass)));
}

// ---- Pixels

// The host's pattern under the labels: every pixel differs from its neighbours.
uint32_t Pattern(int x, int y, int shift) { return RGB((x * 7 + shift) & 0xFF, (y * 11) & 0xFF, 0x40 + shift); }

// Paints the pattern over area of the host, children included, so that a label's next
// snapshot finds it.
void PaintPattern(HWND host, const Box& area, int shift)
{
    Canvas pattern(area.Width(), area.Height(), 0);
    for (int y = 0; y < area.Height(); ++y)
        for (int x = 0; x < area.Width(); ++x)
            SetPixelV(pattern.dc(), x, y, Pattern(area.left + x, area.top + y, shift));
    HDC dc = GetDCEx(host, nullptr, DCX_CACHE);
    BitBlt(dc, area.left, area.top, area.Width(), area.Height(), pattern.dc(), 0, 0, SRCCOPY);
    ReleaseDC(host, dc);
}

// What the pattern looks like under area, as 0x00RRGGBB.
Image PatternImage(const Box& area, int shift)
{
    Image image;
    image.width = area.Width();
    image.height = area.Height();
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const COLORREF c = Pattern(area.left + x, area.top + y, shift);
            image.pixels.push_back(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c));
        }
    return image;
}

uint32_t Rgb(COLORREF c) { return GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c); }

Image Solid(int width, int height, COLORREF color)
{
    Image image;
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<size_t>(width) * height, Rgb(color));
    return image;
}

// The bounding box of the pixels where shown differs from background: the text's ink.
Box Ink(const Image& shown, const Image& background)
{
    Box ink = {shown.width, shown.height, 0, 0};
    for (int y = 0; y < shown.height; ++y)
        for (int x = 0; x < shown.width; ++x)
            if (shown.At(x, y) != background.At(x, y)) {
                ink.left = std::min<LONG>(ink.left, x);
                ink.top = std::min<LONG>(ink.top, y);
                ink.right = std::max<LONG>(ink.right, x + 1);
                ink.bottom = std::max<LONG>(ink.bottom, y + 1);
            }
    return ink.Empty() ? Box{} : ink;
}

// Rows from..to (exclusive) of picture.
Image Rows(const Image& picture, int from, int to)
{
    Image part;
    part.width = picture.width;
    part.height = to - from;
    part.pixels.assign(picture.pixels.begin() + static_cast<size_t>(from) * picture.width,
                       picture.pixels.begin() + static_cast<size_t>(to) * picture.width);
    return part;
}

// The one font the label holds, as the system describes it.
LOGFONTA LiveFont(const Ledger& ledger)
{
    LOGFONTA font = {};
    const std::vector<HANDLE> fonts = ledger.Objects("font");
    EXPECT_EQ(fonts.size(), 1u);
    if (!fonts.empty())
        GetObjectA(fonts[0], sizeof font, &font);
    return font;
}

int ScreenDpi()
{
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

LPARAM Point(int x, int y) { return MAKELPARAM(x, y); }

}  // namespace

class LabelTest : public ControlTest<ILableControl> {
protected:
    // The host window is subclassed to hear WM_NOTIFY; the foreign class serves Attach.
    static void SetUpTestSuite()
    {
        LibraryTest::SetUpTestSuite();
        hostProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(*host, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListeningHost)));
        WNDCLASSA foreign = {};
        foreign.lpfnWndProc = ForeignProc;
        foreign.hInstance = GetModuleHandleA(nullptr);
        foreign.hCursor = LoadCursorA(nullptr, IDC_IBEAM);
        foreign.lpszClassName = "VeltraForeign";
        RegisterClassA(&foreign);
    }

    static void TearDownTestSuite()
    {
        SetWindowLongPtrA(*host, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hostProc));
        LibraryTest::TearDownTestSuite();
        UnregisterClassA("VeltraForeign", GetModuleHandleA(nullptr));
    }

    void SetUp() override
    {
        clicks.clear();
        foreignSaw.clear();
        onClick = nullptr;
        LibraryTest::SetUp();
    }

    void DestroyControls() override
    {
        onClick = nullptr;
        ControlTest::DestroyControls();
        for (HWND window : windows)  // made or left here, not by the library
            if (IsWindow(window)) {
                DestroyWindow(window);
                ledger->Forget(window);
            }
    }

    ILableControl* Make(UINT code)
    {
        ILableControl* label = nullptr;
        veltra->FactroyLableControl(&label, code, *host);
        return Keep(label);
    }

    // A label from the factory, moved to area of the host, with text and without a
    // pending paint.
    ILableControl* MakeAt(const Box& area, const char* text = nullptr, UINT code = 0)
    {
        ILableControl* label = Make(code);
        MoveWindow(WindowOf(label), area.left, area.top, area.Width(), area.Height(), TRUE);
        label->SetText(text);
        UpdateWindow(*host);
        UpdateWindow(WindowOf(label));
        return label;
    }

    // Paints the pattern under a label and has the label take it as its background.
    void ShowPattern(ILableControl* label, const Box& area, int shift)
    {
        // Painted over the label itself: the parent's DC shows the label's pixels there.
        PaintPattern(*host, area, shift);
        label->RefreshBackground();
    }

    // A label over a solid background, for reading its text.
    ILableControl* MakeOnColour(const Box& area, const char* text, COLORREF back, COLORREF fore)
    {
        ILableControl* label = MakeAt(area, text);
        label->SetFlags(0, VELTRA_LABEL_TRANSPARENT);
        label->SetBackColor(back);
        label->SetForeColor(fore);
        return label;
    }

    // A window of the test's own class, child of the host.
    HWND MakeForeign(const Box& area, DWORD style = 0)
    {
        const HWND window = CreateWindowExA(0, "VeltraForeign", "foreign", WS_CHILD | WS_VISIBLE | style, area.left,
                                            area.top, area.Width(), area.Height(), *host, nullptr,
                                            GetModuleHandleA(nullptr), nullptr);
        windows.push_back(window);
        ledger->Lend(window);  // a label that adopts it may destroy it
        UpdateWindow(window);
        return window;
    }

    // Forgets a label that the test disposes of itself.
    void Forget(ILableControl* label) { made.erase(std::find(made.begin(), made.end(), label)); }

    std::vector<HWND> windows;
};

// Where the labels are: on every screen.
class LabelPlaces : public LabelTest {};

// What they do: the same on every screen.
class Labels : public LabelTest {};

TEST_F(LabelPlaces, EveryTypeSitsAtItsPlaceAsAChildOfTheQuovenClass)
{
    const SIZE screen = Screen();
    HHOOK hook = SetWindowsHookExA(WH_CBT, WatchCreation, nullptr, GetCurrentThreadId());
    for (UINT code = 0; code < 6; ++code) {
        SCOPED_TRACE(code);
        creations.clear();
        factoryOut = nullptr;
        veltra->FactroyLableControl(&factoryOut, code, *host);
        ILableControl* label = factoryOut;
        ASSERT_TRUE(Keep(label));
        const HWND window = WindowOf(label);
        ASSERT_EQ(creations.size(), 1u);
        EXPECT_EQ(creations[0].out, label) << "the host holds the label before its window is made";
        EXPECT_EQ(creations[0].size.cy, 11);
        RECT rect;
        GetWindowRect(window, &rect);
        MapWindowPoints(nullptr, *host, reinterpret_cast<POINT*>(&rect), 2);
        // The rectangle on this screen, from the table's expressions: every screen the
        // suite runs on checks all six.
        const Box expected = LabelRects[code].At(screen);
        SCOPED_TRACE("rectangle " + LabelRects[code].Written());
        EXPECT_EQ(rect.left, expected.left);
        EXPECT_EQ(rect.top, expected.top);
        EXPECT_EQ(rect.bottom, expected.bottom);
        // A right side left of the left one is passed on as a negative width; the
        // system makes such a window empty.
        EXPECT_EQ(creations[0].size.cx, expected.Width());
        EXPECT_EQ(rect.right - rect.left, std::max<LONG>(expected.Width(), 0));
        EXPECT_EQ(rect.bottom - rect.top, 11);
        // Class, style, extended style, text length, child identifier, parent, bound object.
        char className[64] = {};
        GetClassNameA(window, className, sizeof className);
        EXPECT_EQ(std::make_tuple(std::string(className), GetWindowLongA(window, GWL_STYLE),
                                  GetWindowLongA(window, GWL_EXSTYLE), GetWindowTextLengthA(window),
                                  GetDlgCtrlID(window), GetParent(window), GetWindowLongPtrA(window, GWLP_USERDATA)),
                  std::make_tuple(std::string("QUOVEN_BASEWINDOW"), LONG{0x50000003}, LONG{0}, 0, 0,
                                  static_cast<HWND>(*host), reinterpret_cast<LONG_PTR>(label)));
    }
    UnhookWindowsHookEx(hook);
}

TEST_F(LabelPlaces, UnknownCodesGiveNullAndNoWindow)
{
    for (UINT code : {6u, 7u, 100u, 0x80000000u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(code);
        ILableControl* label = reinterpret_cast<ILableControl*>(1);
        veltra->FactroyLableControl(&label, code, *host);
        EXPECT_EQ(label, nullptr);
    }
    veltra->FactroyLableControl(nullptr, 0, *host);  // nowhere to put it: nothing made
    EXPECT_EQ(GetWindow(*host, GW_CHILD), nullptr);
    EXPECT_EQ(ledger->Calls("CreateWindowExA"), 0);
    EXPECT_EQ(ledger->Calls("CreateFontIndirectA"), 0);
}

// A label whose place leaves it no area on this screen paints nothing and makes nothing.
TEST_F(LabelPlaces, ALabelWithoutAreaPaintsNothing)
{
    for (UINT code = 0; code < 6; ++code) {
        SCOPED_TRACE(code);
        const HWND window = WindowOf(Make(code));
        RECT client;
        GetClientRect(window, &client);
        if (!IsRectEmpty(&client))
            continue;
        const int bitmaps = ledger->Calls("CreateCompatibleBitmap");
        const int dcs = ledger->Calls("CreateCompatibleDC") + ledger->Calls("GetDC");
        SendMessageA(window, WM_PAINT, 0, 0);
        EXPECT_EQ(ledger->Calls("CreateCompatibleBitmap"), bitmaps);
        EXPECT_EQ(ledger->Calls("CreateCompatibleDC") + ledger->Calls("GetDC"), dcs);
    }
}

// ---- The factory's label

TEST_F(Labels, TheFactoryMakesATransparentLabelWithWhiteCentredTextAtTenPoints)
{
    const Box area = {300, 200, 420, 240};
    ILableControl* label = Make(3);
    const HWND window = WindowOf(label);
    MoveWindow(window, area.left, area.top, area.Width(), area.Height(), TRUE);
    UpdateWindow(window);
    ShowPattern(label, area, 0);

    const LabelFields& fields = Fields(label);
    EXPECT_EQ(fields.flags, static_cast<DWORD>(VELTRA_LABEL_TRANSPARENT | VELTRA_LABEL_NOTIFY_STYLE));
    EXPECT_EQ(fields.textColor, White);
    EXPECT_EQ(fields.labelText, UseWindowText);
    EXPECT_EQ(fields.controlId, 3);
    EXPECT_EQ(fields.prevWndProc, nullptr);
    EXPECT_EQ(fields.hoverCursor, nullptr);
    EXPECT_EQ(fields.backBrush, nullptr);
    EXPECT_EQ(GetWindowLongA(window, GWL_STYLE), 0x50000003);

    LOGFONTA gui = {};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui);
    const LOGFONTA font = LiveFont(*ledger);
    EXPECT_STREQ(font.lfFaceName, gui.lfFaceName);
    EXPECT_EQ(font.lfHeight, -(ScreenDpi() * 100 / 720));
    EXPECT_EQ(font.lfWeight, gui.lfWeight);
    EXPECT_EQ(fields.fontDesc.lfHeight, font.lfHeight);
    EXPECT_STREQ(fields.fontDesc.lfFaceName, font.lfFaceName);

    // The window's text shows, in white, centred at the top, over the parent's pixels.
    EXPECT_EQ(FirstDifference(Capture(window), PatternImage(area, 0)), "");
    SetWindowTextA(window, "Veltra");
    InvalidateRect(window, nullptr, FALSE);
    const Image shown = Capture(window);
    const Box ink = Ink(shown, PatternImage(area, 0));
    ASSERT_FALSE(ink.Empty());
    EXPECT_LE(std::abs(ink.left - (area.Width() - ink.right)), 2) << ink;
    EXPECT_LE(ink.top, 4);
    int white = 0;
    for (uint32_t pixel : shown.pixels)
        white += pixel == 0xFFFFFF;
    EXPECT_GT(white, 10);
}

TEST_F(Labels, AFailedWindowLeavesNullAndNothingBehind)
{
    ILableControl* label = reinterpret_cast<ILableControl*>(1);
    veltra->FactroyLableControl(&label, 1, reinterpret_cast<HWND>(0x1234));
    EXPECT_EQ(label, nullptr);
    EXPECT_EQ(ledger->Calls("CreateFontIndirectA"), 1);
    EXPECT_EQ(ledger->Calls("CreateSolidBrush"), 1);
    EXPECT_EQ(ledger->Calls("DeleteObject"), 2);
}

// ---- Text

TEST_F(Labels, TheWindowTextShowsUntilGetTextTakesACopy)
{
    const Box area = {100, 300, 220, 330};
    const Image empty = Solid(area.Width(), area.Height(), RGB(0, 0, 80));
    ILableControl* label = MakeOnColour(area, nullptr, RGB(0, 0, 80), RGB(255, 255, 0));
    const HWND window = WindowOf(label);
    EXPECT_EQ(FirstDifference(Capture(window), empty), "");  // SetText(nullptr): no text at all

    ILableControl* reader = Make(1);
    const HWND readerWindow = WindowOf(reader);
    MoveWindow(readerWindow, area.left, area.top + 40, area.Width(), area.Height(), TRUE);
    reader->SetFlags(0, VELTRA_LABEL_TRANSPARENT);
    reader->SetBackColor(RGB(0, 0, 80));
    SetWindowTextA(readerWindow, "abc");
    InvalidateRect(readerWindow, nullptr, FALSE);
    const Image abc = Capture(readerWindow);
    EXPECT_FALSE(Ink(abc, empty).Empty());
    EXPECT_EQ(Fields(reader).labelText, UseWindowText);
    SetWindowTextA(readerWindow, "xyz uvw");
    InvalidateRect(readerWindow, nullptr, FALSE);
    EXPECT_NE(FirstDifference(Capture(readerWindow), abc), "") << "read afresh at every paint";

    SetWindowTextA(readerWindow, "abc");
    const char* copy = reader->GetText();
    ASSERT_NE(copy, nullptr);
    EXPECT_STREQ(copy, "abc");
    SetWindowTextA(readerWindow, "xyz uvw");
    InvalidateRect(readerWindow, nullptr, FALSE);
    EXPECT_EQ(FirstDifference(Capture(readerWindow), abc), "") << "no longer follows the window";
    EXPECT_EQ(reader->GetText(), copy);
    EXPECT_STREQ(copy, "abc");
}

TEST_F(Labels, GetTextOnAFreshLabelIsEmptyNotNull)
{
    ILableControl* label = Make(0);
    const char* text = label->GetText();
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "");
    SetWindowTextA(WindowOf(label), "later");
    EXPECT_STREQ(label->GetText(), "");
}

TEST_F(Labels, SetTextKeepsItsOwnCopyAndNeverTouchesTheWindowText)
{
    const Box area = {100, 300, 220, 330};
    const Image empty = Solid(area.Width(), area.Height(), RGB(0, 80, 0));
    ILableControl* label = MakeOnColour(area, nullptr, RGB(0, 80, 0), RGB(255, 0, 255));
    const HWND window = WindowOf(label);
    SetWindowTextA(window, "window");

    const struct {
        const char* text;
        bool shows;
    } steps[] = {{"first", true}, {nullptr, false}, {"", false}, {"second one", true}, {nullptr, false}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.text ? step.text : "(null)");
        char buffer[32] = {};
        if (step.text)
            std::strcpy(buffer, step.text);
        EXPECT_TRUE(label->SetText(step.text ? buffer : nullptr));
        std::memset(buffer, 'X', sizeof buffer - 1);  // the caller's buffer is not the label's
        const char* kept = label->GetText();
        if (step.text) {
            ASSERT_NE(kept, nullptr);
            EXPECT_STREQ(kept, step.text);
        } else {
            EXPECT_EQ(kept, nullptr);
        }
        EXPECT_EQ(!Ink(Capture(window), empty).Empty(), step.shows);
        char windowText[16] = {};
        GetWindowTextA(window, windowText, sizeof windowText);
        EXPECT_STREQ(windowText, "window");
    }
}

// The text GetText hands out stays valid as the argument of the next SetText.
TEST_F(Labels, SetTextTakesTheLabelsOwnTextOrAPartOfIt)
{
    ILableControl* label = Make(0);
    label->SetText("own text");
    EXPECT_TRUE(label->SetText(label->GetText()));
    EXPECT_STREQ(label->GetText(), "own text");
    EXPECT_TRUE(label->SetText(label->GetText() + 4));
    EXPECT_STREQ(label->GetText(), "text");
}

TEST_F(Labels, SetTextOnATransparentLabelInvalidatesTheParentUnderItToo)
{
    for (bool transparent : {true, false}) {
        SCOPED_TRACE(transparent);
        ILableControl* label = MakeAt({400, 100, 470, 120}, "x");
        label->SetFlags(transparent ? VELTRA_LABEL_TRANSPARENT : 0, VELTRA_LABEL_TRANSPARENT);
        UpdateWindow(WindowOf(label));
        ValidateRect(*host, nullptr);
        EXPECT_TRUE(label->SetText("y"));
        RECT pending = {};
        EXPECT_EQ(GetUpdateRect(*host, &pending, FALSE) != FALSE, transparent);
        if (transparent) {
            EXPECT_EQ(BoxOf(pending), (Box{400, 100, 470, 120}));
        }
        EXPECT_TRUE(GetUpdateRect(WindowOf(label), nullptr, FALSE));
        label->Destroy();
        Forget(label);
        UpdateWindow(*host);
    }
}

// ---- Fonts

TEST_F(Labels, SetFontSizesTheFontForTheScreensDotsPerInch)
{
    struct {
        int pointSize;
        LONG height[3];  // at 96, 120 and 144 dots per inch
    } const sizes[] = {{10, {-13, -16, -20}}, {8, {-10, -13, -16}}, {12, {-16, -20, -24}},
                       {24, {-32, -40, -48}}, {7, {-9, -11, -14}},  {1, {-1, -1, -2}}};
    const int dpi = ScreenDpi();
    const int column = dpi == 96 ? 0 : dpi == 120 ? 1 : dpi == 144 ? 2 : -1;
    if (column < 0)
        GTEST_SKIP() << "no table for " << dpi << " dots per inch";
    ILableControl* label = Make(2);
    const std::string face = LiveFont(*ledger).lfFaceName;
    for (const auto& size : sizes) {
        SCOPED_TRACE(size.pointSize);
        EXPECT_TRUE(label->SetFont(nullptr, size.pointSize));
        const LOGFONTA font = LiveFont(*ledger);
        EXPECT_EQ(font.lfHeight, size.height[column]);
        EXPECT_EQ(font.lfWidth, 0);
        EXPECT_EQ(face, font.lfFaceName);
    }
}

TEST_F(Labels, SetFontWithoutASizeChangesOnlyTheFace)
{
    ILableControl* label = Make(2);
    label->SetFont(nullptr, 24);
    const LONG height = LiveFont(*ledger).lfHeight;
    const struct {
        const char* face;
        int pointSize;
        const char* expected;
    } steps[] = {{"Courier New", 0, "Courier New"}, {nullptr, -5, "Courier New"}, {"Tahoma", 0, "Tahoma"}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.expected);
        const int made = ledger->Calls("CreateFontIndirectA");
        EXPECT_TRUE(label->SetFont(step.face, step.pointSize));
        EXPECT_EQ(ledger->Calls("CreateFontIndirectA"), made + 1);  // remade all the same
        const LOGFONTA font = LiveFont(*ledger);
        EXPECT_STREQ(font.lfFaceName, step.expected);
        EXPECT_EQ(font.lfHeight, height);
    }
}

// lfFaceName holds 31 characters: a longer name is cut, and nothing after it in the
// label is touched.
TEST_F(Labels, AFaceNameLongerThanThirtyOneCharactersIsCut)
{
    const char* const longName = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    ILableControl* label = MakeAt({100, 100, 200, 130}, "long");
    EXPECT_TRUE(label->SetFont(longName, 12));
    EXPECT_EQ(std::string(LiveFont(*ledger).lfFaceName), std::string(longName, LF_FACESIZE - 1));
    EXPECT_EQ(ledger->Objects("font"), std::vector<HANDLE>{Fields(label).font});
    EXPECT_EQ(Fields(label).hoverCursor, nullptr);
    EXPECT_EQ(Fields(label).highlightDownRight, 0);
    EXPECT_EQ(Fields(label).flags, static_cast<DWORD>(VELTRA_LABEL_TRANSPARENT | VELTRA_LABEL_NOTIFY_STYLE));
    EXPECT_TRUE(label->SetFont(nullptr, 9));  // the font is remade from an intact record
    EXPECT_EQ(ledger->Objects("font"), std::vector<HANDLE>{Fields(label).font});
    EXPECT_EQ(ledger->Faults(), std::vector<std::string>{});
}

TEST_F(Labels, SetTextAngleTurnsTheFontAndRotatedChoosesTheDrawing)
{
    ILableControl* label = Make(5);
    const struct {
        int degrees;
        BOOL rotated;
        LONG escapement;
    } steps[] = {{90, FALSE, 900}, {45, TRUE, 450}, {-30, TRUE, -300}, {0, FALSE, 0}, {450, TRUE, 900}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.degrees);
        EXPECT_TRUE(label->SetTextAngle(step.degrees, step.rotated));
        const LOGFONTA font = LiveFont(*ledger);
        EXPECT_EQ(font.lfEscapement, step.escapement);
        EXPECT_EQ(font.lfOrientation, step.escapement);
        EXPECT_EQ((Fields(label).flags & VELTRA_LABEL_ROTATED) != 0, step.rotated != FALSE);
    }
}

// ---- Option bits

TEST_F(Labels, SetFlagsAppliesEachBitsSideEffects)
{
    const struct {
        DWORD value, mask;
        LONG weight;
        BYTE underline, italic;
        bool edge, border, blinking;
        int fontsMade, styleWrites, frameChanges, timerCalls;
    } steps[] = {
        {0x1, 0x1, FW_BOLD, 0, 0, false, false, false, 1, 0, 0, 0},
        {0x2, 0x2, FW_BOLD, 1, 0, false, false, false, 1, 0, 0, 0},
        {0x4, 0x4, FW_BOLD, 1, 1, false, false, false, 1, 0, 0, 0},
        {0x1, 0x3, FW_BOLD, 0, 1, false, false, false, 1, 0, 0, 0},  // bold kept, underline off: one font
        {0x0, 0x7, FW_NORMAL, 0, 0, false, false, false, 1, 0, 0, 0},
        {0x8, 0x8, FW_NORMAL, 0, 0, true, false, false, 0, 1, 1, 0},
        {0x8, 0x8, FW_NORMAL, 0, 0, true, false, false, 0, 0, 0, 0},  // already there: nothing written
        {0x18, 0x18, FW_NORMAL, 0, 0, true, true, false, 0, 1, 1, 0},  // only the border is new
        {0x0, 0x18, FW_NORMAL, 0, 0, false, false, false, 0, 2, 2, 0},
        {0x0, 0x10, FW_NORMAL, 0, 0, false, false, false, 0, 0, 0, 0},
        {0x40, 0x40, FW_NORMAL, 0, 0, false, false, true, 0, 0, 0, 1},
        {0x80, 0x80, FW_NORMAL, 0, 0, false, false, true, 0, 0, 0, 1},  // restarted
        {0x0, 0x40, FW_NORMAL, 0, 0, false, false, true, 0, 0, 0, 1},   // the back still blinks
        {0x0, 0xC0, FW_NORMAL, 0, 0, false, false, false, 0, 0, 0, 1},
        {0x1000400, 0x1000400, FW_NORMAL, 0, 0, false, false, false, 0, 0, 0, 0},  // written, nothing else
    };
    ILableControl* label = Make(1);
    const HWND window = WindowOf(label);
    MoveWindow(window, 200, 200, 60, 30, TRUE);
    DWORD flags = Fields(label).flags;
    for (const auto& step : steps) {
        SCOPED_TRACE(testing::Message() << "value 0x" << std::hex << step.value << " mask 0x" << step.mask);
        const int fonts = ledger->Calls("CreateFontIndirectA");
        const int writes = ledger->Calls("SetWindowLongA");
        const int frames = ledger->Calls("SetWindowPos");
        const int timers = ledger->Calls("SetTimer") + ledger->Calls("KillTimer");
        label->SetFlags(step.value, step.mask);
        flags = (flags & ~step.mask) | (step.value & step.mask);
        EXPECT_EQ(Fields(label).flags, flags);
        const LOGFONTA font = LiveFont(*ledger);
        EXPECT_EQ(font.lfWeight, step.weight);
        EXPECT_EQ(font.lfUnderline, step.underline);
        EXPECT_EQ(font.lfItalic, step.italic);
        EXPECT_EQ((GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_STATICEDGE) != 0, step.edge);
        EXPECT_EQ((GetWindowLongA(window, GWL_STYLE) & WS_BORDER) != 0, step.border);
        RECT client;
        GetClientRect(window, &client);
        EXPECT_EQ(client.right < 60, step.edge || step.border) << "the frame is applied at once";
        EXPECT_EQ(ledger->Timers(), step.blinking ? std::vector<UINT_PTR>{BlinkTimer} : std::vector<UINT_PTR>{});
        EXPECT_EQ(ledger->Calls("CreateFontIndirectA") - fonts, step.fontsMade);
        EXPECT_EQ(ledger->Calls("SetWindowLongA") - writes, step.styleWrites);
        EXPECT_EQ(ledger->Calls("SetWindowPos") - frames, step.frameChanges);
        EXPECT_EQ(ledger->Calls("SetTimer") + ledger->Calls("KillTimer") - timers, step.timerCalls);
    }
}

// Which operations repaint at once and which leave a paint for later.
TEST_F(Labels, EachOperationRepaintsAtOnceOrLater)
{
    enum Repaint { Now, Later, Never };
    const struct {
        const char* name;
        BOOL (*operation)(ILableControl*, HWND);
        Repaint repaint;
    } operations[] = {
        {"RefreshBackground", [](ILableControl* l, HWND) { return l->RefreshBackground(); }, Later},
        {"SetBackColor", [](ILableControl* l, HWND) { return l->SetBackColor(RGB(1, 2, 3)); }, Later},
        {"SetForeColor", [](ILableControl* l, HWND) { return l->SetForeColor(RGB(4, 5, 6)); }, Now},
        {"SetText", [](ILableControl* l, HWND) { return l->SetText("text"); }, Later},
        {"GetText", [](ILableControl* l, HWND) { return BOOL(l->GetText() != nullptr); }, Never},
        {"SetFont", [](ILableControl* l, HWND) { return l->SetFont(nullptr, 11); }, Now},
        {"SetTextAngle", [](ILableControl* l, HWND) { return l->SetTextAngle(10, FALSE); }, Now},
        {"SetFlags font", [](ILableControl* l, HWND) { l->SetFlags(VELTRA_LABEL_ITALIC, VELTRA_LABEL_ITALIC); return TRUE; }, Now},
        {"SetFlags transparent", [](ILableControl* l, HWND) { l->SetFlags(0, VELTRA_LABEL_TRANSPARENT); return TRUE; }, Later},
        {"SetFlags blink", [](ILableControl* l, HWND) { l->SetFlags(0, VELTRA_LABEL_BLINK_TEXT); return TRUE; }, Never},
        {"SetClickMode", [](ILableControl* l, HWND) { return l->SetClickMode(TRUE, FALSE); }, Never},
        {"SetHoverCursor", [](ILableControl* l, HWND) { l->SetHoverCursor(LoadCursorA(nullptr, IDC_CROSS)); return TRUE; }, Never},
        {"SetHighlight", [](ILableControl* l, HWND) { return l->SetHighlight(TRUE, TRUE); }, Now},
        {"blink tick", [](ILableControl*, HWND w) { SendMessageA(w, WM_TIMER, BlinkTimer, 0); return TRUE; }, Later},
        {"other timer", [](ILableControl*, HWND w) { SendMessageA(w, WM_TIMER, 55, 0); return TRUE; }, Never},
        {"system colours", [](ILableControl*, HWND w) { SendMessageA(w, WM_SYSCOLORCHANGE, 0, 0); return TRUE; }, Now},
    };
    ILableControl* label = MakeAt({500, 150, 560, 170}, "now");
    const HWND window = WindowOf(label);
    for (const auto& op : operations) {
        SCOPED_TRACE(op.name);
        UpdateWindow(window);
        const int copies = ledger->Calls("BitBlt to a window or the screen");
        EXPECT_TRUE(op.operation(label, window));
        EXPECT_EQ(ledger->Calls("BitBlt to a window or the screen") - copies, op.repaint == Now ? 1 : 0);
        EXPECT_EQ(GetUpdateRect(window, nullptr, FALSE) != FALSE, op.repaint == Later);
    }
}

TEST_F(Labels, SetClickModeSwitchesSsNotifyAndTheSilentPress)
{
    const struct {
        BOOL notifyStyle, silentClick, result;
        bool notifies;
    } steps[] = {
        {FALSE, FALSE, FALSE, true},  // SS_NOTIFY was not there to remove
        {TRUE, FALSE, TRUE, true},    {TRUE, TRUE, FALSE, false}, {FALSE, TRUE, TRUE, false},
        {FALSE, FALSE, FALSE, true},  {TRUE, TRUE, TRUE, false},
    };
    ILableControl* label = Make(4);
    const HWND window = WindowOf(label);
    for (const auto& step : steps) {
        SCOPED_TRACE(testing::Message() << step.notifyStyle << " " << step.silentClick);
        const int writes = ledger->Calls("SetWindowLongA");
        EXPECT_EQ(label->SetClickMode(step.notifyStyle, step.silentClick), step.result);
        EXPECT_EQ(ledger->Calls("SetWindowLongA") - writes, step.result ? 1 : 0);
        EXPECT_EQ(ledger->Calls("SetWindowPos"), 0);
        EXPECT_EQ((GetWindowLongA(window, GWL_STYLE) & SS_NOTIFY) != 0, step.notifyStyle != FALSE);
        EXPECT_EQ((Fields(label).flags & VELTRA_LABEL_NOTIFY_STYLE) != 0, step.notifyStyle != FALSE);
        EXPECT_EQ((Fields(label).flags & VELTRA_LABEL_SILENT_CLICK) != 0, step.silentClick != FALSE);
        clicks.clear();
        SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, Point(2, 2));
        EXPECT_EQ(clicks.size(), step.notifies ? 1u : 0u);
    }
}

// ---- Messages

TEST_F(Labels, ALeftPressNotifiesTheParentWithTheTypeCode)
{
    for (UINT code = 0; code < 6; ++code) {
        SCOPED_TRACE(code);
        const HWND window = WindowOf(Make(code));
        clicks.clear();
        EXPECT_EQ(SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, Point(1, 1)), 1);
        EXPECT_EQ(clicks, (std::vector<Click>{{code, window, code, VELTRA_LABEL_CLICKED}}));
        // Other buttons and the release say nothing.
        SendMessageA(window, WM_LBUTTONUP, 0, Point(1, 1));
        SendMessageA(window, WM_RBUTTONDOWN, MK_RBUTTON, Point(1, 1));
        EXPECT_EQ(clicks.size(), 1u);
    }
    EXPECT_EQ(VELTRA_LABEL_CLICKED, WM_APP + 0x200);
}

TEST_F(Labels, AClickOfTheRealPointerReachesTheParent)
{
    ILableControl* label = MakeAt({600, 400, 700, 430}, "click");
    const HWND window = WindowOf(label);
    SetCursorPos(650, 415);
    Pump(100);
    INPUT press[2] = {};
    press[0].type = press[1].type = INPUT_MOUSE;
    press[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    press[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, press, sizeof press[0]);
    Pump(300);
    SetCursorPos(100, 100);
    EXPECT_EQ(clicks, (std::vector<Click>{{0, window, 0, VELTRA_LABEL_CLICKED}}));
}

TEST_F(Labels, TheHostMayDestroyTheLabelFromTheNotification)
{
    static ILableControl* victim;
    victim = Make(2);
    Forget(victim);
    onClick = [] { victim->Destroy(); };
    const HWND window = WindowOf(victim);
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, Point(2, 2));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(clicks.size(), 1u);
}

TEST_F(Labels, TheCursorIsTheClassArrowUntilAHoverCursorIsSet)
{
    ILableControl* label = Make(1);
    const HWND window = WindowOf(label);
    const LPARAM overClient = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
    const HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW), cross = LoadCursorA(nullptr, IDC_CROSS);
    SetCursor(nullptr);
    SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), overClient);
    EXPECT_EQ(GetCursor(), arrow);
    label->SetHoverCursor(cross);
    EXPECT_EQ(GetCursor(), arrow);  // from the next WM_SETCURSOR on
    EXPECT_EQ(SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), overClient), TRUE);
    EXPECT_EQ(GetCursor(), cross);
    label->SetHoverCursor(nullptr);
    SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), overClient);
    EXPECT_EQ(GetCursor(), arrow);
    EXPECT_EQ(SendMessageA(window, WM_ERASEBKGND, 0, 0), 1);
}

TEST_F(Labels, ASystemColourChangeRemakesTheFaceBrush)
{
    ILableControl* label = MakeAt({50, 50, 100, 70});
    label->SetFlags(0, VELTRA_LABEL_TRANSPARENT);
    const std::vector<HANDLE> before = ledger->Objects("brush");
    ASSERT_EQ(before.size(), 1u);
    SendMessageA(WindowOf(label), WM_SYSCOLORCHANGE, 0, 0);
    const std::vector<HANDLE> after = ledger->Objects("brush");
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(ledger->Calls("CreateSolidBrush"), 2);
    EXPECT_EQ(FirstDifference(Capture(WindowOf(label)), Solid(50, 20, GetSysColor(COLOR_BTNFACE))), "");
}

// ---- Blinking

namespace {
HWND tickWindow = nullptr;
size_t ticksSeen = 0;

LRESULT CALLBACK WatchTicks(int code, WPARAM removed, LPARAM lParam)
{
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && removed == PM_REMOVE && msg->message == WM_TIMER && msg->hwnd == tickWindow &&
        msg->wParam == BlinkTimer)
        ++ticksSeen;
    return CallNextHookEx(nullptr, code, removed, lParam);
}
}  // namespace

TEST_F(Labels, BlinkingTextTurnsEveryHalfSecond)
{
    const Box area = {300, 300, 380, 330};
    const Image back = Solid(area.Width(), area.Height(), RGB(40, 0, 0));
    ILableControl* label = MakeOnColour(area, "blink", RGB(40, 0, 0), RGB(0, 255, 0));
    tickWindow = WindowOf(label);
    ticksSeen = 0;
    HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, WatchTicks, nullptr, GetCurrentThreadId());
    label->SetFlags(VELTRA_LABEL_BLINK_TEXT, VELTRA_LABEL_BLINK_TEXT);
    EXPECT_EQ(ledger->TimerIntervals(), (std::map<UINT_PTR, UINT>{{BlinkTimer, 500}}));
    Pump(2300);
    const size_t ticks = ticksSeen;
    EXPECT_GE(ticks, 1u);
    // Each tick turned the half: the text shows after an odd count.
    EXPECT_EQ(!Ink(Capture(tickWindow), back).Empty(), ticks % 2 == 1);

    label->SetFlags(0, VELTRA_LABEL_BLINK_TEXT | VELTRA_LABEL_BLINK_BACK);
    EXPECT_EQ(ledger->Timers(), std::vector<UINT_PTR>{});
    Pump(700);
    EXPECT_EQ(ticksSeen, ticks);
    UnhookWindowsHookEx(hook);
}

TEST_F(Labels, EachBlinkHalfShowsItsBackgroundAndText)
{
    enum Back { Parent, Colour };
    const struct {
        const char* name;
        DWORD flags;
        Back back[2];  // off half, on half
        bool text[2];
    } cases[] = {
        {"text over the parent", VELTRA_LABEL_BLINK_TEXT | VELTRA_LABEL_TRANSPARENT, {Parent, Parent}, {false, true}},
        {"text over the colour", VELTRA_LABEL_BLINK_TEXT, {Colour, Colour}, {false, true}},
        {"background", VELTRA_LABEL_BLINK_BACK, {Parent, Colour}, {true, true}},
        {"background, transparent", VELTRA_LABEL_BLINK_BACK | VELTRA_LABEL_TRANSPARENT, {Parent, Parent}, {true, true}},
        {"both", VELTRA_LABEL_BLINK_TEXT | VELTRA_LABEL_BLINK_BACK, {Parent, Colour}, {false, true}},
    };
    const Box area = {120, 400, 200, 440};
    const COLORREF colour = RGB(0, 0, 90);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ILableControl* label = MakeAt(area, "Blink");
        const HWND window = WindowOf(label);
        label->SetBackColor(colour);
        label->SetForeColor(RGB(255, 255, 0));
        label->SetFlags(c.flags, VELTRA_LABEL_TRANSPARENT | VELTRA_LABEL_BLINK_TEXT | VELTRA_LABEL_BLINK_BACK);
        ShowPattern(label, area, 0);
        for (int half = 0; half < 2; ++half) {
            SCOPED_TRACE(half ? "on half" : "off half");
            if (half)
                SendMessageA(window, WM_TIMER, BlinkTimer, 0);
            EXPECT_EQ((Fields(label).flags & VELTRA_LABEL_BLINK_PHASE) != 0, half == 1);
            const Image back = c.back[half] == Parent ? PatternImage(area, 0)
                                                      : Solid(area.Width(), area.Height(), colour);
            const Image shown = Capture(window);
            EXPECT_EQ(!Ink(shown, back).Empty(), c.text[half]);
            // The text keeps to the top: the lower rows are background alone.
            EXPECT_EQ(FirstDifference(Rows(shown, 25, 40), Rows(back, 25, 40)), "");
        }
        label->Destroy();
        Forget(label);
    }
}

// Thousands of ticks repaint thousands of times, with one copy to the window each, and
// leave nothing behind.
TEST_F(Labels, ManyBlinkTicksLeaveNothingBehind)
{
    ILableControl* label = MakeAt({700, 300, 760, 320}, "tick");
    const HWND window = WindowOf(label);
    label->SetFlags(VELTRA_LABEL_BLINK_TEXT | VELTRA_LABEL_BLINK_BACK, VELTRA_LABEL_BLINK_TEXT | VELTRA_LABEL_BLINK_BACK);
    label->SetHighlight(TRUE, FALSE);
    UpdateWindow(window);
    const std::vector<std::string> alive = ledger->Alive();
    const int copies = ledger->Calls("BitBlt to a window or the screen");
    const int snapshots = ledger->Calls("GetDC");
    constexpr int Ticks = 3000;
    for (int i = 0; i < Ticks; ++i) {
        SendMessageA(window, WM_TIMER, BlinkTimer, 0);
        UpdateWindow(window);
    }
    EXPECT_EQ(ledger->Calls("BitBlt to a window or the screen") - copies, Ticks);
    EXPECT_EQ(ledger->Calls("GetDC"), snapshots);  // the parent is read once, not at every tick
    EXPECT_EQ(ledger->Alive(), alive);
    EXPECT_EQ(ledger->Faults(), std::vector<std::string>{});
    label->SetFlags(0, VELTRA_LABEL_BLINK_TEXT | VELTRA_LABEL_BLINK_BACK);
}

// ---- Painting

TEST_F(Labels, TheBackgroundIsASnapshotOfTheParentTakenOnceUntilRefreshed)
{
    const Box area = {250, 450, 330, 480};
    ILableControl* label = MakeAt(area);
    const HWND window = WindowOf(label);
    ShowPattern(label, area, 0);
    EXPECT_EQ(FirstDifference(Capture(window), PatternImage(area, 0)), "");
    PaintPattern(*host, area, 100);
    InvalidateRect(window, nullptr, FALSE);
    EXPECT_EQ(FirstDifference(Capture(window), PatternImage(area, 0)), "") << "the old snapshot is kept";
    PaintPattern(*host, area, 100);
    EXPECT_TRUE(label->RefreshBackground());
    EXPECT_EQ(FirstDifference(Capture(window), PatternImage(area, 100)), "");
    EXPECT_EQ(ledger->Objects("bitmap").size(), 1u);  // the snapshot; each paint's buffer is gone
}

TEST_F(Labels, WithoutTransparencyTheBrushShows)
{
    const Box area = {250, 500, 330, 530};
    ILableControl* label = MakeAt(area);
    const HWND window = WindowOf(label);
    ShowPattern(label, area, 0);
    const Image parent = PatternImage(area, 0);
    const Image face = Solid(area.Width(), area.Height(), GetSysColor(COLOR_BTNFACE));
    const Image colour = Solid(area.Width(), area.Height(), RGB(10, 200, 30));
    const struct {
        const char* name;
        void (*step)(ILableControl*);
        const Image* shows;
    } steps[] = {
        {"factory", [](ILableControl*) {}, &parent},
        {"colour while transparent", [](ILableControl* l) { l->SetBackColor(RGB(10, 200, 30)); }, &parent},
        {"opaque", [](ILableControl* l) { l->SetFlags(0, VELTRA_LABEL_TRANSPARENT); }, &colour},
        {"transparent again", [](ILableControl* l) { l->SetFlags(~0u, VELTRA_LABEL_TRANSPARENT); }, &parent},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        step.step(label);
        EXPECT_EQ(FirstDifference(Capture(window), *step.shows), "");
    }
    // A label without a colour of its own shows the button face.
    ILableControl* plain = MakeAt({340, 500, 420, 530});
    plain->SetFlags(0, VELTRA_LABEL_TRANSPARENT);
    EXPECT_EQ(FirstDifference(Capture(WindowOf(plain)), face), "");
}

TEST_F(Labels, TheStyleBitsAlignTheText)
{
    enum Across { Left, Centre, Right };
    enum Down { Top, Middle };
    const char* const longText = "Mjg Mjg Mjg Mjg Mjg Mjg Mjg Mjg Mjg Mjg Mjg Mjg Mjg Mjg";
    const struct {
        DWORD style;
        const char* text;
        Across across;
        Down down;
        int lines;
    } cases[] = {
        {0x0, "Mjg", Left, Top, 1},          {0x1, "Mjg", Centre, Top, 1},
        {0x2, "Mjg", Right, Top, 1},         {0x3, "Mjg", Centre, Top, 1},
        {0x200, "Mjg", Centre, Middle, 1},   {0x202, "Mjg", Centre, Middle, 1},
        {0x200, "Mjg\r\nMjg", Centre, Top, 2},
        {0x3, longText, Centre, Top, 2},     {0x0, longText, Left, Top, 2},
        {0xC, longText, Left, Top, 1},       {0xE, "Mjg", Right, Top, 1},
    };
    const Box area = {100, 150, 260, 210};
    const COLORREF back = RGB(0, 0, 60);
    const Image empty = Solid(area.Width(), area.Height(), back);
    ILableControl* label = MakeOnColour(area, "Mjg", back, RGB(255, 255, 255));
    const HWND window = WindowOf(label);
    const LONG lineInk = Ink(Capture(window), empty).Height();
    ASSERT_GT(lineInk, 5);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "style 0x" << std::hex << c.style << ": " << c.text);
        SetWindowLongA(window, GWL_STYLE, WS_CHILD | WS_VISIBLE | c.style);
        label->SetText(c.text);
        const Box ink = Ink(Capture(window), empty);
        ASSERT_FALSE(ink.Empty());
        const LONG leftGap = ink.left, rightGap = area.Width() - ink.right;
        const LONG topGap = ink.top, bottomGap = area.Height() - ink.bottom;
        switch (c.across) {
        case Left: EXPECT_LE(leftGap, 2) << ink; break;
        case Right: EXPECT_LE(rightGap, 2) << ink; break;
        case Centre: EXPECT_LE(std::abs(leftGap - rightGap), 2) << ink; break;
        }
        if (c.down == Top)
            EXPECT_LE(topGap, 4) << ink;
        else
            EXPECT_LE(std::abs(topGap - bottomGap), 3) << ink;
        if (c.lines == 1)
            EXPECT_LE(ink.Height(), lineInk) << ink;
        else
            EXPECT_GE(ink.Height(), lineInk + 8) << ink;
    }
}

TEST_F(Labels, RotatedTextTurnsAboutTheCentre)
{
    // Where the ink lies from the centre: the baseline starts there and runs in the
    // direction of the angle, the letters standing on its left.
    const struct {
        int degrees;
        int across;  // +1 right of the centre, -1 left
        int down;    // +1 below, -1 above
    } cases[] = {{0, +1, -1}, {90, -1, -1}, {180, -1, +1}, {270, +1, +1}};
    const Box area = {400, 200, 561, 321};  // odd sizes: the centre is (80, 60)
    const COLORREF back = RGB(30, 30, 30);
    const Image empty = Solid(area.Width(), area.Height(), back);
    ILableControl* label = MakeOnColour(area, "HHHH", back, RGB(255, 128, 0));
    const HWND window = WindowOf(label);
    label->SetFont("Tahoma", 14);
    const LONG cx = 80, cy = 60;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.degrees);
        EXPECT_TRUE(label->SetTextAngle(c.degrees, TRUE));
        const Box ink = Ink(Capture(window), empty);
        ASSERT_FALSE(ink.Empty());
        if (c.across > 0)
            EXPECT_TRUE(ink.left >= cx - 2 && ink.right > cx + 8) << ink;
        else
            EXPECT_TRUE(ink.right <= cx + 2 && ink.left < cx - 8) << ink;
        if (c.down > 0)
            EXPECT_TRUE(ink.top >= cy - 2 && ink.bottom > cy + 8) << ink;
        else
            EXPECT_TRUE(ink.bottom <= cy + 2 && ink.top < cy - 8) << ink;
    }
    // Not rotated, the same font is laid out from the top-left corner, not the centre.
    label->SetTextAngle(0, FALSE);
    SetWindowLongA(window, GWL_STYLE, WS_CHILD | WS_VISIBLE);
    InvalidateRect(window, nullptr, FALSE);
    const Box ink = Ink(Capture(window), empty);
    EXPECT_TRUE(ink.left <= 2 && ink.top <= 4) << ink;
}

TEST_F(Labels, TheHighlightIsAWhiteCopyOnePixelOff)
{
    const Box area = {600, 200, 700, 230};
    const COLORREF back = RGB(0, 0, 100), red = RGB(255, 0, 0);
    ILableControl* label = MakeOnColour(area, "Mjg", back, red);
    const HWND window = WindowOf(label);
    const Image plain = Capture(window);
    label->SetForeColor(White);
    const Image white = Capture(window);
    label->SetForeColor(red);
    const uint32_t backPixel = Rgb(back);
    for (int offset : {+1, -1}) {
        SCOPED_TRACE(offset);
        EXPECT_TRUE(label->SetHighlight(TRUE, offset > 0));
        EXPECT_EQ(Fields(label).highlightDownRight, offset > 0 ? 1 : 0);
        const Image shown = Capture(window);
        int whiteCovered = 0;
        for (int y = 0; y < shown.height; ++y)
            for (int x = 0; x < shown.width; ++x) {
                const int fromX = x - offset, fromY = y - offset;
                const bool inside = fromX >= 0 && fromY >= 0 && fromX < shown.width && fromY < shown.height;
                const uint32_t copy = inside ? white.At(fromX, fromY) : backPixel;
                if (copy == backPixel) {
                    ASSERT_EQ(shown.At(x, y), plain.At(x, y)) << x << ", " << y;
                } else if (copy == 0xFFFFFF) {
                    ASSERT_EQ(shown.At(x, y), 0xFFFFFFu) << x << ", " << y;
                    ++whiteCovered;
                }
            }
        EXPECT_GT(whiteCovered, 10);
    }
    EXPECT_TRUE(label->SetHighlight(FALSE, TRUE));
    EXPECT_EQ(FirstDifference(Capture(window), plain), "");
}

TEST_F(Labels, AnEmptyLabelPaintsNothingAndLeaksNothing)
{
    ILableControl* label = MakeAt({100, 100, 140, 120}, "none");
    const HWND window = WindowOf(label);
    label->RefreshBackground();
    ValidateRect(window, nullptr);
    for (const Box& size : {Box{0, 0, 0, 20}, Box{0, 0, 40, 0}, Box{0, 0, 0, 0}, Box{0, 0, 2, 2}}) {
        SCOPED_TRACE(size);
        MoveWindow(window, 100, 100, size.right, size.bottom, FALSE);
        label->SetFlags(size.right == 2 ? VELTRA_LABEL_BORDER : 0, VELTRA_LABEL_BORDER);  // 2 x 2 is all border
        const int made = ledger->Calls("CreateCompatibleDC") + ledger->Calls("CreateCompatibleBitmap") +
                         ledger->Calls("GetDC") + ledger->Calls("BitBlt");
        SendMessageA(window, WM_PAINT, 0, 0);
        EXPECT_EQ(ledger->Calls("CreateCompatibleDC") + ledger->Calls("CreateCompatibleBitmap") +
                      ledger->Calls("GetDC") + ledger->Calls("BitBlt"),
                  made);
    }
    EXPECT_EQ(ledger->Objects("bitmap"), std::vector<HANDLE>{});
}

// ---- Attach

TEST_F(Labels, AnAttachedWindowIsPaintedByTheLabelAndKeepsItsOwnProcedure)
{
    const Box area = {300, 550, 400, 580};
    const HWND foreign = MakeForeign(area, SS_RIGHT);
    ILableControl* label = Make(2);
    const HWND own = WindowOf(label);
    windows.push_back(own);  // the label lets it go; the test ends it
    label->SetFlags(0, VELTRA_LABEL_TRANSPARENT);
    label->SetBackColor(RGB(0, 60, 0));
    label->SetText("right");
    EXPECT_TRUE(label->Attach(foreign));
    EXPECT_EQ(WindowOf(label), foreign);
    EXPECT_EQ(GetWindowLongPtrA(foreign, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(label));
    EXPECT_EQ(Fields(label).prevWndProc, ForeignProc);
    EXPECT_EQ(Fields(label).controlId, 2);
    EXPECT_TRUE(IsWindow(own));
    EXPECT_EQ(GetWindowLongPtrA(own, GWLP_USERDATA), 0) << "the old window no longer reaches the label";
    char text[16] = {};
    GetWindowTextA(foreign, text, sizeof text);
    EXPECT_STREQ(text, "foreign");

    const LPARAM overClient = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
    const struct {
        const char* name;
        UINT msg;
        WPARAM wParam;
        LPARAM lParam;
        LRESULT result;
        bool reachesForeign;
    } messages[] = {
        {"its own message", ForeignQuestion, 0, 0, ForeignAnswer, true},
        {"erase", WM_ERASEBKGND, 0, 0, 1, false},
        {"cursor", WM_SETCURSOR, reinterpret_cast<WPARAM>(foreign), overClient, ForeignAnswer, true},
        {"blink tick", WM_TIMER, BlinkTimer, 0, ForeignAnswer, true},
        {"press", WM_LBUTTONDOWN, MK_LBUTTON, Point(3, 3), ForeignAnswer, true},
    };
    for (const auto& m : messages) {
        SCOPED_TRACE(m.name);
        foreignSaw.clear();
        EXPECT_EQ(SendMessageA(foreign, m.msg, m.wParam, m.lParam), m.result);
        EXPECT_EQ(Saw(m.msg), m.reachesForeign);
    }
    EXPECT_EQ(clicks, (std::vector<Click>{{2, foreign, 2, VELTRA_LABEL_CLICKED}}));
    label->SetHoverCursor(LoadCursorA(nullptr, IDC_CROSS));
    foreignSaw.clear();
    EXPECT_EQ(SendMessageA(foreign, WM_SETCURSOR, reinterpret_cast<WPARAM>(foreign), overClient), TRUE);
    EXPECT_FALSE(Saw(WM_SETCURSOR));

    // The label paints the window, by the window's own style, and the window's procedure
    // still hears of the paint.
    foreignSaw.clear();
    InvalidateRect(foreign, nullptr, FALSE);
    const Image back = Solid(area.Width(), area.Height(), RGB(0, 60, 0));
    const Box ink = Ink(Capture(foreign), back);
    EXPECT_TRUE(Saw(WM_PAINT));
    EXPECT_LE(area.Width() - ink.right, 2) << ink;

    label->Destroy();
    Forget(label);
    EXPECT_FALSE(IsWindow(foreign));
    EXPECT_TRUE(Saw(WM_NCDESTROY));
    EXPECT_TRUE(IsWindow(own));
    clicks.clear();
    SendMessageA(own, WM_LBUTTONDOWN, MK_LBUTTON, Point(1, 1));  // would reach freed memory if still bound
    SendMessageA(own, WM_PAINT, 0, 0);
    EXPECT_TRUE(clicks.empty());
}

TEST_F(Labels, AttachRefusesWindowsItCannotServe)
{
    ILableControl* label = Make(3);
    ILableControl* other = Make(4);
    ILableControl* subclassed = Make(5);
    const HWND own = WindowOf(label);
    Subclass(WindowOf(subclassed));  // still the library's class underneath
    for (HWND window : {HWND(nullptr), reinterpret_cast<HWND>(0x4321), own, WindowOf(other), WindowOf(subclassed)}) {
        SCOPED_TRACE(window);
        EXPECT_FALSE(label->Attach(window));
        EXPECT_EQ(WindowOf(label), own);
        EXPECT_EQ(GetWindowLongPtrA(own, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(label));
    }
    // Both labels still answer on their own windows.
    SendMessageA(own, WM_LBUTTONDOWN, MK_LBUTTON, Point(1, 1));
    SendMessageA(WindowOf(other), WM_LBUTTONDOWN, MK_LBUTTON, Point(1, 1));
    EXPECT_EQ(clicks, (std::vector<Click>{{3, own, 3, VELTRA_LABEL_CLICKED},
                                          {4, WindowOf(other), 4, VELTRA_LABEL_CLICKED}}));
}

TEST_F(Labels, ABlinkingLabelGoesOnBlinkingOnTheWindowItAttaches)
{
    const HWND foreign = MakeForeign({100, 600, 150, 620});
    ILableControl* label = Make(0);
    const HWND own = WindowOf(label);
    windows.push_back(own);
    label->SetFlags(VELTRA_LABEL_BLINK_BACK, VELTRA_LABEL_BLINK_BACK);
    label->Attach(foreign);
    EXPECT_EQ(ledger->Timers(), std::vector<UINT_PTR>{BlinkTimer});
    KillTimer(own, BlinkTimer);  // fails if the old window still had one: it is not counted then
    label->SetFlags(0, VELTRA_LABEL_BLINK_BACK);
    EXPECT_EQ(ledger->Timers(), std::vector<UINT_PTR>{});
}

// ---- Deleting the object before its window

TEST_F(Labels, DeletingTheObjectFirstLeavesAnInertWindow)
{
    ILableControl* label = Make(5);
    Forget(label);
    const HWND window = WindowOf(label);
    windows.push_back(window);
    label->SetFlags(VELTRA_LABEL_BLINK_TEXT, VELTRA_LABEL_BLINK_TEXT);
    EXPECT_EQ(label->ScalarDeletingDestructor(1), static_cast<void*>(label));
    EXPECT_EQ(GetWindowLongPtrA(window, GWLP_USERDATA), 0);
    EXPECT_EQ(ledger->Timers(), std::vector<UINT_PTR>{});
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, Point(2, 2));
    SendMessageA(window, WM_TIMER, BlinkTimer, 0);
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
    EXPECT_TRUE(clicks.empty());
}

// The window gets its own procedure back, unless the host has put another over the
// label's since: that one stays, with the window's messages reaching it.
TEST_F(Labels, DeletingAnAttachedLabelGivesTheWindowItsProcedureBack)
{
    for (bool hostSubclasses : {false, true}) {
        SCOPED_TRACE(hostSubclasses ? "subclassed by the host after Attach" : "as attached");
        const HWND foreign = MakeForeign({200, 600, 260, 620});
        ILableControl* label = Make(1);
        windows.push_back(WindowOf(label));
        Forget(label);
        label->Attach(foreign);
        label->SetFlags(VELTRA_LABEL_BLINK_TEXT, VELTRA_LABEL_BLINK_TEXT);
        if (hostSubclasses)
            Subclass(foreign);
        label->ScalarDeletingDestructor(1);
        EXPECT_EQ(GetWindowLongPtrA(foreign, GWLP_WNDPROC),
                  reinterpret_cast<LONG_PTR>(hostSubclasses ? HostSubclass : ForeignProc));
        EXPECT_EQ(GetWindowLongPtrA(foreign, GWLP_USERDATA), 0);
        EXPECT_EQ(ledger->Timers(), std::vector<UINT_PTR>{});
        foreignSaw.clear();
        subclassSaw = 0;
        SendMessageA(foreign, WM_ERASEBKGND, 0, 0);
        EXPECT_EQ(subclassSaw, hostSubclasses ? 1 : 0);
        EXPECT_EQ(Saw(WM_ERASEBKGND), !hostSubclasses);  // past the label's, the default procedure
    }
}

// A slot-18 Create refused its window leaves the label serving the window it had, its own
// or an attached one.
TEST_F(Labels, ACreateThatFailsKeepsTheWindowServedSoFar)
{
    for (bool attached : {false, true}) {
        SCOPED_TRACE(attached ? "attached" : "its own");
        ILableControl* label = Make(2);
        const HWND served = attached ? MakeForeign({300, 600, 360, 620}) : WindowOf(label);
        if (attached) {
            windows.push_back(WindowOf(label));
            label->Attach(served);
        }
        const RECT place = {10, 10, 50, 30};
        ledger->FailCreation(2);  // the class's arrow cursor, then the window
        EXPECT_FALSE(label->Create(&place, 9, *host));
        EXPECT_TRUE(ledger->Failed());
        EXPECT_EQ(WindowOf(label), served);
        EXPECT_EQ(GetWindowLongPtrA(served, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(label));
        clicks.clear();
        foreignSaw.clear();
        SendMessageA(served, WM_LBUTTONDOWN, MK_LBUTTON, Point(1, 1));
        EXPECT_EQ(clicks, (std::vector<Click>{{2, served, 2, VELTRA_LABEL_CLICKED}}));
        EXPECT_EQ(Saw(WM_LBUTTONDOWN), attached);
        if (attached) {
            label->Destroy();
            Forget(label);
        }
    }
}

// ---- As a screen reader finds them (in processes of their own: asking keeps the library
// loaded).

class AccessibleLabels : public LabelTest {};

TEST_F(AccessibleLabels, EachIsReadOnlyStaticTextNamedByWhatItShows)
{
    for (UINT code = 0; code < 6; ++code) {
        SCOPED_TRACE(code);
        ILableControl* label = Make(code);
        const HWND window = WindowOf(label);
        ScreenReaderView view(window);
        WinEventLog heard;
        EXPECT_EQ(view.Role(), ROLE_SYSTEM_STATICTEXT);
        EXPECT_EQ(view.State(), STATE_SYSTEM_READONLY);
        EXPECT_EQ(view.Name(), "");
        SetWindowTextA(window, "Track");  // shown until the label takes a copy
        EXPECT_EQ(view.Name(), "Track");
        label->SetText("12:34");
        EXPECT_EQ(view.Name(), "12:34");
        EXPECT_EQ(view.Value(), "");
        EXPECT_EQ(heard.For(window), std::vector<DWORD>{EVENT_OBJECT_NAMECHANGE});
        RECT place;
        GetWindowRect(window, &place);
        const RECT location = view.Location();
        EXPECT_TRUE(EqualRect(&place, &location));
    }
}

// A host names a label for what its text is; the text is then its value.
TEST_F(AccessibleLabels, ANamedLabelShowsItsTextAsItsValue)
{
    ILableControl* label = MakeAt({300, 300, 400, 320}, "3:07");
    const HWND window = WindowOf(label);
    const Image before = Capture(window);
    ScreenReaderView view(window);
    WinEventLog heard;
    EXPECT_TRUE(veltra->SetAccessibleName(label, "Elapsed"));
    EXPECT_EQ(view.Name(), "Elapsed");
    EXPECT_EQ(view.Value(), "3:07");
    label->SetText("3:08");
    EXPECT_EQ(view.Value(), "3:08");
    EXPECT_EQ(heard.For(window), (std::vector<DWORD>{EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_VALUECHANGE}));
    label->SetText("3:07");
    EXPECT_EQ(FirstDifference(Capture(window), before), "");  // the name shows nowhere
}

// Each window a label serves has an object of its own: once the label has moved to another,
// the old window's object answers no more and hears nothing, and the new one answers with
// the label.
TEST_F(AccessibleLabels, EachWindowItServesHasAnObjectOfItsOwn)
{
    ILableControl* label = Make(1);
    label->SetText("Elapsed");
    const HWND own = WindowOf(label);
    windows.push_back(own);
    ScreenReaderView old(own);
    EXPECT_EQ(old.Name(), "Elapsed");
    const HWND foreign = MakeForeign({200, 600, 260, 620});
    ASSERT_TRUE(label->Attach(foreign));
    BSTR name = nullptr;
    EXPECT_EQ(old->get_accName(Self(), &name), RPC_E_DISCONNECTED);
    ScreenReaderView now(foreign);
    EXPECT_EQ(now.Name(), "Elapsed");
    EXPECT_EQ(now.Role(), ROLE_SYSTEM_STATICTEXT);
    WinEventLog heard;
    label->SetText("3:07");
    EXPECT_EQ(heard.For(own), std::vector<DWORD>{});
    EXPECT_EQ(heard.For(foreign), std::vector<DWORD>{EVENT_OBJECT_NAMECHANGE});
}

TEST_F(AccessibleLabels, ClickSendsWhatAPressSendsUnlessThePressIsSilent)
{
    ILableControl* label = Make(4);
    const HWND window = WindowOf(label);
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, Point(1, 1));
    const std::vector<Click> press = clicks;
    clicks.clear();
    ScreenReaderView view(window);
    EXPECT_EQ(view.DefaultAction(), "Click");
    EXPECT_EQ(view->accDoDefaultAction(Self()), S_OK);
    EXPECT_TRUE(clicks.empty());  // not before the screen reader's call returns
    Pump(0);
    EXPECT_EQ(clicks, press);

    label->SetClickMode(TRUE, TRUE);
    clicks.clear();
    EXPECT_EQ(view.DefaultAction(), "");
    EXPECT_EQ(view->accDoDefaultAction(Self()), DISP_E_MEMBERNOTFOUND);
    Pump(0);
    EXPECT_TRUE(clicks.empty());

    // The parent may destroy the label on hearing of the click.
    static ILableControl* victim;
    victim = label;
    Forget(label);
    label->SetClickMode(TRUE, FALSE);
    onClick = [] { victim->Destroy(); };
    EXPECT_EQ(view->accDoDefaultAction(Self()), S_OK);
    Pump(0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(clicks, press);
    EXPECT_EQ(view.Name(), "");
}
