// The library-wide state: written while the library attaches, only read afterwards.
#pragma once

#include <windows.h>

struct LibraryState {
    HINSTANCE ModuleHandle;  // every resource, class and window of the library uses it
    int ScreenWidth;         // measured once, at attach
    int ScreenHeight;
    HCURSOR HandCursor;      // shown over buttons and slips; shared, never destroyed
    HBITMAP FaceTop;         // the face, widened for the screen; owned by the library
    HBITMAP FaceBottom;
    HBITMAP FaceLeft;
    HBITMAP FaceRight;
};

extern LibraryState Library;

// The screen the artwork is drawn for.
constexpr int DesignWidth = 1024;
constexpr int DesignHeight = 768;

// Resource identifiers of the face and the cursor.
enum ResourceId : WORD {
    IdFaceTop = 102,
    IdFaceLeft = 103,
    IdFaceRight = 104,
    IdFaceBottom = 105,
    IdHandCursor = 1000,
};
