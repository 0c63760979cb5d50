// Every piece of the art a skin may give, in the order a designer reads them (faces,
// buttons, the host's pieces, slips): the same order as the README's table.
#pragma once

#include <windows.h>

#include <cstddef>

struct ArtPiece {
    const char* name;  // the file's name without ".bmp" (or "@2x.bmp")
    WORD id;           // the built-in resource it replaces
    LANGID language;   // the worded buttons' language; 0 for one picture in every language
    int frames;        // side by side in the strip
};

constexpr size_t ArtPieceCount = 60;
extern const ArtPiece ArtPieces[ArtPieceCount];

// The size of the built-in piece at 1x, read from the resource's header: a skin's piece must
// be as large (twice as large at 2x). Zero for none.
SIZE BuiltInSize(const ArtPiece& piece);

// Whether the system picks piece's language of its resource, as it loads the built-in art:
// true for a piece drawn for every language.
bool LanguageInUse(const ArtPiece& piece);
