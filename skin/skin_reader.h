// A skin folder read and checked whole: every file once, into memory, and checked from those
// bytes before anything of the library changes.
#pragma once

#include <memory>

#include "common/skin.h"
#include "skin/reasons.h"

// The skin in folder, or null with every problem in reasons: the folder first, then
// skin.ini, then the pieces in the order of ArtPieces.
std::unique_ptr<Skin> ReadSkin(const char* folder, Reasons& reasons);
