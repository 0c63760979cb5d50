// The face build at attach, with the library's code linked into this program so that its
// copies can be watched: AttachLibrary as a whole and its widening (WidenFace) alone, beside a
// naive widening of the same fills and beside the copy floor, and attach's other steps.
#include <algorithm>
#include <deque>
#include <iterator>
#include <utility>

#include "bench/bench.h"
#include "bench/imports.h"
#include "common/gdi.h"
#include "common/library.h"
#include "common/scale.h"
#include "entry/attach.h"
#include "face/face.h"
#include "include/veltra1024.h"

namespace {

const HMODULE Program = GetModuleHandleA(nullptr);

// How far the face build and the whole attach may stand above their floors, on every screen.
constexpr double FloorLimit = 1.5;
// How far a fit to a screen may stand above attach on it: it makes the same face.
constexpr double FitLimit = 1.2;
// How far a fit at a scale may stand above copying the scaled face's pixels once.
constexpr double ScaledFitLimit = 1.5;
// How far loading a whole skin may stand above a fit to the screen from another size.
constexpr double SkinLimit = 1.5;

// The face bitmaps that attach leaves, and the art that each is widened from.
struct Face {
    const char* name;
    HBITMAP LibraryState::*bitmap;
    ResourceId art;
};

const Face Faces[] = {
    {"top", &LibraryState::FaceTop, IdFaceTop},
    {"left", &LibraryState::FaceLeft, IdFaceLeft},
    {"bottom", &LibraryState::FaceBottom, IdFaceBottom},
    {"right", &LibraryState::FaceRight, IdFaceRight},
};

// One copy of a face build, between the art and the face being built.
struct Piece {
    bool fromFace;  // reads what is already built, not the art
    int x, y, cx, cy, srcX, srcY;
};

// A stretch of a face filled with repeats of a band: the first copy reads the band from the
// art; each later one lands right after what is filled and reads either the band again or
// the start of the stretch, already filled.
struct Fill {
    const Face* face;
    bool vertical;
    int run;   // length filled
    int band;  // length of the first copy
    int copies;
};

// The least copies a fill can take: the band, then one copy per doubling of what is filled.
int DoublingCopies(int run, int band)
{
    int copies = 1;
    for (long long filled = band; filled < run; filled *= 2)
        ++copies;
    return copies;
}

// The copies of a fill made band by band.
int BandCopies(int run, int band)
{
    return (run + band - 1) / band;
}

int Along(const Copy& copy, bool vertical)
{
    return vertical ? copy.cy : copy.cx;
}

// Whether copy carries on the fill that band began, filled so far along one axis.
bool Carries(const Copy& band, int filled, const Copy& copy, bool vertical)
{
    const bool lands = vertical ? copy.x == band.x && copy.cx == band.cx && copy.y == band.y + filled
                                : copy.y == band.y && copy.cy == band.cy && copy.x == band.x + filled;
    const int length = Along(copy, vertical);
    const bool readsFill = copy.src == copy.dest && copy.srcX == band.x && copy.srcY == band.y && length <= filled;
    const bool readsBand = copy.src == band.src && copy.srcX == band.srcX && copy.srcY == band.srcY &&
                           length <= Along(band, vertical);
    return lands && length > 0 && (readsFill || readsBand);
}

// One face's copies, walked in order: its fills, and the naive plan, in which every copy that
// carries a fill on is replaced by copies of the band, one per repeat.
struct FaceBuild {
    const Face* face;
    SIZE size;
    std::vector<Fill> fills;
    std::vector<Piece> naive;  // empty: the art is kept as it is
};

FaceBuild Walk(const Face& face, SIZE size, const std::vector<Copy>& copies)
{
    FaceBuild build = {&face, size, {}, {}};
    const Copy* band = nullptr;  // the first copy of the fill under way
    int axis = -1;               // 0 along x, 1 along y; -1 until the second copy
    int filled = 0, count = 0;
    const auto finish = [&] {
        if (band && count > 1)
            build.fills.push_back({&face, axis == 1, filled, Along(*band, axis == 1), count});
        band = nullptr;
    };
    for (const Copy& copy : copies) {
        int carriedAlong = -1;
        for (int a = 0; band && a < 2 && carriedAlong < 0; ++a)
            if ((axis < 0 || axis == a) && Carries(*band, axis < 0 ? Along(*band, a) : filled, copy, a == 1))
                carriedAlong = a;
        if (carriedAlong < 0) {
            finish();
            build.naive.push_back({copy.src == copy.dest, copy.x, copy.y, copy.cx, copy.cy, copy.srcX, copy.srcY});
            if (copy.src != copy.dest && copy.cx > 0 && copy.cy > 0) {
                band = &copy;
                axis = -1;
                count = 1;
            }
            continue;
        }
        const bool vertical = carriedAlong == 1;
        if (axis < 0) {
            axis = carriedAlong;
            filled = Along(*band, vertical);
        }
        const int bandLength = Along(*band, vertical);
        for (int offset = 0; offset < Along(copy, vertical); offset += bandLength) {
            const int length = std::min(bandLength, Along(copy, vertical) - offset);
            Piece repeat = {false, copy.x, copy.y, copy.cx, copy.cy, band->srcX, band->srcY};
            (vertical ? repeat.y : repeat.x) += offset;
            (vertical ? repeat.cy : repeat.cx) = length;
            build.naive.push_back(repeat);
        }
        filled += Along(copy, vertical);
        ++count;
    }
    finish();
    return build;
}

// A bitmap to copy from, and its size.
struct Picture {
    HBITMAP bitmap;
    SIZE size;
};

// The four face bitmaps at design size, in the order of Faces, as attach loads them.
std::vector<OwnedBitmap> LoadArt()
{
    std::vector<OwnedBitmap> art;
    for (const Face& face : Faces)
        art.emplace_back(LoadBitmapA(Program, MAKEINTRESOURCEA(face.art)));
    return art;
}

// The widening with the naive copies: each face that widens made at its final size and filled
// piece by piece from its art, which is then deleted, as the library deletes it.
std::vector<OwnedBitmap> WidenNaive(const std::vector<FaceBuild>& builds, std::vector<OwnedBitmap> art)
{
    std::vector<OwnedBitmap> faces;
    WindowDC screen;
    MemoryDC source(screen);
    MemoryDC target(screen);
    for (size_t i = 0; i < builds.size(); ++i) {
        const FaceBuild& build = builds[i];
        if (build.naive.empty()) {
            faces.push_back(std::move(art[i]));
            continue;
        }
        OwnedBitmap wide(CreateCompatibleBitmap(screen, build.size.cx, build.size.cy));
        {
            Selection from(source, art[i].get());
            Selection into(target, wide.get());
            for (const Piece& p : build.naive)
                BitBlt(target, p.x, p.y, p.cx, p.cy, p.fromFace ? target : source, p.srcX, p.srcY, SRCCOPY);
        }
        art[i].reset();
        faces.push_back(std::move(wide));
    }
    return faces;
}

// The least a build of the face can cost: the art given back, as the library gives it back,
// then each face made at its final size and filled by one plain copy of a picture of that
// size. Giving the art back first lets the faces take its memory, the least the allocator
// can be asked for.
std::vector<OwnedBitmap> BuildFloor(const std::vector<Picture>& pictures, std::vector<OwnedBitmap> art)
{
    art.clear();
    std::vector<OwnedBitmap> faces;
    WindowDC screen;
    MemoryDC source(screen);
    MemoryDC target(screen);
    for (const Picture& picture : pictures) {
        OwnedBitmap face(CreateCompatibleBitmap(screen, picture.size.cx, picture.size.cy));
        Selection from(source, picture.bitmap);
        Selection into(target, face.get());
        BitBlt(target, 0, 0, picture.size.cx, picture.size.cy, source, 0, 0, SRCCOPY);
        faces.push_back(std::move(face));
    }
    return faces;
}

std::vector<Picture> Pictures(const std::vector<OwnedBitmap>& bitmaps)
{
    std::vector<Picture> pictures;
    for (const OwnedBitmap& bitmap : bitmaps)
        pictures.push_back({bitmap.get(), BitmapSize(bitmap.get())});
    return pictures;
}

// Attach's steps besides the widening, each known by the system function that makes it.
// While a StepClock lives, the program's imports of these functions are hooked, so that each
// step is timed in place, inside AttachLibrary: what a call costs under Wine depends on what
// was allocated and freed before it, so timing a step alone would not tell.
struct AttachStep {
    const char* dll;
    const char* function;
    const char* name;
    void* hook;
    void* original;
    double ms;  // inside the function, since the StepClock began
};

enum StepId { CursorStep, ArtStep, MetricsStep, LogoStep };

HCURSOR WINAPI TimedLoadCursorA(HINSTANCE module, LPCSTR name);
HBITMAP WINAPI TimedLoadBitmapA(HINSTANCE module, LPCSTR name);
int WINAPI TimedGetSystemMetrics(int index);
HANDLE WINAPI TimedCreateFileA(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                               DWORD disposition, DWORD attributes, HANDLE model);

AttachStep AttachSteps[] = {
    {"user32.dll", "LoadCursorA", "LoadCursorA: the hand cursor", reinterpret_cast<void*>(&TimedLoadCursorA),
     nullptr, 0.0},
    {"user32.dll", "LoadBitmapA", "LoadBitmapA: the four face bitmaps", reinterpret_cast<void*>(&TimedLoadBitmapA),
     nullptr, 0.0},
    {"user32.dll", "GetSystemMetrics", "GetSystemMetrics: the screen's width and height",
     reinterpret_cast<void*>(&TimedGetSystemMetrics), nullptr, 0.0},
    {"kernel32.dll", "CreateFileA", "CreateFileA: the look for a logo file, absent here (its headers are read "
     "before LoadImageA)", reinterpret_cast<void*>(&TimedCreateFileA), nullptr, 0.0},
};

template <typename Function, typename... Args>
auto ClockStep(StepId id, Args... args)
{
    AttachStep& step = AttachSteps[id];
    Stopwatch clock;
    const auto result = reinterpret_cast<Function>(step.original)(args...);
    step.ms += clock.Milliseconds();
    return result;
}

HCURSOR WINAPI TimedLoadCursorA(HINSTANCE module, LPCSTR name)
{
    return ClockStep<decltype(&LoadCursorA)>(CursorStep, module, name);
}

HBITMAP WINAPI TimedLoadBitmapA(HINSTANCE module, LPCSTR name)
{
    return ClockStep<decltype(&LoadBitmapA)>(ArtStep, module, name);
}

int WINAPI TimedGetSystemMetrics(int index)
{
    return ClockStep<decltype(&GetSystemMetrics)>(MetricsStep, index);
}

HANDLE WINAPI TimedCreateFileA(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                               DWORD disposition, DWORD attributes, HANDLE model)
{
    return ClockStep<decltype(&CreateFileA)>(LogoStep, name, access, share, security, disposition, attributes,
                                             model);
}

class StepClock {
public:
    StepClock()
    {
        for (AttachStep& step : AttachSteps) {
            const ImportPatch& patch = patches_.emplace_back(Program, step.dll, step.function, step.hook);
            step.original = patch.Original();
            step.ms = 0.0;
        }
    }
    StepClock(const StepClock&) = delete;
    StepClock& operator=(const StepClock&) = delete;

private:
    std::deque<ImportPatch> patches_;
};

// Where a timed run's memory comes from. Touching memory never used before is dear here (see
// the single calls), and what was just freed may or may not be handed back, so the runs are
// made two ways: just after an untimed run of the same kind has freed what it made; or with
// every run keeping what it made until all are done, so that each takes memory never used, as
// a process's first attach does.
enum class Memory { JustFreed, NeverUsed };

// How much resident memory the latest timed run took afresh, measured around its Stopwatch.
double RunResident = 0.0;

// A run of a face build that times itself and puts what it made into made.
using Build = std::function<double(std::vector<OwnedBitmap>& made)>;

std::function<double()> Timed(Memory memory, Build build, std::vector<OwnedBitmap>& kept)
{
    if (memory == Memory::NeverUsed)
        return [build, &kept] { return build(kept); };
    return [build] {
        std::vector<OwnedBitmap> made;
        build(made);
        made.clear();
        return build(made);
    };
}

// Hands the faces that the library holds to made, so that DetachLibrary leaves them be.
void TakeFaces(std::vector<OwnedBitmap>& made)
{
    for (const Face& face : Faces)
        made.emplace_back(std::exchange(Library.*face.bitmap, nullptr));
}

// AttachLibrary, timed whole and step by step; the steps of the latest run go to lastSteps.
double AttachRun(std::vector<OwnedBitmap>& made, std::vector<double>& lastSteps)
{
    double ms;
    {
        StepClock steps;
        const ResidentGrowth resident;
        Stopwatch clock;
        AttachLibrary(Program);
        ms = clock.Milliseconds();
        RunResident = resident.Megabytes();
    }
    TakeFaces(made);
    DetachLibrary();
    lastSteps.clear();
    for (const AttachStep& step : AttachSteps)
        lastSteps.push_back(step.ms);
    return ms;
}

// Times work, which leaves the faces in the library, and hands them to made.
template <typename Work>
double TimeLibraryFaces(std::vector<OwnedBitmap>& made, Work work)
{
    const ResidentGrowth resident;
    Stopwatch clock;
    work();
    const double ms = clock.Milliseconds();
    RunResident = resident.Megabytes();
    TakeFaces(made);
    return ms;
}

// A fit to this screen, of a library attached and fitted to another beforehand: all a fit
// makes, without controls to move.
double FitRun(std::vector<OwnedBitmap>& made)
{
    const SIZE screen = Screen();
    const bool design = screen.cx == DesignWidth && screen.cy == DesignHeight;
    const SIZE from = design ? SIZE{1920, 1080} : SIZE{DesignWidth, DesignHeight};
    AttachLibrary(Program);
    FitScreen(from.cx, from.cy);
    const double ms = TimeLibraryFaces(made, [&] { FitScreen(screen.cx, screen.cy); });
    DetachLibrary();
    return ms;
}

// The library's widening alone, from the art loaded as attach loads it.
double WidenFaceRun(std::vector<OwnedBitmap>& made)
{
    const SIZE screen = Screen();
    std::vector<OwnedBitmap> art = LoadArt();
    for (size_t i = 0; i < art.size(); ++i)
        Library.*Faces[i].bitmap = art[i].release();
    return TimeLibraryFaces(made, [&] { WidenFace(screen.cx, screen.cy); });
}

// Times work, which builds the faces, and hands what it built to made.
template <typename Work>
double TimeFaces(std::vector<OwnedBitmap>& made, Work work)
{
    const ResidentGrowth resident;
    Stopwatch clock;
    std::vector<OwnedBitmap> faces = work();
    const double ms = clock.Milliseconds();
    RunResident = resident.Megabytes();
    std::move(faces.begin(), faces.end(), std::back_inserter(made));
    return ms;
}

double NaiveRun(const std::vector<FaceBuild>& builds, std::vector<OwnedBitmap>& made)
{
    std::vector<OwnedBitmap> art = LoadArt();
    return TimeFaces(made, [&] { return WidenNaive(builds, std::move(art)); });
}

// The copy floor, from the art loaded as WidenFaceRun loads it.
double FloorRun(const std::vector<Picture>& pictures, std::vector<OwnedBitmap>& made)
{
    std::vector<OwnedBitmap> art = LoadArt();
    return TimeFaces(made, [&] { return BuildFloor(pictures, std::move(art)); });
}

// The least an attach can cost: the art loaded from the resources and, where the screen is
// larger than the design, the copy floor; at design size the art is the face.
double AttachFloorRun(const std::vector<Picture>& pictures, bool widened, std::vector<OwnedBitmap>& made)
{
    return TimeFaces(made, [&] {
        std::vector<OwnedBitmap> art = LoadArt();
        return widened ? BuildFloor(pictures, std::move(art)) : std::move(art);
    });
}

template <typename Work>
unsigned long CountBitBlt(Work work)
{
    ImportCounter gdi(Program, "gdi32.dll");
    work();
    return gdi.Calls("BitBlt");
}

void ReportFills(const std::vector<Fill>& fills)
{
    Table("fills", "Every repeated fill of the face build", {"Screen", "Arch", "Face", "Along", "Run", "Band",
          "Copies", "1 + ceil(log2(run / band))", "Naive copies"});
    for (const Fill& fill : fills)
        Row("fills", {ScreenName(), ArchName(), fill.face->name, fill.vertical ? "y" : "x", std::to_string(fill.run),
                      std::to_string(fill.band), std::to_string(fill.copies),
                      std::to_string(DoublingCopies(fill.run, fill.band)),
                      std::to_string(BandCopies(fill.run, fill.band))});
}

// One attach as the library made it: its copies, found again as face builds and fills.
struct WatchedAttach {
    unsigned long copies;                // BitBlt calls
    std::vector<std::string> stepCalls;  // per AttachStep: "LoadBitmapA 4"
    std::vector<FaceBuild> builds;       // per face, in the order of Faces
    std::vector<Fill> fills;
    std::vector<OwnedBitmap> faces;      // copies of the faces attach made, for the floor
};

// The log's copies into each face, walked face by face, in the order of Faces.
std::vector<FaceBuild> WalkFaces(const std::vector<Copy>& log, const std::vector<HBITMAP>& faces)
{
    std::vector<FaceBuild> builds;
    for (size_t i = 0; i < faces.size(); ++i) {
        std::vector<Copy> into;
        for (const Copy& copy : log)
            if (copy.destBitmap == faces[i])
                into.push_back(copy);
        builds.push_back(Walk(Faces[i], BitmapSize(faces[i]), into));
    }
    return builds;
}

std::vector<Fill> FillsOf(const std::vector<FaceBuild>& builds)
{
    std::vector<Fill> fills;
    for (const FaceBuild& build : builds)
        fills.insert(fills.end(), build.fills.begin(), build.fills.end());
    return fills;
}

int AtBound(const std::vector<Fill>& fills)
{
    return static_cast<int>(std::count_if(fills.begin(), fills.end(), [](const Fill& fill) {
        return fill.copies == DoublingCopies(fill.run, fill.band);
    }));
}

// Attaches with the copies logged and the calls counted; this attach also warms up.
WatchedAttach Watch()
{
    WatchedAttach watched;
    std::vector<Copy> copies;
    {
        ImportCounter gdi(Program, "gdi32.dll");
        ImportCounter user(Program, "user32.dll");
        ImportCounter kernel(Program, "kernel32.dll");
        BlitLog log(Program);
        AttachLibrary(Program);
        copies = log.Copies();
        watched.copies = gdi.Calls("BitBlt");
        for (const AttachStep& step : AttachSteps) {
            const ImportCounter& counter = std::string(step.dll) == "kernel32.dll" ? kernel : user;
            watched.stepCalls.push_back(std::string(step.function) + " " + std::to_string(counter.Calls(step.function)));
        }
    }
    std::vector<HBITMAP> faces;
    std::vector<Picture> pictures;
    for (const Face& face : Faces) {
        faces.push_back(Library.*face.bitmap);
        pictures.push_back({faces.back(), BitmapSize(faces.back())});
    }
    watched.builds = WalkFaces(copies, faces);
    watched.fills = FillsOf(watched.builds);
    watched.faces = BuildFloor(pictures, {});
    DetachLibrary();
    return watched;
}

void ReportCopies(const Options& options, const WatchedAttach& watched)
{
    // The naive widening watched the same way: the check must find its fills and fail them.
    unsigned long naiveCopies;
    std::vector<Fill> naiveFills;
    {
        ImportCounter gdi(Program, "gdi32.dll");
        BlitLog log(Program);
        const std::vector<OwnedBitmap> naive = WidenNaive(watched.builds, LoadArt());
        naiveCopies = gdi.Calls("BitBlt");
        std::vector<HBITMAP> faces;
        for (const OwnedBitmap& face : naive)
            faces.push_back(face.get());
        naiveFills = FillsOf(WalkFaces(log.Copies(), faces));
    }
    const unsigned long floor = CountBitBlt([&] { BuildFloor(Pictures(watched.faces), {}); });
    const std::vector<Fill>& fills = watched.fills;
    int fillCopies = 0, doublingBound = 0, naiveFillCopies = 0;
    for (const Fill& fill : fills) {
        fillCopies += fill.copies;
        doublingBound += DoublingCopies(fill.run, fill.band);
        naiveFillCopies += BandCopies(fill.run, fill.band);
    }
    const auto ofFills = [](int count, size_t fills) { return std::to_string(count) + " of " + std::to_string(fills); };
    Table("face-copies", "Face build at attach: BitBlt calls", {"Screen", "Arch", "Library", "Naive", "Floor",
          "Copies in fills: library / bound / naive", "Library fills at 1 + ceil(log2(run / band))",
          "Naive fills, by the same check"});
    Row("face-copies", {ScreenName(), ArchName(), std::to_string(watched.copies), std::to_string(naiveCopies),
                        std::to_string(floor),
                        std::to_string(fillCopies) + " / " + std::to_string(doublingBound) + " / " +
                            std::to_string(naiveFillCopies),
                        ofFills(AtBound(fills), fills.size()), ofFills(AtBound(naiveFills), naiveFills.size())});
    if (!fills.empty())
        Target("Every repeated fill of the face takes 1 + ceil(log2(run / band)) copies",
               ofFills(AtBound(fills), fills.size()) + " fills", AtBound(fills) == static_cast<int>(fills.size()));
    if (options.listFills)
        ReportFills(fills);
}

// The four builds timed in turn with memory of one kind, and attach's steps.
struct BuildTimes {
    std::vector<Samples> builds;  // per Subject
    std::vector<Samples> resident;  // per Subject, RunResident of the same runs
    std::vector<Samples> steps;   // per AttachStep, then the rest of attach
};

enum Subject { AttachSubject, AttachFloorSubject, FitSubject, WidenSubject, NaiveSubject, FloorSubject };

BuildTimes TimeBuilds(const Options& options, const WatchedAttach& watched, Memory memory)
{
    const std::vector<Picture> pictures = Pictures(watched.faces);
    const bool widened = watched.copies > 0;
    std::vector<OwnedBitmap> kept;
    BuildTimes times;
    times.steps.resize(std::size(AttachSteps) + 1);
    std::vector<double> lastSteps;
    const auto attach = Timed(memory, [&](auto& made) { return AttachRun(made, lastSteps); }, kept);
    std::vector<std::function<double()>> subjects = {
        [&] {
            const double ms = attach();
            double rest = ms;
            for (size_t i = 0; i < lastSteps.size(); ++i) {
                times.steps[i].values.push_back(lastSteps[i]);
                rest -= lastSteps[i];
            }
            times.steps.back().values.push_back(rest);
            return ms;
        },
        Timed(memory, [&](auto& made) { return AttachFloorRun(pictures, widened, made); }, kept),
        Timed(memory, FitRun, kept),
    };
    // At design size attach keeps the art as it is: there is no widening to time.
    if (widened) {
        subjects.push_back(Timed(memory, WidenFaceRun, kept));
        subjects.push_back(Timed(memory, [&](auto& made) { return NaiveRun(watched.builds, made); }, kept));
        subjects.push_back(Timed(memory, [&](auto& made) { return FloorRun(pictures, made); }, kept));
    }
    // Each subject's fresh resident memory, kept beside its times; the warm-up turns' are
    // dropped below.
    times.resident.resize(subjects.size());
    for (size_t k = 0; k < subjects.size(); ++k)
        subjects[k] = [timed = subjects[k], &resident = times.resident[k]] {
            const double ms = timed();
            resident.values.push_back(RunResident);
            return ms;
        };
    times.builds = TimeInTurn(options.builds, subjects);
    for (Samples& resident : times.resident)
        resident.values.erase(resident.values.begin(), resident.values.end() - options.builds);
    // The steps of TimeInTurn's untimed warm-up turns came first: the rest pair with the builds.
    for (Samples& step : times.steps)
        step.values.erase(step.values.begin(), step.values.end() - options.builds);
    return times;
}

void ReportTimes(const Options& options, const WatchedAttach& watched)
{
    const struct {
        Memory memory;
        const char* name;
    } regimes[] = {{Memory::JustFreed, "just freed"}, {Memory::NeverUsed, "never used"}};
    Table("face-time", "Face build at attach: time", {"Screen", "Arch", "Memory", "Runs", "AttachLibrary (ms)",
          "Attach floor (ms)", "FitScreen (ms)", "WidenFace (ms)", "Naive widening (ms)", "Copy floor (ms)",
          "Attach / attach floor (IQR / median)", "FitScreen / attach (IQR / median)",
          "WidenFace / copy floor (IQR / median)",
          "Naive / WidenFace (IQR / median)",
          "IQR / median of the times: attach, attach floor, fit, WidenFace, naive, copy floor",
          "Resident memory taken afresh per run, MB (median): attach, attach floor, fit, WidenFace, naive, copy "
          "floor"});
    std::vector<BuildTimes> measured;
    for (const auto& regime : regimes) {
        const BuildTimes& times = measured.emplace_back(TimeBuilds(options, watched, regime.memory));
        const auto timedHere = [&](Subject s) { return static_cast<size_t>(s) < times.builds.size(); };
        const auto each = [&](const std::function<std::string(Subject)>& cell) {
            std::string cells;
            for (Subject s : {AttachSubject, AttachFloorSubject, FitSubject, WidenSubject, NaiveSubject, FloorSubject})
                cells += (cells.empty() ? "" : ", ") + (timedHere(s) ? cell(s) : NotTimed);
            return cells;
        };
        const auto time = [&](Subject s) { return timedHere(s) ? Fixed(times.builds[s].Median(), 3) : NotTimed; };
        const auto ratios = [&](Subject over, Subject under) {
            return Ratios(times.builds[over], times.builds[under]);
        };
        const auto ratio = [&](Subject over, Subject under) {
            return timedHere(over) && timedHere(under) ? RatioCell(ratios(over, under)) : NotTimed;
        };
        Row("face-time", {ScreenName(), ArchName(), regime.name, std::to_string(options.builds), time(AttachSubject),
                          time(AttachFloorSubject), time(FitSubject), time(WidenSubject), time(NaiveSubject),
                          time(FloorSubject), ratio(AttachSubject, AttachFloorSubject), ratio(FitSubject, AttachSubject),
                          ratio(WidenSubject, FloorSubject),
                          ratio(NaiveSubject, WidenSubject),
                          each([&](Subject s) { return Percent(times.builds[s].Spread()); }),
                          each([&](Subject s) { return Fixed(times.resident[s].Median(), 2); })});
        const std::string within = " x its floor, memory " + std::string(regime.name);
        if (timedHere(WidenSubject))
            RatioTarget("The face build (WidenFace: the art given back, the four faces made and filled), within " +
                            Fixed(FloorLimit, 1) + within, ratios(WidenSubject, FloorSubject), FloorLimit);
        RatioTarget("AttachLibrary, the whole attach (the cursor, the screen size and the logo look besides the "
                    "face), within " + Fixed(FloorLimit, 1) + within,
                    ratios(AttachSubject, AttachFloorSubject), FloorLimit);
        RatioTarget("FitScreen to this screen, within " + Fixed(FitLimit, 1) + " x AttachLibrary, memory " +
                        regime.name, ratios(FitSubject, AttachSubject), FitLimit);
    }

    Table("attach-steps", "Face build at attach: where the time goes, timed inside AttachLibrary, and what "
          "sets it above the copy floor", {"Screen", "Arch", "Step", "Calls counted in attach",
          "Memory just freed (ms)", "Share of attach", "Memory never used (ms)", "Share of attach"});
    const auto step = [&](const std::string& name, const std::string& calls,
                          const std::function<Samples(const BuildTimes&)>& of) {
        const auto share = [&](const BuildTimes& times) {
            return Percent(Ratios(of(times), times.builds[AttachSubject]).Median());
        };
        Row("attach-steps", {ScreenName(), ArchName(), name, calls, Fixed(of(measured[0]).Median(), 3),
                             share(measured[0]), Fixed(of(measured[1]).Median(), 3), share(measured[1])});
    };
    for (size_t i = 0; i < std::size(AttachSteps); ++i)
        step(AttachSteps[i].name, watched.stepCalls[i], [i](const BuildTimes& times) { return times.steps[i]; });
    step("The rest: the widening, and what joins the steps", "BitBlt " + std::to_string(watched.copies),
         [](const BuildTimes& times) { return times.steps.back(); });
    step("AttachLibrary, whole", "", [](const BuildTimes& times) { return times.builds[AttachSubject]; });
    step("Attach floor: the art loaded, and the copy floor where the face widens", "",
         [](const BuildTimes& times) { return times.builds[AttachFloorSubject]; });
    step("AttachLibrary over the attach floor, turn by turn", "", [](const BuildTimes& times) {
        return Differences(times.builds[AttachSubject], times.builds[AttachFloorSubject]);
    });
}

// A fit to this screen at the largest scale it holds, beside a fit at scale 1 to it and
// beside the floor of the scaled fit: the scaled face's pixels copied once, into bitmaps made
// for them. The scaled face has scale x scale as many pixels as the face at scale 1.
void ReportScaledFit(const Options& options)
{
    const SIZE screen = Screen();
    const int scale = LargestScaleHeld(screen.cx, screen.cy);
    if (scale == 1)
        return;
    AttachLibrary(Program);
    const auto fit = [&](int s) {
        return [&, s] {
            FitScreenScaled(DesignWidth, DesignHeight, 1);
            Stopwatch clock;
            FitScreenScaled(screen.cx, screen.cy, s);
            return clock.Milliseconds();
        };
    };
    const auto floor = [&] {
        FitScreenScaled(screen.cx, screen.cy, scale);
        WindowDC dc;
        MemoryDC source(dc), target(dc);
        Stopwatch clock;
        for (const Face& face : Faces) {
            const SIZE size = BitmapSize(Library.*face.bitmap);
            const OwnedBitmap copy(CreateCompatibleBitmap(dc, size.cx, size.cy));
            Selection from(source, Library.*face.bitmap), to(target, copy.get());
            BitBlt(target, 0, 0, size.cx, size.cy, source, 0, 0, SRCCOPY);
        }
        return clock.Milliseconds();
    };
    const std::vector<Samples> times = TimeInTurn(options.builds, {fit(1), fit(scale), floor});
    DetachLibrary();
    Table("scaled-fit", "A fit at a scale: the whole design drawn that many times larger",
          {"Screen", "Arch", "Scale", "Runs", "FitScreenScaled at 1 (ms)", "FitScreenScaled at the scale (ms)",
           "Scaled face copied once (ms)", "Scaled fit / scaled face copied once (IQR / median)",
           "Scaled fit / fit at 1 (IQR / median)"});
    Row("scaled-fit", {ScreenName(), ArchName(), std::to_string(scale), std::to_string(options.builds),
                       Fixed(times[0].Median(), 3), Fixed(times[1].Median(), 3), Fixed(times[2].Median(), 3),
                       RatioCell(Ratios(times[1], times[2])), RatioCell(Ratios(times[1], times[0]))});
    RatioTarget("FitScreenScaled at scale " + std::to_string(scale) + ", within " + Fixed(ScaledFitLimit, 1) +
                    " x the scaled face's pixels copied once",
                Ratios(times[1], times[2]), ScaledFitLimit);
}

// Loading a whole skin (every piece at both densities, and its colours) on 1920 x 1080, beside
// a fit to 1920 x 1080 from the design screen: both make the face anew.
void ReportSkinLoad(const Options& options)
{
    const SIZE screen = Screen();
    if (options.skin.empty() || screen.cx != 1920 || screen.cy != 1080)
        return;
    AttachLibrary(Program);
    const auto fit = [&] {
        FitScreen(DesignWidth, DesignHeight);
        Stopwatch clock;
        FitScreen(screen.cx, screen.cy);
        return clock.Milliseconds();
    };
    const auto skin = [&] {
        if (!LoadSkin(nullptr, nullptr, 0))
            Fail("cannot give the built-in art back");
        Stopwatch clock;
        if (!LoadSkin(options.skin.c_str(), nullptr, 0))
            Fail("cannot load the skin in " + options.skin);
        return clock.Milliseconds();
    };
    const std::vector<Samples> times = TimeInTurn(options.builds, {fit, skin});
    DetachLibrary();
    Table("skin-load", "A whole skin loaded, beside a fit to the same screen",
          {"Screen", "Arch", "Runs", "FitScreen from 1024 x 768 (ms)", "LoadSkin (ms)", "LoadSkin / fit (IQR / median)"});
    Row("skin-load", {ScreenName(), ArchName(), std::to_string(options.builds), Fixed(times[0].Median(), 3),
                      Fixed(times[1].Median(), 3), RatioCell(Ratios(times[1], times[0]))});
    RatioTarget("LoadSkin of a whole skin, within " + Fixed(SkinLimit, 1) + " x a fit to the same screen",
                Ratios(times[1], times[0]), SkinLimit);
}

}  // namespace

void MeasureFaceBuild(const Options& options)
{
    const WatchedAttach watched = Watch();
    ReportCopies(options, watched);
    if (!options.countsOnly) {
        ReportTimes(options, watched);
        ReportScaledFit(options);
        ReportSkinLoad(options);
    }
}
