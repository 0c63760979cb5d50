#include <iterator>
#include <new>

#include "common/library.h"
#include "common/scale.h"
#include "label/lable_control.h"

namespace {

// The six labels sit in a row near the bottom edge. Each side is laid out as
// times x ((ScreenWidth - 1024) / 10) + offset, the quotient truncated first, on the
// laid-out screen, then drawn at the scale.
struct Side {
    int times;
    int offset;
};

struct LabelPlace {
    Side left;
    Side right;
};

const LabelPlace LabelPlaces[] = {
    {{1, 194}, {2, 224}},
    {{2, 255}, {3, 272}},
    {{3, 303}, {4, 320}},
    {{4, 377}, {5, 394}},
    {{5, 425}, {6, 442}},
    {{6, 473}, {7, 490}},
};

// From the bottom edge of the screen.
constexpr int LabelTop = -60;
constexpr int LabelBottom = -49;

constexpr int LabelPointSize = 10;

int Place(const Side& side, int widening)
{
    return side.times * (widening / 10) + side.offset;
}

}  // namespace

RECT LabelRect(UINT typeCode, const Display& display)
{
    if (typeCode >= std::size(LabelPlaces))
        return RECT{};
    const LabelPlace& place = LabelPlaces[typeCode];
    const SIZE screen = display.Layout();
    const int widening = screen.cx - DesignWidth;
    // Right may fall left of left on a narrow screen: the window is then made as asked.
    return display.Up(RECT{Place(place.left, widening), screen.cy + LabelTop, Place(place.right, widening),
                           screen.cy + LabelBottom});
}

extern "C" void WINAPI FactroyLableControl(ILableControl** out, UINT typeCode, HWND parent)
{
    if (!out)
        return;
    *out = nullptr;
    if (typeCode >= std::size(LabelPlaces))
        return;
    const RECT rect = LabelRect(typeCode, LibraryDisplay());
    auto* label = new (std::nothrow) LableControl;
    if (!label)
        return;
    // As with the buttons, the host holds the pointer before the window exists; the
    // object's virtual table is the host's interface, slot for slot.
    *out = reinterpret_cast<ILableControl*>(label);
    if (!label->Create(&rect, static_cast<int>(typeCode), parent)) {
        label->ScalarDeletingDestructor(1);
        *out = nullptr;
        return;
    }
    label->PlacedByLibrary();
    label->SetFlags(FlagTransparent, FlagTransparent);
    label->UseSkinTextColour();
    label->SetFont(nullptr, LabelPointSize);
    ModifyWindowLong(label->hWnd, GWL_STYLE, 0, SS_CENTER, 0);  // centred text
}
