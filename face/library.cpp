#include "face/library.h"

#include <initializer_list>

#include "face/face.h"
#include "window/base_window.h"

LibraryState Library;

namespace {

HBITMAP LoadFaceBitmap(ResourceId id)
{
    return LoadBitmapA(Library.ModuleHandle, MAKEINTRESOURCEA(id));
}

}  // namespace

void AttachLibrary(HINSTANCE module)
{
    Library.ModuleHandle = module;
    Library.HandCursor = LoadCursorA(module, MAKEINTRESOURCEA(IdHandCursor));
    Library.FaceTop = LoadFaceBitmap(IdFaceTop);
    Library.FaceBottom = LoadFaceBitmap(IdFaceBottom);
    Library.FaceLeft = LoadFaceBitmap(IdFaceLeft);
    Library.FaceRight = LoadFaceBitmap(IdFaceRight);
    Library.ScreenWidth = GetSystemMetrics(SM_CXSCREEN);
    Library.ScreenHeight = GetSystemMetrics(SM_CYSCREEN);
    if (Library.ScreenWidth > DesignWidth || Library.ScreenHeight > DesignHeight)
        WidenFace(Library.ScreenWidth, Library.ScreenHeight);
    PrintLogo();
}

void DetachLibrary()
{
    UnregisterControlClasses();
    for (HBITMAP* face : {&Library.FaceTop, &Library.FaceBottom, &Library.FaceLeft, &Library.FaceRight}) {
        if (*face)
            DeleteObject(*face);
        *face = nullptr;
    }
}
