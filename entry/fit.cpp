#include "common/library.h"
#include "face/face.h"
#include "include/veltra1024.h"
#include "window/fitted.h"

// All or nothing: everything the new size needs is made before anything changes, so that a
// refusal leaves the face, the queries and every control as they were.
extern "C" BOOL WINAPI FitScreen(int width, int height)
{
    if (width <= 0 || height <= 0)
        return FALSE;
    if (width == Library.ScreenWidth && height == Library.ScreenHeight)
        return TRUE;
    FaceSet face;
    if (!MakeFace(width, height, face))
        return FALSE;
    for (Fitted* control = Fitted::First(); control; control = control->Next()) {
        if (control->Prepare({width, height}))
            continue;
        for (Fitted* prepared = Fitted::First(); prepared != control; prepared = prepared->Next())
            prepared->Abandon();
        ReleaseFace(face);
        return FALSE;
    }
    TakeFace(face);
    Library.ScreenWidth = width;
    Library.ScreenHeight = height;
    for (Fitted* control = Fitted::First(); control;) {
        Fitted* next = control->Next();  // moving a window runs its procedure
        control->Commit();
        control->AwaitHost();
        control = next;
    }
    return TRUE;
}
