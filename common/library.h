// The library-wide state: written while the library attaches, only read afterwards, but for
// the accessibility functions, loaded when first needed, and the screen readers' calls.
#pragma once

#include <windows.h>
#include <oleacc.h>

// The system's accessibility functions, loaded when assistive technology first asks for a
// control: a host that never meets it loads nothing for it.
struct AccessibilityApi {
    decltype(&::LresultFromObject) ResultFromObject;
    decltype(&::AccessibleObjectFromWindow) ObjectFromWindow;
    decltype(&::SysAllocStringLen) AllocString;
};

class Fitted;
struct Skin;
struct CrossThreadCall;
struct HostAccessRequest;

// Screen readers' calls made on other threads, each waiting for its window's thread to run
// it.
struct CallQueue {
    CRITICAL_SECTION Lock;  // made at attach, deleted at detach
    CrossThreadCall* First;
};

struct LibraryState {
    HINSTANCE ModuleHandle;  // every resource, class and window of the library uses it
    int ScreenWidth;         // measured at attach, then the host's fits
    int ScreenHeight;
    int Scale;               // the scale the design is drawn at: 1 to 4, 1 from attach
    int AskedScale;          // the host's: 1 from attach, 0 for the largest each screen holds
    HCURSOR HandCursor;      // shown over buttons and slips; shared, never destroyed
    HBITMAP FaceTop;         // the face, widened for the screen; owned by the library
    HBITMAP FaceBottom;
    HBITMAP FaceLeft;
    HBITMAP FaceRight;
    const Skin* Art;         // the skin in force, the library's; null: the built-in art
    UINT AccessMessage;      // the library's own message to its controls' accessible sides
    UINT AfterFitMessage;    // to the controls, once the host has followed a fit
    AccessibilityApi Access; // null until the first request; then kept for the process
    CallQueue Calls;
    const HostAccessRequest* HostRequest;  // an export's request to a control, while it runs
    Fitted* Placed;          // every live control, which follows the screen
};

extern LibraryState Library;

// The screen the artwork is drawn for.
constexpr int DesignWidth = 1024;
constexpr int DesignHeight = 768;

// Registered for the controls' accessible sides, so that it can be no message of a host's
// window that a label serves.
constexpr const char* AccessMessageName = "Veltra1024 accessibility";
constexpr const char* AfterFitMessageName = "Veltra1024 after fit";

// Resource identifiers of the face and the cursor.
enum ResourceId : WORD {
    IdFaceTop = 102,
    IdFaceLeft = 103,
    IdFaceRight = 104,
    IdFaceBottom = 105,
    IdHandCursor = 1000,
};
