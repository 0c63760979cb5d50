// What a host may do with each kind of control, in one pass: make it, call every slot,
// send it the messages a user's hands would, paint it, and destroy it. Each pass
// tolerates a factory that makes nothing, so that the same pass serves the soak and the
// refused-creation runs.
#pragma once

#include <windows.h>

#include "include/veltra1024.h"
#include "tests/host/host.h"

// Type codes the passes cycle through; unknown codes among them make nothing.
extern const UINT ButtonCodes[6];
extern const UINT LabelCodes[4];
extern const UINT SlipCodes[4];

// Each returns whether the factory made the control.
bool ExerciseButton(const Veltra& veltra, HWND parent, UINT code);
bool ExerciseLabel(const Veltra& veltra, HWND parent, UINT code);
bool ExerciseSlip(const Veltra& veltra, HWND parent, UINT code);

// The face exports a host calls in its paint: into a memory DC, with every bitmap handed
// out deleted again. Returns what DrawFace returned.
BOOL ExerciseFace(const Veltra& veltra);

// Paints the window now if anything of it is invalid.
void PaintNow(HWND window);

// The child window of class className that window owns (the slip's edit box), or null.
HWND ChildOfClass(HWND window, const char* className);
