// A skin given at run time: pieces of art in the place of the built-in ones, and colours.
// The library keeps the bytes it checked, so that every later fit and scale makes its
// pictures from them without reading the folder again.
#pragma once

#include <windows.h>

#include <cstddef>
#include <memory>

// The colours a skin may set.
enum SkinColour : int {
    ColourBackground,   // the inner area's
    ColourDisplayBack,  // the layout queries' colours (codes 10 to 14), in their order
    ColourDisplayText,
    ColourDisplayDim,
    ColourTextLight,
    ColourTextAlert,
    ColourTextMuted,
    ColourTextMuted2,
    ColourAccent1,
    ColourAccent2,
    ColourAccent3,
    ColourLabelText,    // a label's text, until the host sets its own
    ColourSlipValue,    // the value a slip shows, until the host sets its own
    ColourButtonDot,
    SkinColourCount
};

// One piece of art a skin gives: the bytes of its bitmap file, checked whole.
struct SkinPiece {
    WORD id = 0;           // the built-in resource it stands for
    bool doubled = false;  // drawn for twice the density
    std::unique_ptr<BYTE[]> bytes;
    size_t size = 0;
};

struct Skin {
    std::unique_ptr<SkinPiece[]> pieces;
    int count = 0;
    COLORREF colours[SkinColourCount] = {};  // the built-in ones where the skin sets none

    const SkinPiece* Find(WORD id, bool doubled) const;
};
