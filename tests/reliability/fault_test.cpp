// Every creation the library asks of the system (DC, bitmap, pen, brush, font, region,
// window, timer, cursor, file, heap block) refused in turn, during each factory, paint and
// operation a host may drive: no crash, nothing left behind, and the documented result of
// the call refused: a control handed out always has its window, a paint leaves the window
// as it was, SetText says when it kept no text, a face reported drawn is whole.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <functional>
#include <string>

#include "tests/host/library_test.h"
#include "tests/support/image.h"
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

namespace {

// What a host sees of the library: the face as drawn, every query's answer, and where each
// control stands.
struct Seen {
    Image face;
    std::vector<INT32> answers;
    std::vector<RECT> places;
};

Seen Look(const Veltra& veltra, const std::vector<HWND>& windows)
{
    const SIZE screen = Screen();
    Seen seen;
    Canvas canvas(screen.cx, screen.cy, 0);
    veltra.DrawFace(canvas.dc());
    seen.face = canvas.Read();
    RECT inner = {};
    veltra.GetBgkColorSize(&inner, nullptr);
    seen.answers = {inner.left, inner.top, inner.right, inner.bottom};
    for (int code : {0, 1, 2, 3, 4, 5, 6}) {
        INT32 values[4] = {};
        veltra.GetObjectRect(code, values);
        seen.answers.insert(seen.answers.end(), values, values + 4);
    }
    for (HWND window : windows) {
        RECT rect;
        GetWindowRect(window, &rect);
        seen.places.push_back(rect);
    }
    return seen;
}

}  // namespace

// A fit to no screen, or a fit, a change of scale or a skin refused any creation it needs,
// fails and leaves the face, the queries and every control as they were, with nothing of it
// left behind; fits back and forth leave nothing once the library is gone, on the page heap.
TEST(FitRefusals, ARefusedFitChangesNothingAndFitsLeaveNothing)
{
    Veltra veltra;
    HostWindow host;
    const SIZE here = Screen();
    const SIZE other = here.cx == 1920 ? SIZE{1024, 768} : SIZE{1920, 1080};
    auto ledger = std::make_unique<Ledger>(veltra.module, Ledger::Heap::Pages);
    ledger->AcceptEarlierObjects();
    IColorButtom* button = nullptr;
    ILableControl* label = nullptr;
    ISlipControl* seek = nullptr;
    ISlipControl* seek2 = nullptr;  // prepared for the fit when the other's track is refused
    veltra.FactroyColorButtom(&button, 5, host, nullptr, 0);
    veltra.FactroyLableControl(&label, 2, host);
    veltra.FactroySlipControl(&seek, 0, host, nullptr, 0);
    veltra.FactroySlipControl(&seek2, 0, host, nullptr, 0);
    ASSERT_TRUE(button && label && seek && seek2);
    const std::vector<HWND> windows = {WindowOf(button), WindowOf(label), WindowOf(seek), WindowOf(seek2)};
    const Seen before = Look(veltra, windows);
    for (const SIZE none : {SIZE{0, 768}, SIZE{1024, 0}, SIZE{-1024, 768}, SIZE{1024, -768}})
        EXPECT_FALSE(veltra.FitScreen(none.cx, none.cy));
    // No scale, or one the screen cannot hold.
    for (const auto& [width, height, scale] : {std::array{0, 768, 1}, {1024, 768, 5}, {1024, 768, -1},
                                               {2047, 1536, 2}, {4096, 3071, 4}, {INT_MAX, INT_MAX, 4}})
        EXPECT_EQ(veltra.FitScreenScaled(width, height, scale), 0);
    EXPECT_EQ(Look(veltra, windows).answers, before.answers);
    int creations = 0;
    // At scale 4 the 2x art is enlarged and widened; a skin is read whole, then fitted.
    const std::string skin = LibraryPath("distinct_skin");
    const struct {
        const char* name;
        std::function<bool()> apply, undo;
    } changes[] = {
        {"a fit", [&] { return veltra.FitScreenScaled(other.cx, other.cy, 1) != 0; },
         [&] { return veltra.FitScreenScaled(here.cx, here.cy, 1) != 0; }},
        {"a fit at scale 4", [&] { return veltra.FitScreenScaled(4608, 3200, 4) != 0; },
         [&] { return veltra.FitScreenScaled(here.cx, here.cy, 1) != 0; }},
        {"a skin", [&] { return veltra.LoadSkin(skin.c_str(), nullptr, 0) != 0; },
         [&] { return veltra.LoadSkin(nullptr, nullptr, 0) != 0; }},
    };
    for (const auto& change : changes) {
        const int fitting = ledger->Creations();
        ASSERT_TRUE(change.apply());
        const int needed = ledger->Creations() - fitting;
        ASSERT_GT(needed, 0);
        ASSERT_TRUE(change.undo());
        const std::vector<std::string> held = ledger->Alive();  // the controls and the face
        for (int n = 1; n <= needed; ++n) {
            SCOPED_TRACE("creation " + std::to_string(n) + " refused in " + change.name);
            ledger->FailCreation(n);
            EXPECT_FALSE(change.apply());
            EXPECT_TRUE(ledger->Failed());
            ledger->FailCreation(0);
            const Seen after = Look(veltra, windows);
            EXPECT_EQ(FirstDifference(after.face, before.face), "");
            EXPECT_EQ(after.answers, before.answers);
            EXPECT_EQ(after.places, before.places);
            EXPECT_EQ(ledger->Alive(), held);
            EXPECT_EQ(ledger->Faults(), std::vector<std::string>{});
        }
        creations += needed;
    }
    ledger.reset();  // one ledger at a time: the old one unhooks as it goes
    ledger = std::make_unique<Ledger>(veltra.module, Ledger::Heap::Pages);
    ledger->AcceptEarlierObjects();
    constexpr int Fits = 500;
    for (int i = 0; i < Fits; ++i) {
        ASSERT_TRUE(veltra.FitScreen(other.cx, other.cy));
        ASSERT_TRUE(veltra.FitScreen(here.cx, here.cy));
    }
    const Seen after = Look(veltra, windows);
    EXPECT_EQ(FirstDifference(after.face, before.face), "");
    EXPECT_EQ(after.answers, before.answers);
    EXPECT_EQ(after.places, before.places);
    // A fit repaints each control once: on a screen where all four stay in the host's window.
    Pump(0);
    const int paints = ledger->Calls("EndPaint");
    ASSERT_TRUE(veltra.FitScreen(800, 600));
    Pump(0);
    EXPECT_EQ(ledger->Calls("EndPaint") - paints, 4);
    button->Destroy();
    label->Destroy();
    seek->Destroy();
    seek2->Destroy();
    veltra.Unload();
    EXPECT_EQ(ledger->Alive(), std::vector<std::string>{});
    EXPECT_EQ(ledger->Faults(), std::vector<std::string>{});
    Figure("refusals", "fit", "creations refused in turn", creations);
    Figure("fits", "back and forth", "fits", 2 * Fits);
}
