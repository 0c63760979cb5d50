// The face: four bitmaps framing the host's full-screen main window.
#pragma once

#include <windows.h>

#include "common/blit.h"
#include "common/scale.h"

// A face's four bitmaps.
struct FaceSet {
    HBITMAP top, bottom, left, right;
};

// Loads the four face bitmaps for the screen in the library-wide state, widens them when
// the screen is larger than the design, and prints the logo.
void BuildFace();

// Deletes the face bitmaps.
void ReleaseFace();
void ReleaseFace(FaceSet& face);

// Every band the face repeats when it widens; count gives how many are written to bands,
// which holds room for them all. Returns how many there are.
int FaceBands(RepeatedBand* bands, int count);

// Makes a whole face for display, as BuildFace does at scale 1, logo included, leaving the
// library's as it is: false, with nothing made, when any part of it cannot be made.
bool MakeFace(const Display& display, FaceSet& made);

// Puts made in the place of the library's face, which it deletes.
void TakeFace(FaceSet& made);

// Replaces the four face bitmaps with copies widened to screenWidth x screenHeight by
// repeating their bands. A size below the design in one direction leaves that direction
// at design size.
void WidenFace(int screenWidth, int screenHeight);

// Prints "Pic\VeltraLogo.bmp", when there is one below the current directory, into the
// top-left corner of the right-hand face bitmap.
void PrintLogo();
