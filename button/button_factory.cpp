#include "include/veltra1024.h"

// No button type is available yet: the host is told so through out.
extern "C" void WINAPI FactroyColorButtom(IColorButtom** out, UINT, HWND, NotifyProc, INT_PTR)
{
    if (out)
        *out = nullptr;
}
