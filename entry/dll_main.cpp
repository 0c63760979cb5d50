#include <windows.h>

#include "entry/attach.h"

// The loader serialises these calls; nothing else runs before attach or after detach.
extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID)
{
    switch (reason) {
    case DLL_PROCESS_ATTACH: AttachLibrary(module); break;
    case DLL_PROCESS_DETACH: DetachLibrary(); break;
    default: break;
    }
    return TRUE;  // a missing resource or logo must not keep the host from starting
}
