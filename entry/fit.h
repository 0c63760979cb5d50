// What a fit, a change of scale and a change of skin share.
#pragma once

#include "common/scale.h"

// Fits the face, the queries and every control to display, all or nothing: everything it
// needs is made before anything changes. Its skin becomes the library's, which frees the
// one it replaces; false, with nothing changed and display's skin still the caller's, when
// something cannot be made.
bool FitDisplay(const Display& display);
