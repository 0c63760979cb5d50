// Thousands of whole lives of each control: made, driven through every slot and message,
// painted and destroyed. Nothing may be left behind: no GDI object, DC, window or timer,
// and no heap block of the library's.
#include <gtest/gtest.h>

#include "tests/host/library_test.h"
#include "tests/reliability/drive.h"
#include "tests/reliability/figures.h"

namespace {

struct SoakCase {
    const char* name;
    bool (*exercise)(const Veltra&, HWND, UINT);
    const UINT* codes;
    size_t codeCount;
};

const SoakCase SoakCases[] = {
    {"button", ExerciseButton, ButtonCodes, std::size(ButtonCodes)},
    {"label", ExerciseLabel, LabelCodes, std::size(LabelCodes)},
    {"slip", ExerciseSlip, SlipCodes, std::size(SlipCodes)},
};

constexpr int SoakCycles = FullCounts ? 2000 : 500;

class Soak : public LibraryTest, public ::testing::WithParamInterface<SoakCase> {};

}  // namespace

TEST_P(Soak, LeavesNothingBehindCycleAfterCycle)
{
    const SoakCase& soak = GetParam();
    int made = 0, firstLeak = -1, firstFault = -1;
    for (int cycle = 0; cycle < SoakCycles; ++cycle) {
        made += soak.exercise(*veltra, *host, soak.codes[cycle % soak.codeCount]);
        Pump(0);
        // Watched every cycle, so that a leak names the cycle it began in; every cycle runs,
        // so that the figures below show what all of them left.
        if (firstLeak < 0 && !ledger->Alive().empty())
            firstLeak = cycle;
        if (firstFault < 0 && !ledger->Faults().empty())
            firstFault = cycle;
    }
    const std::string name = soak.name;
    Figure("soak", name, "cycles", SoakCycles);
    Figure("soak", name, "controls made", made);
    Figure("soak", name, "objects, DCs and windows made", ledger->MadeCount());
    Figure("soak", name, "heap blocks taken", ledger->HeapTaken());
    LeftFigures("soak", name, *ledger);
    EXPECT_EQ(firstLeak, -1) << "the first cycle that left something behind";
    EXPECT_EQ(firstFault, -1) << "the first cycle with a fault";
    // Each control is at least one heap block: the ledger sees the library's heap.
    EXPECT_GE(ledger->HeapTaken(), made);
}

INSTANTIATE_TEST_SUITE_P(EachControl, Soak, ::testing::ValuesIn(SoakCases),
                         [](const auto& info) { return std::string(info.param.name); });
