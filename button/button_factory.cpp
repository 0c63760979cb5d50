#include <iterator>
#include <new>

#include "button/color_buttom.h"
#include "common/library.h"
#include "common/table.h"

namespace {

// A coordinate laid out for 1024 x 768 and spread over the laid-out screen (ScreenWidth:
// its width), then drawn at the scale: (the width or height, when anchored to the far edge)
// + d8 x ((ScreenWidth - 1024) / 8) + d10 x ((ScreenWidth - 1024) / 10) + offset,
// each quotient truncated before it is multiplied.
struct Coordinate {
    bool fromFarEdge;
    int d8;
    int d10;
    int offset;
};

constexpr Coordinate At(int offset) { return {false, 0, 0, offset}; }
constexpr Coordinate FromFarEdge(int offset) { return {true, 0, 0, offset}; }
constexpr Coordinate D8(int times, int offset) { return {false, times, 0, offset}; }
constexpr Coordinate D10(int times, int offset) { return {false, 0, times, offset}; }

struct ButtonType {
    UINT code;
    WORD bitmapId;  // a strip of three frames
    Coordinate x;
    Coordinate y;
    const char* name;  // for assistive technology, until the host names the button
};

const ButtonType ButtonTypes[] = {
    {0, 106, FromFarEdge(-60), FromFarEdge(-60), "Power"},
    {1, 111, At(26), FromFarEdge(-40), "Previous"},
    {2, 110, At(74), FromFarEdge(-40), "Play"},
    {3, 115, At(122), FromFarEdge(-40), "Pause"},
    {4, 137, At(170), FromFarEdge(-40), "Stop"},
    {5, 114, D8(1, 244), FromFarEdge(-40), "Next"},
    {6, 113, D8(1, 292), FromFarEdge(-40), "Eject"},
    {7, 136, D8(2, 366), FromFarEdge(-40), "Shuffle"},
    {8, 108, D8(2, 414), FromFarEdge(-40), "Repeat"},
    {9, 112, D8(3, 488), FromFarEdge(-40), "Volume down"},
    {10, 109, D8(3, 536), FromFarEdge(-40), "Volume up"},
    {11, 134, FromFarEdge(-355), FromFarEdge(-191), "Speaker on"},
    {12, 135, FromFarEdge(-355), FromFarEdge(-191), "Speaker off"},
    {13, 138, FromFarEdge(-170), At(192), "Panel key 1"},
    {14, 133, FromFarEdge(-87), At(192), "Panel key 2"},
    {15, 121, D8(6, 774), FromFarEdge(-61), "Wide key 1"},
    {16, 155, D8(7, 857), FromFarEdge(-61), "Wide key 2"},
    {17, 159, D8(4, 610), FromFarEdge(-40), "Mute"},
    {18, 160, D8(4, 658), FromFarEdge(-40), "Equaliser"},
    {19, 163, D10(1, 182), FromFarEdge(-60), "Minus 1"},
    {20, 164, D10(2, 224), FromFarEdge(-60), "Plus 1"},
    {21, 163, D10(2, 243), FromFarEdge(-60), "Minus 2"},
    {22, 164, D10(3, 272), FromFarEdge(-60), "Plus 2"},
    {23, 163, D10(3, 291), FromFarEdge(-60), "Minus 3"},
    {24, 164, D10(4, 320), FromFarEdge(-60), "Plus 3"},
    {25, 163, D10(4, 365), FromFarEdge(-60), "Minus 4"},
    {26, 164, D10(5, 394), FromFarEdge(-60), "Plus 4"},
    {27, 163, D10(5, 413), FromFarEdge(-60), "Minus 5"},
    {28, 164, D10(6, 442), FromFarEdge(-60), "Plus 5"},
    {29, 163, D10(6, 461), FromFarEdge(-60), "Minus 6"},
    {30, 164, D10(7, 490), FromFarEdge(-60), "Plus 6"},
    {31, 172, At(-100), At(-100), "Slim key"},  // off the parent until the host moves it
    {200, 139, At(0), At(29), "Mode 1"},
    {201, 140, At(0), At(58), "Mode 2"},
    {202, 141, At(0), At(87), "Mode 3"},
    {203, 142, At(0), At(116), "Mode 4"},
    {204, 145, At(0), At(145), "Mode 5"},
    {205, 148, At(0), At(174), "Mode 6"},
    {206, 151, At(0), At(203), "Mode 7"},
    {207, 152, At(0), At(232), "Mode 8"},
    {300, 176, At(5), At(103), "Small key 1"},
    {301, 177, At(5), At(103), "Small key 2"},
};

constexpr int FrameCount = 3;

int Place(const Coordinate& c, int farEdge, int screenWidth)
{
    const int widening = screenWidth - DesignWidth;
    return (c.fromFarEdge ? farEdge : 0) + c.d8 * (widening / 8) + c.d10 * (widening / 10) + c.offset;
}

}  // namespace

POINT ButtonPlace(UINT typeCode, const Display& display)
{
    const ButtonType* type = FindRow(ButtonTypes, typeCode);
    if (!type)
        return POINT{};
    const SIZE screen = display.Layout();
    return display.Up(POINT{Place(type->x, screen.cx, screen.cx), Place(type->y, screen.cy, screen.cx)});
}

extern "C" void WINAPI FactroyColorButtom(IColorButtom** out, UINT typeCode, HWND parent, NotifyProc notify,
                                          INT_PTR userData)
{
    if (!out)
        return;
    *out = nullptr;
    const ButtonType* type = FindRow(ButtonTypes, typeCode);
    if (!type)
        return;
    auto* button = new (std::nothrow) ColorButtom;
    if (!button)
        return;
    // The host sees the button while its window is being created (WM_PARENTNOTIFY among
    // the creation messages), so the pointer is stored first. The object's virtual table
    // is the host's interface, slot for slot.
    *out = reinterpret_cast<IColorButtom*>(button);
    const POINT at = ButtonPlace(typeCode, LibraryDisplay());
    if (!button->Create(at.x, at.y, typeCode, type->bitmapId, parent, notify, userData, FrameCount, type->name)) {
        button->ScalarDeletingDestructor(1);
        *out = nullptr;
    }
}
