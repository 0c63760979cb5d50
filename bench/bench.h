// What the benchmark shares: its options, timing, the lines it reports, and its three groups
// of measurements.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "tests/host/host.h"

// What a run measures, from the command line.
struct Options {
    bool countsOnly = false;  // an emulated run: its times would mean nothing
    int builds = 21;          // timed face builds of each kind
    int calls = 201;          // timed calls of each kind
    bool listFills = false;   // also list every fill of the face build
    std::string skin;         // a whole skin's folder, loaded beside a fit on 1920 x 1080
};

// This process's screen and architecture, as the tables name them.
std::string ScreenName();
const char* ArchName();

// Elapsed time on the performance counter.
class Stopwatch {
public:
    Stopwatch();
    double Milliseconds() const;

private:
    LARGE_INTEGER start_;
};

// How much the process's resident memory (its working set) grows while one lives: memory
// taken afresh from the system, each page of it faulted in on first touch, less what was given
// back. Reading it takes a read of the process's status, so it brackets a Stopwatch rather
// than sitting inside one. (Wine keeps no count of page faults: PageFaultCount stays 0.)
class ResidentGrowth {
public:
    ResidentGrowth();
    double Megabytes() const;

private:
    long long start_;
};

// Repeated runs of one measure: a time in milliseconds, or a ratio or difference of two times.
struct Samples {
    std::vector<double> values;

    double Median() const;
    double Spread() const;  // interquartile range over median
};

// Runs each subject (which returns the milliseconds of what it timed) a few times untimed, to
// warm the caches and the heaps it uses, then runs times, turning the order with every run so
// that no subject always follows another. One Samples each; the nth values of all were timed
// in the same turn.
std::vector<Samples> TimeInTurn(int runs, const std::vector<std::function<double()>>& subjects);

// Turn by turn, a over b, or a less b: two Samples of one TimeInTurn, paired as they ran.
Samples Ratios(const Samples& a, const Samples& b);
Samples Differences(const Samples& a, const Samples& b);

// A ratio's median with its spread, as the tables show it: "2.39 (12 %)".
std::string RatioCell(const Samples& ratios);

// Results go out as tab-separated lines that tools/bench.sh gathers from every run into
// docs/performance.md:
//   table  id  title  column...   (the same in every run, printed once)
//   row    id  cell...
//   note   id  text               (printed once, under the table)
void Table(const char* id, const char* title, std::initializer_list<const char*> columns);
void Row(const char* id, std::initializer_list<std::string> cells);
void Note(const char* id, const std::string& text);

std::string Fixed(double value, int decimals);
std::string Percent(double share);

// The cell of a time that an emulated run does not measure.
extern const char NotTimed[];

// Every target is a row of one table: one of counts, met or missed ...
void Target(const char* target, const std::string& figure, bool met);
// ... or one of a ratio of times, run by run, which must stay within limit. Its verdict is
// "inconclusive" when the ratios scatter more than SpreadLimit (IQR over median), whatever
// their median says.
constexpr double SpreadLimit = 0.10;
void RatioTarget(const std::string& target, const Samples& ratios, double limit);

// Stops the benchmark when something it needs cannot be made.
[[noreturn]] void Fail(const std::string& what);

// Owner of a GDI object that outlives one scope, e.g. in a vector.
struct DeleteGdiObject {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using OwnedBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, DeleteGdiObject>;

// The controls, made by the DLL's factories as a host makes them, with no callback: the play
// button (type 2); the first label (type 0) showing a short text; the seek slip (type 0)
// with the range 0 to 1000. The benchmark stops when one cannot be made.
IColorButtom* MakeButton(const Veltra& library, HWND host);
ILableControl* MakeLabel(const Veltra& library, HWND host);
ISlipControl* MakeSlip(const Veltra& library, HWND host);

// The face build at attach, with the library's code linked into this program.
void MeasureFaceBuild(const Options& options);

// The single calls that the library's paths are made of; then DrawFace, GetObjectRect(20) and
// each control's repaint, through the DLL, beside plain copies of as many pixels.
void MeasureCalls(const Options& options, const Veltra& library, HWND host);

// What a slip drag step invalidates and what a label blink tick copies and reads, through
// the DLL.
void MeasureInvalidation(const Veltra& library, HWND host);
