// GoogleTest copies every failure to OutputDebugStringA, which Wine implements by raising
// an exception; 32-bit Wine under qemu user emulation cannot dispatch it and the test
// program dies at its first failure. Failures already go to the console, so the test
// programs bind that import to a function that drops the copy.
#include <windows.h>

namespace {

void WINAPI DropDebugOutput(LPCSTR) {}

}  // namespace

#ifdef _WIN64
#define IMPORT_SLOT "__imp_OutputDebugStringA"
#else
#define IMPORT_SLOT "__imp__OutputDebugStringA@4"
#endif

extern "C" {
extern void(WINAPI* const OutputDebugStringSlot)(LPCSTR) __asm__(IMPORT_SLOT);
void(WINAPI* const OutputDebugStringSlot)(LPCSTR) = DropDebugOutput;
}
