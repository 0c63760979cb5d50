#include "common/scale.h"

#include "common/library.h"

Display LibraryDisplay()
{
    return Display{SIZE{Library.ScreenWidth, Library.ScreenHeight}, Library.Scale, Library.Art};
}

bool HoldsScale(int width, int height, int scale)
{
    // Compared as quotients: the products could overflow.
    return scale == 1 || (scale > 1 && scale <= LargestScale && width / scale >= DesignWidth &&
                          height / scale >= DesignHeight);
}

int LargestScaleHeld(int width, int height)
{
    int scale = LargestScale;
    while (!HoldsScale(width, height, scale))
        --scale;
    return scale;
}

HFONT CreateScaledFont(LOGFONTA desc, int scale)
{
    desc.lfHeight *= scale;
    desc.lfWidth *= scale;
    return CreateFontIndirectA(&desc);
}
