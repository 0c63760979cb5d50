// veltra_bench: what the library costs on this process's screen. The library measures the
// screen once, when it attaches, so tools/bench.sh runs this once per screen size, each on a
// screen of that size, and gathers what it prints into docs/performance.md.
//
//   veltra_bench.exe [--counts-only] [--builds N] [--calls N] [--list-fills] [--skin DIR]
//
// --counts-only leaves every time out (for emulated runs, whose times mean nothing);
// --builds and --calls set how many timed runs each median is taken from; --list-fills lists
// every fill of the face build; --skin times loading the skin in DIR.
#include <cstdlib>
#include <string>

#include "bench/bench.h"

namespace {

// The timed runs keep to one processor, the last this process may use: runs that move between
// processors scatter their times.
void Pin()
{
    DWORD_PTR process = 0, system = 0;
    if (!GetProcessAffinityMask(GetCurrentProcess(), &process, &system) || !process)
        return;
    DWORD_PTR last = process;
    while (last & (last - 1))
        last &= last - 1;  // clears the lowest processor until one is left
    SetProcessAffinityMask(GetCurrentProcess(), last);
}

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool valued = i + 1 < argc;
        if (arg == "--counts-only")
            options.countsOnly = true;
        else if (arg == "--list-fills")
            options.listFills = true;
        else if (arg == "--builds" && valued)
            options.builds = std::atoi(argv[++i]);
        else if (arg == "--calls" && valued)
            options.calls = std::atoi(argv[++i]);
        else if (arg == "--skin" && valued)
            options.skin = argv[++i];
        else
            Fail("usage: veltra_bench [--counts-only] [--builds N] [--calls N] [--list-fills] [--skin DIR]");
    }
    if (options.builds < 1 || options.calls < 1)
        Fail("--builds and --calls need at least one run");

    if (!options.countsOnly)
        Pin();
    MeasureFaceBuild(options);
    Veltra library;
    if (!library.module)
        Fail("cannot load " + LibraryPath());
    HostWindow host;
    MeasureCalls(options, library, host);
    MeasureInvalidation(library, host);
    return 0;
}
