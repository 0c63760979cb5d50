// The design drawn at a whole-number scale: a screen of width x height device pixels at
// scale s is laid out as the design's screen of ceil(width / s) x ceil(height / s), exactly as
// at scale 1, and every length of that layout is drawn s pixels long. Whatever falls beyond
// the device screen is cut.
#pragma once

#include <windows.h>

struct Skin;

constexpr int LargestScale = 4;

// What the library draws for: a screen's size in device pixels, the scale the design is
// drawn at, and the skin whose art and colours it is drawn with (null: the built-in ones).
struct Display {
    SIZE size;
    int scale;
    const Skin* skin;

    // The screen the design is laid out for.
    SIZE Layout() const { return SIZE{Divided(size.cx), Divided(size.cy)}; }
    // The laid-out screen in device pixels: the device screen, or up to scale - 1 pixels more.
    SIZE Extent() const
    {
        const SIZE layout = Layout();
        return SIZE{layout.cx * scale, layout.cy * scale};
    }
    // Whether pictures made for other are those this display needs.
    bool SamePictures(const Display& other) const { return scale == other.scale && skin == other.skin; }
    // A length, point or rectangle of the layout in device pixels.
    int Up(int length) const { return length * scale; }
    POINT Up(POINT point) const { return POINT{Up(point.x), Up(point.y)}; }
    RECT Up(const RECT& rect) const { return RECT{Up(rect.left), Up(rect.top), Up(rect.right), Up(rect.bottom)}; }

private:
    // Rounded up without overflowing near the largest int.
    LONG Divided(LONG side) const { return side / scale + (side % scale != 0); }
};

// The display the library draws for now.
Display LibraryDisplay();

// Whether a screen of width x height holds the whole design at scale: scale 1 always.
bool HoldsScale(int width, int height, int scale);

// The largest scale that screen holds.
int LargestScaleHeld(int width, int height);

// A font as desc describes it at scale 1, scale times its height and width; null when refused.
HFONT CreateScaledFont(LOGFONTA desc, int scale);
