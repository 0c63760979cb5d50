#include "entry/fit.h"

#include <climits>
#include <utility>

#include "common/library.h"
#include "common/scale.h"
#include "common/skin.h"
#include "face/face.h"
#include "include/veltra1024.h"
#include "window/fitted.h"

bool FitDisplay(const Display& display)
{
    const Display now = LibraryDisplay();
    if (display.size.cx == now.size.cx && display.size.cy == now.size.cy && display.SamePictures(now))
        return true;
    // A laid-out screen past the largest int could have no face anyway.
    const SIZE layout = display.Layout();
    if (layout.cx > INT_MAX / display.scale || layout.cy > INT_MAX / display.scale)
        return false;
    FaceSet face;
    if (!MakeFace(display, face))
        return false;
    for (Fitted* control = Fitted::First(); control; control = control->Next()) {
        if (control->Prepare(display))
            continue;
        for (Fitted* prepared = Fitted::First(); prepared != control; prepared = prepared->Next())
            prepared->Abandon();
        ReleaseFace(face);
        return false;
    }
    TakeFace(face);
    Library.ScreenWidth = display.size.cx;
    Library.ScreenHeight = display.size.cy;
    Library.Scale = display.scale;
    const Skin* replaced = std::exchange(Library.Art, display.skin);
    for (Fitted* control = Fitted::First(); control;) {
        Fitted* next = control->Next();  // moving a window runs its procedure
        control->Commit();
        control->AwaitHost();
        control = next;
    }
    if (replaced != display.skin)
        delete replaced;
    return true;
}

namespace {

// The display in force at another size and scale.
Display At(int width, int height, int scale)
{
    Display display = LibraryDisplay();
    display.size = {width, height};
    display.scale = scale;
    return display;
}

}  // namespace

extern "C" BOOL WINAPI FitScreen(int width, int height)
{
    if (width <= 0 || height <= 0)
        return FALSE;
    const int asked = Library.AskedScale;
    const int scale = asked && HoldsScale(width, height, asked) ? asked : LargestScaleHeld(width, height);
    return FitDisplay(At(width, height, scale));
}

extern "C" int WINAPI FitScreenScaled(int width, int height, int scale)
{
    if (width <= 0 || height <= 0 || scale < 0 || scale > LargestScale || (scale && !HoldsScale(width, height, scale)))
        return 0;
    const int fitted = scale ? scale : LargestScaleHeld(width, height);
    if (!FitDisplay(At(width, height, fitted)))
        return 0;
    Library.AskedScale = scale;
    return fitted;
}
