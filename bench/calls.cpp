// What one call costs on this screen: DrawFace, GetObjectRect(20) and a forced repaint of each
// control, through the DLL, each beside a floor of plain copies of as many pixels. The GDI
// calls are the DLL's own, counted at its import table.
#include <deque>

#include "bench/bench.h"
#include "bench/imports.h"
#include "common/gdi.h"

namespace {

const HMODULE Program = GetModuleHandleA(nullptr);

constexpr UINT RepaintNow = RDW_INVALIDATE | RDW_UPDATENOW;
constexpr int BitmapQuery = 20;
constexpr int CutBitmap = 2;  // GetObjectRect(20) puts its cut of the bottom face here
constexpr POINT FloorPlace = {16, 20};  // clear of every control measured
constexpr SIZE SingleCallSize = {64, 64};
constexpr SIZE_T FreshBlock = 1 << 20;  // committed and released whole: each run's pages are new
constexpr SIZE_T PageSize = 4096;

// A bitmap selected into a memory DC of its own, to copy from or to.
class Surface {
public:
    Surface(HDC compatible, SIZE size)
        : dc_(compatible), bitmap_(CreateCompatibleBitmap(compatible, size.cx, size.cy)), selection_(dc_, bitmap_),
          size_(size)
    {
    }

    operator HDC() const { return dc_; }
    SIZE Size() const { return size_; }

    // Fills the bitmap with source's pixels from at. A floor must copy written pixels: a
    // bitmap never written is cheaper to read than any picture.
    void Take(HDC source, POINT at) const { BitBlt(dc_, 0, 0, size_.cx, size_.cy, source, at.x, at.y, SRCCOPY); }

private:
    MemoryDC dc_;
    GdiObject<HBITMAP> bitmap_;
    Selection selection_;
    SIZE size_;
};

SIZE ClientSize(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    return SIZE{client.right, client.bottom};
}

// A child window of a control's size whose paint is one plain BitBlt of the control's
// pixels: the least a repaint of that window can cost.
class FloorWindow {
public:
    FloorWindow(HWND parent, HWND control)
        : picture_(WindowDC(), ClientSize(control)),
          window_(CreateWindowExA(0, ClassName(), "", WS_CHILD | WS_VISIBLE, FloorPlace.x, FloorPlace.y,
                                  picture_.Size().cx, picture_.Size().cy, parent, nullptr, Program, &picture_))
    {
        picture_.Take(WindowDC(control), {0, 0});
    }
    ~FloorWindow() { DestroyWindow(window_); }
    FloorWindow(const FloorWindow&) = delete;
    FloorWindow& operator=(const FloorWindow&) = delete;

    operator HWND() const { return window_; }

private:
    static const char* ClassName()
    {
        static const ATOM registered = [] {
            WNDCLASSA windowClass = {};
            windowClass.lpfnWndProc = Procedure;
            windowClass.hInstance = Program;
            windowClass.lpszClassName = "VeltraBenchFloor";
            return RegisterClassA(&windowClass);
        }();
        return MAKEINTATOM(registered);
    }

    static LRESULT CALLBACK Procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        switch (msg) {
        case WM_NCCREATE:
            SetWindowLongPtrA(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
            break;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            const auto* picture = reinterpret_cast<const Surface*>(GetWindowLongPtrA(window, GWLP_USERDATA));
            PaintDC dc(window);
            BitBlt(dc, 0, 0, picture->Size().cx, picture->Size().cy, *picture, 0, 0, SRCCOPY);
            return 0;
        }
        default:
            break;
        }
        return DefWindowProcA(window, msg, wParam, lParam);
    }

    Surface picture_;
    HWND window_;
};

// One measured call and its floor.
struct Call {
    const char* id;
    const char* title;
    const char* floor;  // what the floor does, for the note under the table
    long long pixels;
    std::function<void()> work;       // the library's: timed and counted
    std::function<void()> tidy;       // after each call, untimed
    std::function<void()> plainCopy;  // the floor: timed and counted
};

