#include "include/veltra1024.h"

// No label type is available yet: the host is told so through out.
extern "C" void WINAPI FactroyLableControl(ILableControl** out, UINT, HWND)
{
    if (out)
        *out = nullptr;
}
