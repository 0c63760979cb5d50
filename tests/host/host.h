// The library as a host sees it: Veltra1024.dll loaded from beside the test program,
// reached only through its exports.
#pragma once

#include <windows.h>

#include <string>

#include "include/veltra1024.h"
#include "tests/support/image.h"

class Veltra {
public:
    Veltra();
    ~Veltra() { Unload(); }
    Veltra(const Veltra&) = delete;
    Veltra& operator=(const Veltra&) = delete;

    // Detaches the library now (the last reference of this process goes).
    void Unload();

    HMODULE module = nullptr;
    PFN_DrawFace DrawFace = nullptr;
    PFN_GetBgkColorSize GetBgkColorSize = nullptr;
    PFN_GetObjectRect GetObjectRect = nullptr;
    PFN_FactroyColorButtom FactroyColorButtom = nullptr;
    PFN_FactroyLableControl FactroyLableControl = nullptr;
    PFN_FactroySlipControl FactroySlipControl = nullptr;
};

// Full path of the DLL under test.
std::string LibraryPath();

// The screen this process runs on, as the library measured it.
SIZE Screen();

// A folder of its own, made current while the object lives, for tests that put files
// where the library looks for them; removed with what it holds.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

private:
    std::string previous_;
    std::string path_;
};

// A full-screen top-level window standing in for the host's main window. It remembers
// what its children told it.
class HostWindow {
public:
    HostWindow();
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    operator HWND() const { return window_; }

    // Called with each WM_PARENTNOTIFY the window receives.
    static void (*onParentNotify)(WPARAM wParam, LPARAM lParam);

private:
    HWND window_;
};

// Dispatches this thread's messages for milliseconds.
void Pump(DWORD milliseconds);

// The window a control object is bound to: the field that follows its virtual table.
inline HWND WindowOf(const void* control)
{
    return *reinterpret_cast<const HWND*>(static_cast<const char*>(control) + sizeof(void*));
}

// What a window shows now, after any pending paint.
Image Capture(HWND window);

// The part of a window's client area that lies on the screen, in client coordinates.
RECT OnScreen(HWND window);
