// A suite of tests that share one loaded library and one host window (a top-level window
// takes Wine a while to make and take down), each test with a ledger of its own that
// must end clean.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tests/host/host.h"
#include "tests/support/ledger.h"

class LibraryTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        veltra = new Veltra;
        host = new HostWindow;
    }

    static void TearDownTestSuite()
    {
        delete host;
        delete veltra;
        host = nullptr;
        veltra = nullptr;
    }

    // Over the page heap: a touch of memory the library freed, or past a block it took,
    // faults at once.
    void SetUp() override { ledger = std::make_unique<Ledger>(veltra->module, Ledger::Heap::Pages); }

    void TearDown() override
    {
        DestroyControls();
        EXPECT_EQ(ledger->Alive(), std::vector<std::string>{});
        EXPECT_EQ(ledger->Faults(), std::vector<std::string>{});
        ledger.reset();
    }

    // Destroys what the test made and left, before the ledger is read.
    virtual void DestroyControls() {}

    static inline Veltra* veltra = nullptr;
    static inline HostWindow* host = nullptr;
    std::unique_ptr<Ledger> ledger;
};

// A suite about one kind of control: what a test makes is destroyed after it, as a host
// would, before the ledger is read.
template <typename Control>
class ControlTest : public LibraryTest {
protected:
    void DestroyControls() override
    {
        for (Control* control : made)
            if (IsWindow(WindowOf(control)))
                control->Destroy();
        made.clear();
    }

    Control* Keep(Control* control)
    {
        if (control)
            made.push_back(control);
        return control;
    }

    // The host destroys victim from inside its callback, at the first notification whose
    // code is destroyOn.
    static void DestroyVictimOn(int code)
    {
        if (code == destroyOn && victim)
            std::exchange(victim, nullptr)->Destroy();
    }

    std::vector<Control*> made;
    static inline Control* victim = nullptr;
    static inline int destroyOn = -1;
};
