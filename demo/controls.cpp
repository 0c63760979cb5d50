// The library's controls in the demo: every colour button, the six labels and the three
// sliders, and what the demo does when the user works them.
#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <deque>
#include <initializer_list>
#include <string>
#include <vector>

#include "demo/demo.h"

namespace {

struct Button {
    UINT code;
    IColorButtom* control;
};

HWND mainWindow = nullptr;
std::vector<Button> buttons;
ILableControl* labels[6] = {};
int labelValues[6] = {9, 5, 0, -3, 7, 10};  // equaliser bands, in dB
ISlipControl* seek = nullptr;
ISlipControl* volume = nullptr;
ISlipControl* balance = nullptr;
std::deque<std::string> eventLog;

constexpr UINT FirstTab = 200;
constexpr UINT LastTab = 207;
constexpr UINT SpeakerOn = 11;  // latched while the sound is on
constexpr UINT VolumeDown = 9;
constexpr UINT VolumeUp = 10;
constexpr UINT FirstBandKey = 19;  // 19 and 20 lower and raise band 0, 21 and 22 band 1 ...
constexpr UINT LastBandKey = 30;
constexpr size_t EventLogLines = 16;

IColorButtom* ButtonOf(UINT code)
{
    for (const Button& button : buttons)
        if (button.code == code)
            return button.control;
    return nullptr;
}

// What a screen reader calls a control, where the demo gives it a meaning of its own.
void Name(void* control, const char* format, ...)
{
    if (!control || !skin.SetAccessibleName)
        return;
    char name[64];
    va_list args;
    va_start(args, format);
    std::vsnprintf(name, sizeof name, format, args);
    va_end(args);
    skin.SetAccessibleName(control, name);
}

// What a key that latches is to a screen reader: a check button or one of a group of tabs.
void Declare(IColorButtom* button, int kind)
{
    if (button && skin.SetAccessibleOption)
        skin.SetAccessibleOption(button, VELTRA_ACCESS_BUTTON_KIND, kind);
}

void LatchTab(UINT chosen)
{
    for (UINT tab = FirstTab; tab <= LastTab; ++tab)
        if (IColorButtom* button = ButtonOf(tab))
            button->SetState(tab == chosen ? VELTRA_FRAME_PRESSED : VELTRA_FRAME_NORMAL);
}

void ShowBand(int band)
{
    char text[8];
    std::snprintf(text, sizeof text, "%d", labelValues[band]);
    if (labels[band])
        labels[band]->SetText(text);
}

void AdjustVolume(int step)
{
    if (volume)
        volume->SetValue(static_cast<UINT>(std::max(0, std::min(100, volume->GetValue() + step))));
}

const char* EventName(int code)
{
    switch (code) {
    case VELTRA_BUTTON_PRESSED: return "pressed";
    case VELTRA_BUTTON_RELEASED: return "released";
    case VELTRA_BUTTON_RIGHT_PRESSED: return "right-pressed";
    case VELTRA_BUTTON_REPEAT: return "repeats";
    default: return "?";
    }
}

void WINAPI OnButton(int id, int code, WPARAM, INT_PTR)
{
    const UINT which = static_cast<UINT>(id);
    LogEvent("Button %d %s", id, EventName(code));
    if (which == VolumeDown || which == VolumeUp) {
        if (code == VELTRA_BUTTON_PRESSED)
            ButtonOf(which)->SetAutoRepeat(TRUE);
        else if (code == VELTRA_BUTTON_RELEASED)
            ButtonOf(which)->SetAutoRepeat(FALSE);
        if (code == VELTRA_BUTTON_PRESSED || code == VELTRA_BUTTON_REPEAT)
            AdjustVolume(which == VolumeUp ? 5 : -5);
    }
    if (which >= FirstTab && which <= LastTab && code == VELTRA_BUTTON_RELEASED)
        LatchTab(which);
    if (which == SpeakerOn && code == VELTRA_BUTTON_RELEASED) {
        IColorButtom* speaker = ButtonOf(SpeakerOn);
        const bool on = speaker->GetState() != VELTRA_FRAME_PRESSED;
        speaker->SetState(on ? VELTRA_FRAME_PRESSED : VELTRA_FRAME_NORMAL);
        LogEvent(on ? "Sound on" : "Sound off");
    }
    if (which >= FirstBandKey && which <= LastBandKey && code == VELTRA_BUTTON_RELEASED) {
        const int band = static_cast<int>(which - FirstBandKey) / 2;
        const bool raise = (which - FirstBandKey) % 2 == 1;
        labelValues[band] = std::max(-12, std::min(12, labelValues[band] + (raise ? 1 : -1)));
        ShowBand(band);
    }
}

void WINAPI OnSlip(int id, INT_PTR, int code)
{
    const char* name = id == 0 ? "Seek" : id == 1 ? "Volume" : "Balance";
    ISlipControl* slip = id == 0 ? seek : id == 1 ? volume : balance;
    if (code == VELTRA_SLIP_RIGHT_CLICK)
        LogEvent("%s right-clicked", name);
    else if (id == 0)
        LogEvent("Seek at %d, A-B from %d to %d", slip->GetValue(), slip->GetStartMarker(), slip->GetEndMarker());
    else
        LogEvent("%s at %d%s", name, slip->GetValue(), code == VELTRA_SLIP_DRAG_ENDED ? " (released)" : "");
}

ISlipControl* MakeSlip(UINT type, int maximum, int value)
{
    ISlipControl* slip = nullptr;
    skin.FactroySlipControl(&slip, type, mainWindow, OnSlip, 0);
    if (slip) {
        slip->SetRange(0, maximum);
        slip->SetValue(static_cast<UINT>(value));
    }
    return slip;
}

void CreateButtons()
{
    std::vector<UINT> codes;
    for (UINT code = 0; code <= 31; ++code)
        codes.push_back(code);
    for (UINT code = FirstTab; code <= LastTab; ++code)
        codes.push_back(code);
    for (UINT code : {300u, 301u})  // two small keys that share one place
        codes.push_back(code);
    for (UINT code : codes) {
        IColorButtom* button = nullptr;
        skin.FactroyColorButtom(&button, code, mainWindow, OnButton, 0);
        if (button)
            buttons.push_back({code, button});
    }
    for (UINT code = FirstBandKey; code <= LastBandKey; ++code) {
        const bool raise = (code - FirstBandKey) % 2 == 1;
        Name(ButtonOf(code), "%s band %u", raise ? "Raise" : "Lower", (code - FirstBandKey) / 2 + 1);
    }
    for (UINT tab = FirstTab; tab <= LastTab; ++tab)
        Declare(ButtonOf(tab), VELTRA_BUTTON_KIND_TAB);
    Declare(ButtonOf(SpeakerOn), VELTRA_BUTTON_KIND_TOGGLE);
    LatchTab(FirstTab);
    if (IColorButtom* play = ButtonOf(2))
        play->SetDot(TRUE);  // playing
}

void CreateLabels()
{
    for (int band = 0; band < 6; ++band) {
        skin.FactroyLableControl(&labels[band], static_cast<UINT>(band), mainWindow);
        if (labels[band]) {
            labels[band]->SetFont("Tahoma", 7);
            Name(labels[band], "Band %d, dB", band + 1);  // the text, in dB, is its value
            ShowBand(band);
        }
    }
}

void CreateSlips()
{
    seek = MakeSlip(0, 1000, 350);
    if (seek) {
        seek->SetStartMarker(200);  // the A-B range
        seek->SetEndMarker(600);
    }
    volume = MakeSlip(1, 100, 70);
    if (volume)
        volume->ShowValue(TRUE);
    balance = MakeSlip(10, 100, 50);
    Name(seek, "Position");
    Name(volume, "Volume");
    Name(balance, "Balance");
}

}  // namespace

