// Seeded storms at each kind of control: messages (mouse messages inside, outside and at
// negative and extreme coordinates, false capture and focus changes, timers with any
// identifier, commands as the edit box sends them), calls of its slots, and steps of the
// host (capture taken and released, focus moved, a repaint), with destruction from inside
// the control's own notification. After every step the control's invariants hold; at the
// end nothing is left behind. A failure names its seed; VELTRA_STORM_SEED=<seed> runs that
// seed alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <random>
#include <sstream>

#include "tests/host/library_test.h"
#include "tests/reliability/drive.h"
#include "tests/reliability/figures.h"

namespace {

constexpr int StepsPerSeed = FullCounts ? 60000 : 20000;
constexpr int SeedsPerControl = FullCounts ? 6 : 2;

// The int of these 32 bits in two's complement, without C++17's implementation-defined
// conversion.
int AsInt(uint32_t bits)
{
    return bits <= INT_MAX ? static_cast<int>(bits) : -static_cast<int>(~bits) - 1;
}

// The random source: std::mt19937 gives the same numbers on every platform, and the
// reductions below are our own, so a seed replays exactly anywhere. Arguments are drawn
// into named locals, one statement each: the order in which a call's arguments are
// evaluated is the compiler's.
class Dice {
public:
    explicit Dice(uint32_t seed) : engine_(seed) {}
    int Below(int n) { return static_cast<int>(engine_() % static_cast<uint32_t>(n)); }
    bool OneIn(int n) { return Below(n) == 0; }
    uint32_t Any() { return engine_(); }
    int AnyInt() { return AsInt(engine_()); }
    template <typename T, size_t N>
    T Pick(const T (&values)[N]) { return values[Below(static_cast<int>(N))]; }

private:
    std::mt19937 engine_;
};

const int ExtremeCoordinates[] = {SHRT_MIN, -1, 0, 1, SHRT_MAX};
const WPARAM KeyStates[] = {0, MK_LBUTTON, MK_RBUTTON, MK_LBUTTON | MK_SHIFT, MK_LBUTTON | MK_CONTROL, MK_SHIFT};
const UINT MouseMessages[] = {WM_MOUSEMOVE, WM_MOUSEMOVE, WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP,
                              WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_RBUTTONUP, WM_MOUSELEAVE, WM_SETCURSOR};
const struct {
    UINT msg;
    const char* name;
} MessageNames[] = {
    {WM_MOUSEMOVE, "WM_MOUSEMOVE"}, {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"}, {WM_LBUTTONUP, "WM_LBUTTONUP"},
    {WM_LBUTTONDBLCLK, "WM_LBUTTONDBLCLK"}, {WM_RBUTTONDOWN, "WM_RBUTTONDOWN"}, {WM_RBUTTONUP, "WM_RBUTTONUP"},
    {WM_MOUSELEAVE, "WM_MOUSELEAVE"}, {WM_SETCURSOR, "WM_SETCURSOR"}, {WM_CAPTURECHANGED, "WM_CAPTURECHANGED"},
    {WM_SETFOCUS, "WM_SETFOCUS"}, {WM_KILLFOCUS, "WM_KILLFOCUS"}, {WM_TIMER, "WM_TIMER"}, {WM_COMMAND, "WM_COMMAND"},
};

const char* MessageName(UINT msg)
{
    for (const auto& known : MessageNames)
        if (known.msg == msg)
            return known.name;
    return "message";
}

const WORD EditNotifications[] = {EN_CHANGE, EN_KILLFOCUS, EN_SETFOCUS, EN_UPDATE, 0, 0xFFFF};

// A mouse message's point as the system packs it: each coordinate's low 16 bits, taken by
// unsigned conversion, so that a negative one needs no signed arithmetic.
LPARAM PointParam(int x, int y)
{
    const auto low = static_cast<uint16_t>(x), high = static_cast<uint16_t>(y);
    return static_cast<LPARAM>(static_cast<DWORD>(high) << 16 | low);
}

// A point inside the window, just outside it, at negative coordinates or at the extremes
// a 16-bit coordinate can carry; x drawn before y.
LPARAM AnyPoint(Dice& dice, HWND window)
{
    RECT client = {};
    GetClientRect(window, &client);
    const int width = client.right + 1, height = client.bottom + 1;
    int x = 0, y = 0;
    switch (dice.Below(4)) {
    case 0: x = dice.Below(width); y = dice.Below(height); break;
    case 1: x = width + dice.Below(40); y = dice.Below(height + 40); break;
    case 2: x = -1 - dice.Below(60); y = -dice.Below(height + 60); break;
    default: x = dice.Pick(ExtremeCoordinates); y = dice.Pick(ExtremeCoordinates); break;
    }
    return PointParam(x, y);
}

// What a storm did: messages sent to the control, calls of its slots, and steps of the
// host's own.
struct Tally {
    long long messages = 0, slotCalls = 0, hostSteps = 0;

    Tally& operator+=(const Tally& more)
    {
        messages += more.messages;
        slotCalls += more.slotCalls;
        hostSteps += more.hostSteps;
        return *this;
    }
};

// What each kind of control must keep true, and how a storm makes and drives it.
class Storm {
public:
    Storm(const Veltra& veltra, HWND parent, uint32_t seed) : veltra_(veltra), parent_(parent), dice_(seed) {}
    virtual ~Storm() = default;

    // Runs steps and returns the first broken invariant, or an empty string.
    std::string Run(int steps)
    {
        std::string broken;
        for (step_ = 0; step_ < steps && broken.empty(); ++step_) {
            if (!Alive())
                Make();
            if (!Alive()) {
                broken = "the factory made nothing";
                break;
            }
            const UINT sent = Step();
            broken = Check(sent);
            if (step_ % 64 == 0)
                PumpAllButTimers();
        }
        Release();
        if (broken.empty())
            return broken;
        std::string failure = "step " + std::to_string(step_ - 1) + ": " + broken + "; the last steps:";
        for (const std::string& line : recent_)
            failure += "\n  " + line;
        return failure;
    }

    // A notification from the control: the storm may destroy it there, as a host may.
    void OnNotify()
    {
        if (destroyArmed_) {
            destroyArmed_ = false;
            Destroy();
        }
    }

    Tally tally;

protected:
    virtual void Make() = 0;
    virtual HWND Window() const = 0;
    virtual void Destroy() = 0;
    // Calls one of the control's own slots, chosen at random, and names it.
    virtual const char* CallSlot() = 0;
    virtual std::string CheckControl() { return {}; }

    bool Alive() const { return Window() != nullptr; }

    // Whether the next notification destroys the control.
    bool destroyArmed_ = false;

    const Veltra& veltra_;
    HWND parent_;
    Dice dice_;
    int step_ = 0;
    std::deque<std::string> recent_;

private:
    // The last steps, for the report of a failure.
    void Note(const char* what, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        char line[96];
        std::snprintf(line, sizeof line, "%d: %s %#llx %#llx", step_, what, static_cast<unsigned long long>(wParam),
                      static_cast<unsigned long long>(lParam));
        recent_.push_back(line);
        if (recent_.size() > 12)
            recent_.pop_front();
    }

    UINT Step()
    {
        const HWND window = Window();
        destroyArmed_ = dice_.OneIn(200);
        switch (dice_.Below(16)) {
        case 0: case 1: case 2:
            ++tally.slotCalls;
            Note(CallSlot());
            return 0;
        // The host captures for itself, never for a control: a control found holding the
        // capture took it.
        case 3: HostStep("the host takes the capture"); SetCapture(parent_); return 0;
        case 4: HostStep("the capture is released"); ReleaseCapture(); return 0;
        case 5: {
            const bool toControl = dice_.OneIn(2);
            HostStep(toControl ? "focus to the control" : "focus to the host");
            SetFocus(toControl ? window : parent_);
            return 0;
        }
        case 6: {
            const UINT msg = dice_.Pick({WM_CAPTURECHANGED, WM_SETFOCUS, WM_KILLFOCUS});
            const HWND other = dice_.OneIn(2) ? parent_ : nullptr;
            return Send(window, msg, 0, reinterpret_cast<LPARAM>(other));
        }
        case 7: {
            const UINT_PTR small = dice_.Below(1000);
            const UINT_PTR any = dice_.Any();
            const UINT_PTR ids[] = {0, 1, 2, 100, 101, small, any};
            const UINT_PTR id = dice_.Pick(ids);
            return Send(window, WM_TIMER, id, 0);
        }
        case 8: return SendCommand(window);
        case 9: HostStep("paint"); PaintNow(window); return WM_PAINT;
        default: {
            const UINT msg = dice_.Pick(MouseMessages);
            if (msg == WM_SETCURSOR)
                return Send(window, msg, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
            const WPARAM keys = dice_.Pick(KeyStates);
            const LPARAM point = AnyPoint(dice_, window);
            return Send(window, msg, keys, point);
        }
        }
    }

    void HostStep(const char* what)
    {
        ++tally.hostSteps;
        Note(what);
    }

    UINT Send(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        ++tally.messages;
        Note(MessageName(msg), wParam, lParam);
        SendMessageA(window, msg, wParam, lParam);
        return msg;
    }

    // Commands as the slip's edit box sends them, and as a confused sender might.
    UINT SendCommand(HWND window)
    {
        const HWND box = ChildOfClass(window, "Edit");
        if (box && dice_.OneIn(2)) {
            const int typed = dice_.AnyInt() % 2000;
            SetWindowTextA(box, std::to_string(typed).c_str());
        }
        const bool fromBox = box && dice_.OneIn(2);
        const WORD id = fromBox ? static_cast<WORD>(GetDlgCtrlID(box)) : static_cast<WORD>(dice_.Below(4));
        const HWND from = dice_.Pick({box, window, static_cast<HWND>(nullptr)});
        const WORD notification = dice_.Pick(EditNotifications);
        return Send(window, WM_COMMAND, MAKEWPARAM(id, notification), reinterpret_cast<LPARAM>(from));
    }

    std::string Check(UINT sent)
    {
        if (!Alive())
            return {};
        const HWND window = Window();
        // Only the left button captures; an open edit box holds the capture until it closes.
        if (sent == WM_LBUTTONUP && GetCapture() == window && !ChildOfClass(window, "Edit"))
            return "the control kept the capture after a release";
        return CheckControl();
    }

    // Timers fire by the clock: leaving them out keeps a seed's replay exact.
    static void PumpAllButTimers()
    {
        MSG msg;
        for (const auto& [first, last] : {std::pair<UINT, UINT>{0, WM_TIMER - 1}, {WM_TIMER + 1, 0xFFFFFFFF}})
            while (PeekMessageA(&msg, nullptr, first, last, PM_REMOVE))
                DispatchMessageA(&msg);
    }

    void Release()
    {
        ReleaseCapture();
        if (Alive())
            Destroy();
        PumpAllButTimers();
    }
};

Storm* current = nullptr;

class ButtonStorm : public Storm {
public:
    using Storm::Storm;

private:
    static void WINAPI Notify(int, int, WPARAM, INT_PTR) { current->OnNotify(); }

    void Make() override
    {
        veltra_.FactroyColorButtom(&button_, ButtonCodes[dice_.Below(5)], parent_, Notify, 0);
        if (button_)
            button_->SetHoverCursor(LoadCursorA(nullptr, IDC_HAND));
    }
    HWND Window() const override { return button_ ? WindowOf(button_) : nullptr; }
    void Destroy() override
    {
        button_->Destroy();
        button_ = nullptr;
    }
    const char* CallSlot() override
    {
        switch (dice_.Below(5)) {
        case 0: button_->SetState(dice_.Below(5) - 1); return "SetState";
        case 1: button_->SetDot(dice_.Below(2)); return "SetDot";
        case 2: button_->SetAutoRepeat(dice_.Below(2)); return "SetAutoRepeat";
        case 3: {
            const int x = dice_.Below(300);
            const int y = dice_.Below(300);
            button_->MoveTo(x, y);
            return "MoveTo";
        }
        default: button_->GetState(); return "GetState";
        }
    }
    std::string CheckControl() override
    {
        const int frame = button_->GetState();
        return frame >= VELTRA_FRAME_NORMAL && frame <= VELTRA_FRAME_PRESSED ? "" : "frame " + std::to_string(frame);
    }

    IColorButtom* button_ = nullptr;
};

class SlipStorm : public Storm {
public:
    using Storm::Storm;

private:
    static void WINAPI Notify(int, INT_PTR, int) { current->OnNotify(); }

    void Make() override
    {
        veltra_.FactroySlipControl(&slip_, SlipCodes[dice_.Below(3)], parent_, Notify, 0);
        ranged_ = valued_ = false;
    }
    HWND Window() const override { return slip_ ? WindowOf(slip_) : nullptr; }
    void Destroy() override
    {
        slip_->Destroy();
        slip_ = nullptr;
    }
    const char* CallSlot() override
    {
        static const int Limits[] = {INT_MIN, -1000, -1, 0, 1, 100, 1000, INT_MAX};
        switch (dice_.Below(8)) {
        case 0: {
            minimum_ = dice_.Pick(Limits);
            if (dice_.OneIn(4)) {
                maximum_ = dice_.Pick(Limits);
            } else {
                // Up to 2000 above the minimum, and no further than INT_MAX.
                const int span = dice_.Below(2000);
                maximum_ = static_cast<int>(std::min<long long>(INT_MAX, static_cast<long long>(minimum_) + span));
            }
            if (maximum_ < minimum_ && !dice_.OneIn(8))
                std::swap(minimum_, maximum_);
            slip_->SetRange(minimum_, maximum_);
            ranged_ = true;
            valued_ = false;
            return "SetRange";
        }
        case 1: {
            // Any 32 bits, or up to 2000 above the minimum: the slot takes a UINT, and
            // unsigned sums wrap as the bits would.
            const UINT value = dice_.OneIn(3) ? dice_.Any() : static_cast<UINT>(minimum_) + dice_.Below(2000);
            slip_->SetValue(value);
            valued_ = ranged_;
            return "SetValue";
        }
        case 2: slip_->ShowValue(dice_.Below(2)); return "ShowValue";
        case 3: slip_->SetValueColor(dice_.Any() & 0xFFFFFF); return "SetValueColor";
        case 4: slip_->ClearMarkers(dice_.Below(4)); return "ClearMarkers";
        case 5: slip_->SetStartMarker(dice_.Any()); return "SetStartMarker";
        case 6: slip_->SetEndMarker(dice_.Any()); return "SetEndMarker";
        default: slip_->GetStartMarker(); slip_->GetEndMarker(); return "GetStartMarker, GetEndMarker";
        }
    }
    std::string CheckControl() override
    {
        if (!ranged_ || !valued_ || minimum_ > maximum_)
            return {};
        const int value = slip_->GetValue();
        if (value >= minimum_ && value <= maximum_)
            return {};
        std::ostringstream broken;
        broken << "value " << value << " outside " << minimum_ << ".." << maximum_;
        return broken.str();
    }

    ISlipControl* slip_ = nullptr;
    bool ranged_ = false, valued_ = false;
    int minimum_ = 0, maximum_ = 0;
};

// Labels tell their parent of a click with WM_NOTIFY: the storm's own parent window hears
// it and may destroy the label there.
class LabelStorm : public Storm {
public:
    LabelStorm(const Veltra& veltra, HWND host, uint32_t seed) : Storm(veltra, MakeParent(host), seed) {}
    ~LabelStorm() override { DestroyWindow(parent_); }

private:
    static LRESULT CALLBACK ParentProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        if (msg == WM_NOTIFY && current)
            current->OnNotify();
        return DefWindowProcA(window, msg, wParam, lParam);
    }

    static HWND MakeParent(HWND host)
    {
        WNDCLASSA parentClass = {};
        parentClass.lpfnWndProc = ParentProc;
        parentClass.hInstance = GetModuleHandleA(nullptr);
        parentClass.lpszClassName = "VeltraStormParent";
        RegisterClassA(&parentClass);
        return CreateWindowA("VeltraStormParent", "", WS_CHILD | WS_VISIBLE, 0, 0, 600, 400, host, nullptr,
                             parentClass.hInstance, nullptr);
    }

    void Make() override
    {
        veltra_.FactroyLableControl(&label_, LabelCodes[dice_.Below(3)], parent_);
        if (label_)
            MoveWindow(WindowOf(label_), 20, 20, 120, 30, TRUE);
    }
    HWND Window() const override { return label_ ? WindowOf(label_) : nullptr; }
    void Destroy() override
    {
        label_->Destroy();
        label_ = nullptr;
    }
    const char* CallSlot() override
    {
        static const char* const Texts[] = {"", "Storm", "a somewhat longer text than fits", nullptr};
        static const char* const Faces[] = {"Arial", "", nullptr, "No Such Face At All In This System Whatsoever"};
        switch (dice_.Below(9)) {
        case 0: {
            const char* text = dice_.Pick(Texts);
            label_->SetText(text);
            const char* now = label_->GetText();
            if (text && (!now || std::string(now) != text))
                textBroken_ = true;
            return "SetText";
        }
        case 1: {
            const char* face = dice_.Pick(Faces);
            const int points = dice_.Below(60) - 10;
            label_->SetFont(face, points);
            return "SetFont";
        }
        case 2: {
            const int degrees = dice_.AnyInt();
            const BOOL rotated = dice_.Below(2);
            label_->SetTextAngle(degrees, rotated);
            return "SetTextAngle";
        }
        case 3: {
            const DWORD value = dice_.Any();
            const DWORD mask = dice_.Any();
            label_->SetFlags(value, mask);
            return "SetFlags";
        }
        case 4: {
            const BOOL notifyStyle = dice_.Below(2);
            const BOOL silentClick = dice_.Below(2);
            label_->SetClickMode(notifyStyle, silentClick);
            return "SetClickMode";
        }
        case 5: {
            const BOOL enable = dice_.Below(2);
            const BOOL downRight = dice_.Below(2);
            label_->SetHighlight(enable, downRight);
            return "SetHighlight";
        }
        case 6: label_->RefreshBackground(); return "RefreshBackground";
        case 7: label_->SetBackColor(dice_.Any() & 0xFFFFFF); return "SetBackColor";
        default: label_->SetForeColor(dice_.Any() & 0xFFFFFF); return "SetForeColor";
        }
    }
    std::string CheckControl() override { return textBroken_ ? "GetText differs from what SetText gave" : ""; }

    ILableControl* label_ = nullptr;
    bool textBroken_ = false;
};

struct StormCase {
    const char* name;
    uint32_t firstSeed;
    Storm* (*make)(const Veltra&, HWND, uint32_t);
};

template <typename Kind>
Storm* MakeStorm(const Veltra& veltra, HWND host, uint32_t seed)
{
    return new Kind(veltra, host, seed);
}

const StormCase StormCases[] = {
    {"button", 1000, MakeStorm<ButtonStorm>},
    {"label", 2000, MakeStorm<LabelStorm>},
    {"slip", 3000, MakeStorm<SlipStorm>},
};

class Storms : public LibraryTest, public ::testing::WithParamInterface<StormCase> {};

}  // namespace

TEST_P(Storms, KeepTheInvariantsAndLeaveNothing)
{
    const StormCase& storm = GetParam();
    std::vector<uint32_t> seeds;
    if (const char* only = std::getenv("VELTRA_STORM_SEED"))
        seeds.push_back(static_cast<uint32_t>(std::strtoul(only, nullptr, 10)));
    else
        for (int i = 0; i < SeedsPerControl; ++i)
            seeds.push_back(storm.firstSeed + i);
    Tally tally;
    std::string failures;
    size_t left = 0;
    for (uint32_t seed : seeds) {
        std::unique_ptr<Storm> run(storm.make(*veltra, *host, seed));
        current = run.get();
        const std::string broken = run->Run(StepsPerSeed);
        tally += run->tally;
        run.reset();
        current = nullptr;
        const std::string replay = "\nseed " + std::to_string(seed) + " (VELTRA_STORM_SEED=" + std::to_string(seed) +
                                   " replays it): ";
        if (!broken.empty())
            failures += replay + broken;
        // Every seed runs, so that the figures below count what all of them left.
        const size_t alive = ledger->Alive().size();
        if (alive > left)
            failures += replay + std::to_string(alive - left) + " more objects, windows, timers or blocks left";
        left = alive;
    }
    Figure("storm", storm.name, "seeds", static_cast<long long>(seeds.size()));
    Figure("storm", storm.name, "messages sent", tally.messages);
    Figure("storm", storm.name, "slot calls", tally.slotCalls);
    Figure("storm", storm.name, "host steps", tally.hostSteps);
    LeftFigures("storm", storm.name, *ledger);
    EXPECT_EQ(failures, "");
}

INSTANTIATE_TEST_SUITE_P(EachControl, Storms, ::testing::ValuesIn(StormCases),
                         [](const auto& info) { return std::string(info.param.name); });
