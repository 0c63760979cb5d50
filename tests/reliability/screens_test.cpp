// Every control of every type code, and every query, on whatever screen this process
// has: the smallest and largest screens a host may meet, and screens smaller than the
// design in one direction only. Each is made, driven, painted and destroyed, leaving
// nothing behind.
#include <gtest/gtest.h>

#include "tests/host/library_test.h"
#include "tests/reliability/drive.h"

namespace {

struct Kind {
    const char* name;
    bool (*exercise)(const Veltra&, HWND, UINT);
    int known;  // codes the factory makes
};

const Kind Kinds[] = {{"button", ExerciseButton, 42}, {"label", ExerciseLabel, 6}, {"slip", ExerciseSlip, 3}};

class AnyScreen : public LibraryTest, public ::testing::WithParamInterface<Kind> {};
class AnyScreenFace : public LibraryTest {};

}  // namespace

TEST_P(AnyScreen, EveryTypeCodeIsMadeDrivenAndDestroyed)
{
    int made = 0;
    for (UINT code = 0; code < 400; ++code)
        made += GetParam().exercise(*veltra, *host, code);
    EXPECT_EQ(made, GetParam().known);
}

INSTANTIATE_TEST_SUITE_P(EachControl, AnyScreen, ::testing::ValuesIn(Kinds),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(AnyScreenFace, TheFaceAndEveryQueryLeaveNothing)
{
    EXPECT_TRUE(ExerciseFace(*veltra));
}
