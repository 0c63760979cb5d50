// The colours the library hands out or uses by default: the built-in ones, or a skin's.
#pragma once

#include <windows.h>

#include "common/skin.h"

// The built-in colours, in the order of SkinColour.
extern const COLORREF BuiltInColours[SkinColourCount];

// The colour in force: the skin's in force, the built-in one without.
COLORREF ColourOf(SkinColour which);
