#include "include/veltra1024.h"

// No query code is known yet: every code is refused and nothing is written.
extern "C" int WINAPI GetObjectRect(int, INT32*)
{
    return 0;
}
