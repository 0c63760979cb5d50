// Every creation the library asks of the system (DC, bitmap, pen, brush, font, region,
// window, timer, cursor, file, heap block) refused in turn, during each factory, paint and
// operation a host may drive: no crash, nothing left behind, and the documented result of
// the call refused: a control handed out always has its window, a paint leaves the window
// as it was, SetText says when it kept no text, a face reported drawn is whole.
#include <gtest/gtest.h>

#include "tests/host/library_test.h"
#include "tests/reliability/drive.h"
#include "tests/reliability/figures.h"

namespace {

struct RefusalCase {
    const char* name;
    void (*scenario)(const Veltra&, HWND);
};

template <bool (*Exercise)(const Veltra&, HWND, UINT), UINT... Codes>
void ExerciseCodes(const Veltra& veltra, HWND parent)
{
    (Exercise(veltra, parent, Codes), ...);
}

const RefusalCase RefusalCases[] = {
    {"button", ExerciseCodes<ExerciseButton, 0, 1, 11, 13, 19, 31, 200, 300>},  // every picture size
    {"label", ExerciseCodes<ExerciseLabel, 0>},
    {"slip", ExerciseCodes<ExerciseSlip, 0, 1, 10>},
    {"face", [](const Veltra& veltra, HWND) { ExerciseFace(veltra); }},
};

class Refusals : public LibraryTest, public ::testing::WithParamInterface<RefusalCase> {};

}  // namespace

TEST_P(Refusals, EachRefusedCreationLeavesNothingBehind)
{
    const RefusalCase& refusal = GetParam();
    refusal.scenario(*veltra, *host);
    Pump(0);
    const int creations = ledger->Creations();
    ASSERT_GT(creations, 0);
    for (int n = 1; n <= creations; ++n) {
        ledger.reset();  // one ledger at a time: the old one unhooks as it goes
        ledger = std::make_unique<Ledger>(veltra->module, Ledger::Heap::Pages);
        ledger->FailCreation(n);
        refusal.scenario(*veltra, *host);
        ReleaseCapture();
        Pump(0);
        ASSERT_TRUE(ledger->Failed()) << "creation " << n << " was not asked for again";
        ASSERT_EQ(ledger->Alive(), std::vector<std::string>{}) << "creation " << n << " refused";
        ASSERT_EQ(ledger->Faults(), std::vector<std::string>{}) << "creation " << n << " refused";
    }
    Figure("refusals", refusal.name, "creations refused in turn", creations);
}

INSTANTIATE_TEST_SUITE_P(EachScenario, Refusals, ::testing::ValuesIn(RefusalCases),
                         [](const auto& info) { return std::string(info.param.name); });
