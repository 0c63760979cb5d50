// What a drag step of the seek slip invalidates, and what a blink tick of a label copies to
// the window and reads from its parent, through the DLL.
#include <algorithm>
#include <climits>

#include "bench/bench.h"
#include "bench/imports.h"
#include "common/gdi.h"

namespace {

// Thumb drags along the seek slip: pixels per move, and how many moves (all within the track).
const struct {
    int step;
    int moves;
} Drags[] = {{1, 12}, {8, 12}, {32, 12}};

constexpr POINT OnThumb = {5, 9};  // inside the thumb while it stands at the start of the track

constexpr UINT_PTR BlinkTimer = 100;  // the label's blink timer
constexpr int BlinkTicks = 10;

long long RegionArea(HRGN region)
{
    std::vector<BYTE> buffer(GetRegionData(region, 0, nullptr));
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    if (buffer.empty() || !GetRegionData(region, static_cast<DWORD>(buffer.size()), data))
        return 0;
    const auto* rects = reinterpret_cast<const RECT*>(data->Buffer);
    long long area = 0;
    for (DWORD i = 0; i < data->rdh.nCount; ++i)
        area += static_cast<long long>(rects[i].right - rects[i].left) * (rects[i].bottom - rects[i].top);
    return area;
}

long long UpdateArea(HWND window)
{
    GdiObject<HRGN> region(CreateRectRgn(0, 0, 0, 0));
    GetUpdateRgn(window, region, FALSE);
    return RegionArea(region);
}

void MeasureDrag(const Veltra& library, HWND host)
{
    ISlipControl* slip = MakeSlip(library, host);
    const HWND window = WindowOf(slip);
    RECT client;
    GetClientRect(window, &client);
    const long long whole = static_cast<long long>(client.right) * client.bottom;
    Table("drag", "Slip drag step (the seek bar): area invalidated per move", {"Screen", "Arch", "Move (px)",
          "Moves", "Invalidated per move (px)", "Whole slip (px)", "Share of whole", "Invalidations per move"});
    for (const auto& drag : Drags) {
        slip->SetValue(0);
        UpdateWindow(window);
        SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(OnThumb.x, OnThumb.y));
        long long least = LLONG_MAX, most = 0;
        unsigned long invalidations = 0;
        int x = OnThumb.x;
        for (int move = 0; move < drag.moves; ++move) {
            x += drag.step;
            {
                ImportCounter user(library.module, "user32.dll");
                SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, OnThumb.y));
                invalidations += user.Calls("InvalidateRgn") + user.Calls("InvalidateRect");
            }
            const long long area = UpdateArea(window);
            least = std::min(least, area);
            most = std::max(most, area);
            UpdateWindow(window);
        }
        SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, OnThumb.y));
        Row("drag", {ScreenName(), ArchName(), std::to_string(drag.step), std::to_string(drag.moves),
                     least == most ? std::to_string(most) : std::to_string(least) + " - " + std::to_string(most),
                     std::to_string(whole), Percent(static_cast<double>(most) / whole),
                     Fixed(static_cast<double>(invalidations) / drag.moves, 2)});
    }
    slip->Destroy();
}

void Tick(HWND label)
{
    for (int tick = 0; tick < BlinkTicks; ++tick) {
        SendMessageA(label, WM_TIMER, BlinkTimer, 0);
        UpdateWindow(label);
    }
}

void MeasureBlink(const Veltra& library, HWND host)
{
    ILableControl* label = nullptr;
    const auto ticks = std::to_string(BlinkTicks) + " blink ticks";
    const struct {
        std::string name;
        int paints;  // expected; -1: as many as the factory makes
        int reads;   // of the parent, expected: one per snapshot
        std::function<void()> run;
    } stretches[] = {
        {"made by the factory, text set, blinking on", -1, 1,
         [&] {
             label = MakeLabel(library, host);
             label->SetFlags(VELTRA_LABEL_BLINK_TEXT, VELTRA_LABEL_BLINK_TEXT);
             UpdateWindow(WindowOf(label));
         }},
        {ticks, BlinkTicks, 0, [&] { Tick(WindowOf(label)); }},
        {"RefreshBackground, then " + ticks, BlinkTicks, 1,
         [&] {
             label->RefreshBackground();
             Tick(WindowOf(label));
         }},
    };
    Table("blink", "Label blink (type 0, blinking text): copies to the window and reads of the parent",
          {"Screen", "Arch", "Stretch", "Paints", "Copies to the window", "Copies per paint", "Parent reads"});
    bool onePerPaint = true, readsAsSnapshots = true;
    std::string reads;
    for (const auto& stretch : stretches) {
        unsigned long paints;
        int toWindow = 0, fromWindow = 0;
        {
            ImportCounter user(library.module, "user32.dll");
            BlitLog log(library.module);
            stretch.run();
            paints = user.Calls("BeginPaint");
            for (const Copy& copy : log.Copies()) {
                toWindow += copy.toWindow;
                fromWindow += copy.fromWindow;
            }
        }
        Row("blink", {ScreenName(), ArchName(), stretch.name, std::to_string(paints), std::to_string(toWindow),
                      paints ? Fixed(static_cast<double>(toWindow) / paints, 2) : std::string("-"),
                      std::to_string(fromWindow)});
        onePerPaint = onePerPaint && paints > 0 && toWindow == static_cast<int>(paints) &&
                      (stretch.paints < 0 || static_cast<int>(paints) == stretch.paints);
        readsAsSnapshots = readsAsSnapshots && fromWindow == stretch.reads;
        reads += (reads.empty() ? "" : ", ") + std::to_string(fromWindow);
    }
    label->Destroy();
    Target("A label's blink paint copies to the window once", onePerPaint ? "one copy per paint" : "see the table",
           onePerPaint);
    Target("A label reads its parent once per snapshot",
           "reads " + reads + " in stretches taking 1, 0, 1 snapshots", readsAsSnapshots);
}

}  // namespace

void MeasureInvalidation(const Veltra& library, HWND host)
{
    MeasureDrag(library, host);
    MeasureBlink(library, host);
}