void Measure(const Options& options, const Veltra& library, const Call& call)
{
    unsigned long gdiCalls, floorCalls;
    std::string gdiByFunction, userByFunction;
    {
        ImportCounter gdi(library.module, "gdi32.dll");
        ImportCounter user(library.module, "user32.dll");
        call.work();
        gdiCalls = gdi.Total();
        gdiByFunction = gdi.ByFunction();
        userByFunction = user.ByFunction();
    }
    call.tidy();
    {
        ImportCounter gdi(Program, "gdi32.dll");
        call.plainCopy();
        floorCalls = gdi.Total();
    }

    std::string libraryTime = NotTimed, floorTime = NotTimed, ratio = NotTimed;
    if (!options.countsOnly) {
        const std::vector<Samples> times = TimeInTurn(options.calls, {
            [&] {
                Stopwatch clock;
                call.work();
                const double ms = clock.Milliseconds();
                call.tidy();
                return ms;
            },
            [&] {
                Stopwatch clock;
                call.plainCopy();
                return clock.Milliseconds();
            },
        });
        libraryTime = Fixed(1000.0 * times[0].Median(), 1);
        floorTime = Fixed(1000.0 * times[1].Median(), 1);
        ratio = RatioCell(Ratios(times[0], times[1]));
    }
    Table(call.id, call.title, {"Screen", "Arch", "Pixels", "Calls timed", "Library (µs)", "Floor (µs)",
          "Library / floor (IQR / median)", "GDI32 calls", "Floor GDI32 calls", "GDI32 calls by function",
          "USER32 calls by function"});
    Row(call.id, {ScreenName(), ArchName(), std::to_string(call.pixels),
                  options.countsOnly ? NotTimed : std::to_string(options.calls), libraryTime, floorTime, ratio,
                  std::to_string(gdiCalls), std::to_string(floorCalls), gdiByFunction, userByFunction});
    Note(call.id, std::string("Floor: ") + call.floor + ".");
}

long long Area(const RECT& r)
{
    return static_cast<long long>(r.right - r.left) * (r.bottom - r.top);
}

SIZE SizeOf(const RECT& r)
{
    return SIZE{r.right - r.left, r.bottom - r.top};
}

// The face into a full-screen back buffer, as a host that paints off screen calls it.
void MeasureDrawFace(const Options& options, const Veltra& library)
{
    const SIZE screen = Screen();
    RECT inner;
    library.GetBgkColorSize(&inner, nullptr);
    const RECT pieces[] = {
        {0, 0, screen.cx, inner.top},                       // top
        {0, inner.bottom, screen.cx, screen.cy},            // bottom
        {0, inner.top, inner.left, inner.bottom},           // left
        {inner.right, inner.top, screen.cx, inner.bottom},  // right
    };
    WindowDC screenDC;
    Surface buffer(screenDC, screen);
    library.DrawFace(buffer);
    std::deque<Surface> pictures;
    long long pixels = 0;
    for (const RECT& piece : pieces) {
        pictures.emplace_back(screenDC, SizeOf(piece)).Take(buffer, {piece.left, piece.top});
        pixels += Area(piece);
    }
    Measure(options, library, {
        "drawface", "DrawFace into a full-screen back buffer",
        "the four pieces of the face, one plain BitBlt each from bitmaps already selected into memory DCs, into "
        "the same back buffer",
        pixels,
        [&] { library.DrawFace(buffer); },
        [] {},
        [&] {
            for (size_t i = 0; i < pictures.size(); ++i)
                BitBlt(buffer, pieces[i].left, pieces[i].top, pictures[i].Size().cx, pictures[i].Size().cy,
                       pictures[i], 0, 0, SRCCOPY);
        },
    });
}

// The four bitmaps of code 20, deleted by the caller after each call.
void MeasureBitmapQuery(const Options& options, const Veltra& library)
{
    INT32 out[4] = {};
    const auto deleteBitmaps = [&] {
        for (INT32& handle : out)
            DeleteObject(reinterpret_cast<HGDIOBJ>(static_cast<INT_PTR>(handle)));
    };
    library.GetObjectRect(BitmapQuery, out);
    const auto cutBitmap = reinterpret_cast<HBITMAP>(static_cast<INT_PTR>(out[CutBitmap]));
    const SIZE cut = BitmapSize(cutBitmap);
    WindowDC screenDC;
    Surface picture(screenDC, cut);
    Surface target(screenDC, cut);
    {
        MemoryDC cutDC(screenDC);
        Selection selected(cutDC, cutBitmap);
        picture.Take(cutDC, {0, 0});
    }
    deleteBitmaps();
    Measure(options, library, {
        "query20", "GetObjectRect(20): three bitmaps loaded and the bottom face cut under the bottom panel",
        "one plain BitBlt of the cut's size between two bitmaps already selected into memory DCs",
        static_cast<long long>(cut.cx) * cut.cy,
        [&] { library.GetObjectRect(BitmapQuery, out); },
        deleteBitmaps,
        [&] { BitBlt(target, 0, 0, cut.cx, cut.cy, picture, 0, 0, SRCCOPY); },
    });
}

