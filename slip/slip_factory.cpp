#include "include/veltra1024.h"

// No slip type is available yet: the host is told so through out.
extern "C" void WINAPI FactroySlipControl(ISlipControl** out, UINT, HWND, SlipNotifyProc, INT_PTR)
{
    if (out)
        *out = nullptr;
}