void CreateControls(HWND parent)
{
    mainWindow = parent;
    CreateButtons();
    CreateLabels();
    CreateSlips();
    LogEvent("Ready: %u buttons, 6 labels, 3 sliders", static_cast<unsigned>(buttons.size()));
}

void DestroyControls()
{
    for (const Button& button : buttons)
        button.control->Destroy();
    buttons.clear();
    for (ILableControl*& label : labels) {
        if (label)
            label->Destroy();
        label = nullptr;
    }
    for (ISlipControl** slip : {&seek, &volume, &balance}) {
        if (*slip)
            (*slip)->Destroy();
        *slip = nullptr;
    }
}

void LogEvent(const char* format, ...)
{
    char line[160];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    eventLog.push_back(line);
    if (eventLog.size() > EventLogLines)
        eventLog.pop_front();
    if (mainWindow)
        InvalidateRect(mainWindow, nullptr, FALSE);
}

void PaintEventLog(HDC dc, const RECT& area)
{
    RECT line = {area.left + 60 * scale, area.top + 16 * scale, area.right - 16 * scale, area.top + 34 * scale};
    for (const std::string& text : eventLog) {
        Text(dc, line, text.c_str(), RGB(40, 60, 70), DT_LEFT);
        OffsetRect(&line, 0, 18 * scale);
    }
}

// Hovers a key, takes a mode tab, raises a band, drags the seek thumb: what a user does
// in the first seconds, so that a screenshot shows the controls at work.
void PlayScript()
{
    const auto at = [](int x, int y) { return MAKELPARAM(x, y); };
    const auto windowAt = [](POINT point) {
        return ChildWindowFromPointEx(mainWindow, point, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    };
    const auto click = [&](POINT point) {
        HWND target = windowAt(point);
        POINT local = point;
        MapWindowPoints(mainWindow, target, &local, 1);
        SendMessageA(target, WM_LBUTTONDOWN, MK_LBUTTON, at(local.x, local.y));
        SendMessageA(target, WM_LBUTTONUP, 0, at(local.x, local.y));
    };
    RECT client;
    GetClientRect(mainWindow, &client);
    // Places of the design: the client area laid out at the scale, every length scale pixels.
    const int s = scale, width = client.right / s, bottom = client.bottom / s;
    click(POINT{20 * s, (116 + 19) * s});                       // the fourth mode tab
    click(POINT{((width - 1024) / 10 * 2 + 230) * s, (bottom - 54) * s});  // raise band 0
    if (seek) {
        HWND track = windowAt(POINT{20 * s, (bottom - 181) * s});
        RECT size;
        GetClientRect(track, &size);
        const int thumb = (size.right - 18 * s) * seek->GetValue() / 1000 + 9 * s;  // the thumb's middle
        SendMessageA(track, WM_LBUTTONDOWN, MK_LBUTTON, at(thumb, 10 * s));
        for (int step = 1; step <= 8; ++step)
            SendMessageA(track, WM_MOUSEMOVE, MK_LBUTTON, at(thumb + step * 12 * s, 10 * s));
        SendMessageA(track, WM_LBUTTONUP, 0, at(thumb + 96 * s, 10 * s));
    }
    SetCursorPos(96 * s, (bottom - 30) * s);  // over the play key
}
