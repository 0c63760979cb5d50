#include "bench/bench.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include <psapi.h>

namespace {

// Untimed turns of every subject before the timed ones.
constexpr int WarmUpTurns = 3;

// The value at fraction p of the sorted samples, between neighbours where it falls between.
double Quantile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const double at = p * (values.size() - 1);
    const size_t below = static_cast<size_t>(at);
    const size_t above = std::min(below + 1, values.size() - 1);
    return values[below] + (values[above] - values[below]) * (at - below);
}

void Line(const char* kind, const char* id, std::initializer_list<std::string> fields)
{
    std::string line = std::string(kind) + "\t" + id;
    for (const std::string& field : fields)
        line += "\t" + field;
    std::puts(line.c_str());
}

void TargetRow(const std::string& target, const std::string& figure, const char* verdict)
{
    Table("targets", "Every target, run by run", {"Target", "Screen", "Arch", "Figure", "Verdict"});
    Row("targets", {target, ScreenName(), ArchName(), figure, verdict});
}

const char* Verdict(bool met)
{
    return met ? "met" : "**missed**";
}

// The process's resident memory (working set) in bytes, -1 when it cannot be read.
long long ResidentBytes()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return -1;
    return static_cast<long long>(counters.WorkingSetSize);
}

}  // namespace

const char NotTimed[] = "-";

std::string ScreenName()
{
    return std::to_string(GetSystemMetrics(SM_CXSCREEN)) + "x" + std::to_string(GetSystemMetrics(SM_CYSCREEN));
}

const char* ArchName()
{
    return sizeof(void*) == 8 ? "x86_64" : "i686";
}

Stopwatch::Stopwatch()
{
    QueryPerformanceCounter(&start_);
}

double Stopwatch::Milliseconds() const
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart - start_.QuadPart) / static_cast<double>(frequency.QuadPart);
}

ResidentGrowth::ResidentGrowth() : start_(ResidentBytes()) {}

double ResidentGrowth::Megabytes() const
{
    const long long now = ResidentBytes();
    return now < 0 || start_ < 0 ? 0.0 : static_cast<double>(now - start_) / (1024.0 * 1024.0);
}

double Samples::Median() const
{
    return Quantile(values, 0.5);
}

double Samples::Spread() const
{
    const double median = Median();
    return median != 0.0 ? (Quantile(values, 0.75) - Quantile(values, 0.25)) / std::abs(median) : 0.0;
}

std::vector<Samples> TimeInTurn(int runs, const std::vector<std::function<double()>>& subjects)
{
    std::vector<Samples> samples(subjects.size());
    for (int run = -WarmUpTurns; run < runs; ++run)
        for (size_t k = 0; k < subjects.size(); ++k) {
            const size_t subject = (run + WarmUpTurns + k) % subjects.size();
            const double ms = subjects[subject]();
            if (run >= 0)
                samples[subject].values.push_back(ms);
        }
    return samples;
}

Samples Ratios(const Samples& a, const Samples& b)
{
    Samples ratios;
    for (size_t run = 0; run < a.values.size() && run < b.values.size(); ++run)
        ratios.values.push_back(a.values[run] / b.values[run]);
    return ratios;
}

Samples Differences(const Samples& a, const Samples& b)
{
    Samples differences;
    for (size_t run = 0; run < a.values.size() && run < b.values.size(); ++run)
        differences.values.push_back(a.values[run] - b.values[run]);
    return differences;
}

std::string RatioCell(const Samples& ratios)
{
    return Fixed(ratios.Median(), 2) + " (" + Percent(ratios.Spread()) + ")";
}

void Table(const char* id, const char* title, std::initializer_list<const char*> columns)
{
    std::string line = std::string("table\t") + id + "\t" + title;
    for (const char* column : columns)
        line += std::string("\t") + column;
    std::puts(line.c_str());
}

void Row(const char* id, std::initializer_list<std::string> cells)
{
    Line("row", id, cells);
}

void Note(const char* id, const std::string& text)
{
    Line("note", id, {text});
}

std::string Fixed(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string Percent(double share)
{
    return Fixed(100.0 * share, std::abs(share) < 0.1 ? 1 : 0) + " %";
}

void Target(const char* target, const std::string& figure, bool met)
{
    TargetRow(target, figure, Verdict(met));
}

void RatioTarget(const std::string& target, const Samples& ratios, double limit)
{
    const double ratio = ratios.Median(), spread = ratios.Spread();
    TargetRow(target, Fixed(ratio, 2) + " x, IQR / median " + Percent(spread),
              spread > SpreadLimit ? "inconclusive" : Verdict(ratio <= limit));
}

void Fail(const std::string& what)
{
    std::fprintf(stderr, "veltra_bench: %s\n", what.c_str());
    std::exit(1);
}

IColorButtom* MakeButton(const Veltra& library, HWND host)
{
    IColorButtom* button = nullptr;
    library.FactroyColorButtom(&button, 2, host, nullptr, 0);
    if (!button)
        Fail("the factory made no colour button");
    return button;
}

ILableControl* MakeLabel(const Veltra& library, HWND host)
{
    ILableControl* label = nullptr;
    library.FactroyLableControl(&label, 0, host);
    if (!label)
        Fail("the factory made no label");
    label->SetText("12");
    return label;
}

ISlipControl* MakeSlip(const Veltra& library, HWND host)
{
    ISlipControl* slip = nullptr;
    library.FactroySlipControl(&slip, 0, host, nullptr, 0);
    if (!slip)
        Fail("the factory made no slip");
    slip->SetRange(0, 1000);
    return slip;
}
