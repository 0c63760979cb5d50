#include "entry/attach.h"

#include "common/library.h"
#include "common/skin.h"
#include "face/face.h"
#include "window/base_window.h"

void AttachLibrary(HINSTANCE module)
{
    Library.ModuleHandle = module;
    Library.HandCursor = LoadCursorA(module, MAKEINTRESOURCEA(IdHandCursor));
    Library.AccessMessage = RegisterWindowMessageA(AccessMessageName);
    Library.AfterFitMessage = RegisterWindowMessageA(AfterFitMessageName);
    InitializeCriticalSection(&Library.Calls.Lock);
    Library.ScreenWidth = GetSystemMetrics(SM_CXSCREEN);
    Library.ScreenHeight = GetSystemMetrics(SM_CYSCREEN);
    Library.Scale = Library.AskedScale = 1;
    BuildFace();
}

void DetachLibrary()
{
    UnregisterControlClasses();
    ReleaseFace();
    delete Library.Art;
    Library.Art = nullptr;
    DeleteCriticalSection(&Library.Calls.Lock);
}
