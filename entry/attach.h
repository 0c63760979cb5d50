// Starting and ending the library: the one place that knows every part of it.
#pragma once

#include <windows.h>

// Fills the library-wide state for module on the current screen and builds the face:
// widened when the screen is larger than the design, with the optional logo printed.
void AttachLibrary(HINSTANCE module);

// Takes back the control classes and deletes the face bitmaps.
void DetachLibrary();