// A control made and painted once, as it appears; then its forced repaints (RedrawWindow with
// RDW_INVALIDATE | RDW_UPDATENOW), and the floor's.
template <typename Control>
void MeasureRepaint(const Options& options, const Veltra& library, HWND host, const char* id, const char* title,
                    Control* control)
{
    const HWND window = WindowOf(control);
    UpdateWindow(window);
    FloorWindow floor(host, window);
    UpdateWindow(floor);
    const SIZE size = ClientSize(window);
    Measure(options, library, {
        id, title,
        "a child window of the same size whose WM_PAINT is one plain BitBlt from a bitmap already selected into a "
        "memory DC, repainted the same way",
        static_cast<long long>(size.cx) * size.cy,
        [&] { RedrawWindow(window, nullptr, nullptr, RepaintNow); },
        [] {},
        [&] { RedrawWindow(floor, nullptr, nullptr, RepaintNow); },
    });
    control->Destroy();
}

// Single calls that the library's paths are made of, each timed alone, to read the paths'
// distance from their floors by.
void MeasureSingleCalls(const Options& options)
{
    if (options.countsOnly)
        return;
    WindowDC screen;
    MemoryDC memory(screen);
    GdiObject<HBITMAP> compatible(CreateCompatibleBitmap(screen, SingleCallSize.cx, SingleCallSize.cy));
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = SingleCallSize.cx;
    info.bmiHeader.biHeight = -SingleCallSize.cy;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    GdiObject<HBITMAP> section(CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const auto selectInAndOut = [&](HBITMAP bitmap) {
        return [&memory, bitmap] {
            Stopwatch clock;
            { Selection selected(memory, bitmap); }
            return clock.Milliseconds();
        };
    };
    const std::vector<Samples> times = TimeInTurn(options.calls, {
        selectInAndOut(compatible),
        selectInAndOut(section),
        [&] {
            Stopwatch clock;
            MemoryDC made(screen);
            made.Delete();
            return clock.Milliseconds();
        },
        [] {
            Stopwatch clock;
            GetSystemMetrics(SM_CXSCREEN);
            return clock.Milliseconds();
        },
        [] {
            Stopwatch clock;
            const auto block =
                static_cast<BYTE*>(VirtualAlloc(nullptr, FreshBlock, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
            for (SIZE_T at = 0; at < FreshBlock; at += PageSize)
                static_cast<volatile BYTE*>(block)[at] = 1;  // every page written, none left out
            VirtualFree(block, 0, MEM_RELEASE);
            return clock.Milliseconds() * PageSize / FreshBlock;
        },
    });
    Table("single", "Single calls, each timed alone (µs)", {"Screen", "Arch",
          "SelectObject in and out: a screen-compatible bitmap", "SelectObject in and out: a DIB section",
          "CreateCompatibleDC and DeleteDC", "GetSystemMetrics", "A page never used before, first touched"});
    Row("single", {ScreenName(), ArchName(), Fixed(1000.0 * times[0].Median(), 1), Fixed(1000.0 * times[1].Median(), 1),
                   Fixed(1000.0 * times[2].Median(), 1), Fixed(1000.0 * times[3].Median(), 1),
                   Fixed(1000.0 * times[4].Median(), 1)});
}

}  // namespace

void MeasureCalls(const Options& options, const Veltra& library, HWND host)
{
    MeasureSingleCalls(options);
    MeasureDrawFace(options, library);
    MeasureBitmapQuery(options, library);
    MeasureRepaint(options, library, host, "paint-button", "Colour button (type 2): forced repaint",
                   MakeButton(library, host));
    MeasureRepaint(options, library, host, "paint-label", "Label (type 0): forced repaint", MakeLabel(library, host));
    MeasureRepaint(options, library, host, "paint-slip", "Slip (type 0, the seek bar): forced repaint",
                   MakeSlip(library, host));
}
