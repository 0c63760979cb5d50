#include "face/colours.h"

#include "common/library.h"
#include "include/veltra1024.h"

const COLORREF BuiltInColours[SkinColourCount] = {
    VELTRA_BACKGROUND_COLOR,                                     // RGB(213, 237, 245)
    RGB(0, 0, 0),       RGB(0, 191, 0),     RGB(0, 39, 0),       // the displays
    RGB(255, 255, 255), RGB(207, 0, 0),     RGB(154, 154, 154), RGB(154, 154, 154),
    RGB(255, 0, 0),     RGB(255, 153, 0),   RGB(238, 227, 110),  // the accents
    RGB(255, 255, 255),                                          // a label's text
    RGB(0, 0, 255),                                              // a slip's value
    RGB(255, 0, 0),                                              // the button dot
};

COLORREF ColourOf(SkinColour which)
{
    return Library.Art ? Library.Art->colours[which] : BuiltInColours[which];
}
