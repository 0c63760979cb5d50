// The host's own widgets, drawn where the layout queries put them: the picture frame,
// the two display rows, the CPU value, the play list and the level display over the
// bottom panel.
#include <algorithm>
#include <cstdio>
#include <initializer_list>

#include "demo/demo.h"

namespace {

struct Widgets {
    RECT upperRow, lowerRow, cpu, list, panel, frameInner;
    POINT frameAt;
    COLORREF displayBack, displayText, displayDim;
    COLORREF white, red, grey;
    COLORREF accents[3];
    HBITMAP frame;
    HBITMAP darkBar, greenBar, panelBack, greyBar;
    HBITMAP colourBars[4];
};

Widgets widgets;
int levels[6] = {62, 80, 45, 70, 30, 55};  // percent
unsigned tick = 0;

const char* const PlayList[] = {"01 Nocturne in Blue", "02 Graphite", "03 Slow Orbit", "04 Teal Hour",
                                "05 Quiet Circuit", "06 Long Exposure", "07 Afterglow", "08 Night Ferry"};
constexpr int PlayingNow = 1;

RECT Rect(const INT32 (&v)[4]) { return RECT{v[0], v[1], v[2], v[3]}; }
HBITMAP Bitmap(INT32 value) { return reinterpret_cast<HBITMAP>(static_cast<INT_PTR>(value)); }

void Query(int code, INT32 (&v)[4])
{
    v[0] = v[1] = v[2] = v[3] = 0;
    skin.GetObjectRect(code, v);
}

void Fill(HDC dc, const RECT& area, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &area, brush);
    DeleteObject(brush);
}

// Copies the part [0, width) x [0, height) of bitmap to (x, y); key, when given, is left out.
void Blit(HDC dc, HBITMAP bitmap, int x, int y, int width, int height, COLORREF key = CLR_INVALID)
{
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, bitmap);
    if (key == CLR_INVALID)
        BitBlt(dc, x, y, width, height, memory, 0, 0, SRCCOPY);
    else
        TransparentBlt(dc, x, y, width, height, memory, 0, 0, width, height, key);
    SelectObject(memory, old);
    DeleteDC(memory);
}

SIZE SizeOf(HBITMAP bitmap)
{
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    return SIZE{info.bmWidth, info.bmHeight};
}

void PaintFrame(HDC dc)
{
    const SIZE size = SizeOf(widgets.frame);
    Blit(dc, widgets.frame, widgets.frameAt.x, widgets.frameAt.y, size.cx, size.cy, RGB(255, 0, 255));
    RECT inner = widgets.frameInner;
    OffsetRect(&inner, widgets.frameAt.x, widgets.frameAt.y);
    // A cover picture: quiet concentric squares around a lit centre.
    for (int ring = 0; ring < 6; ++ring) {
        RECT square = inner;
        InflateRect(&square, -ring * 9 * scale, -ring * 9 * scale);
        Fill(dc, square, ring == 5 ? widgets.accents[1] : ring % 2 ? widgets.displayBack : widgets.displayDim);
    }
    Text(dc, inner, "VELTRA", widgets.white, DT_CENTER | DT_VCENTER);
}

void PaintDisplays(HDC dc)
{
    Fill(dc, widgets.upperRow, widgets.displayBack);
    Fill(dc, widgets.lowerRow, widgets.displayBack);
    Fill(dc, widgets.cpu, widgets.displayBack);
    Text(dc, widgets.upperRow, PlayList[PlayingNow], widgets.displayText, DT_LEFT | DT_VCENTER);
    char line[64];
    const unsigned seconds = 137 + tick / 20;
    std::snprintf(line, sizeof line, "%02u:%02u / 05:43", seconds / 60, seconds % 60);
    Text(dc, widgets.lowerRow, line, widgets.displayText, DT_LEFT | DT_VCENTER);
    std::snprintf(line, sizeof line, "%d", 8 + static_cast<int>(tick % 7));
    Text(dc, widgets.cpu, line, widgets.displayText, DT_CENTER | DT_VCENTER);
}

void PaintList(HDC dc)
{
    Fill(dc, widgets.list, widgets.displayBack);
    RECT line = widgets.list;
    InflateRect(&line, -6 * scale, -4 * scale);
    line.bottom = line.top + 18 * scale;
    for (int i = 0; i < static_cast<int>(sizeof PlayList / sizeof PlayList[0]) && line.bottom <= widgets.list.bottom;
         ++i) {
        Text(dc, line, PlayList[i], i == PlayingNow ? widgets.accents[1] : widgets.displayDim, DT_LEFT | DT_VCENTER);
        OffsetRect(&line, 0, 18 * scale);
    }
}

// Level meters over the bottom panel's own background: four shaded bars and two lamp
// meters, each shown as far as its level reaches.
void PaintLevels(HDC dc)
{
    const RECT& panel = widgets.panel;
    Blit(dc, widgets.panelBack, panel.left, panel.top, panel.right - panel.left, panel.bottom - panel.top);
    const SIZE bar = SizeOf(widgets.greyBar);
    const int x = panel.left + 16 * scale;
    for (int i = 0; i < 4; ++i) {
        const int y = panel.top + (14 + i * 22) * scale;
        Blit(dc, widgets.greyBar, x, y, bar.cx, bar.cy);
        Blit(dc, widgets.colourBars[i], x, y, bar.cx * levels[i] / 100, bar.cy);
    }
    const SIZE lamp = SizeOf(widgets.darkBar);
    const int lampX = x + bar.cx + 40 * scale;
    if (lampX + lamp.cx > panel.right)
        return;
    for (int i = 0; i < 2; ++i) {
        const int y = panel.top + (22 + i * 40) * scale;
        Blit(dc, widgets.darkBar, lampX, y, lamp.cx, lamp.cy);
        Blit(dc, widgets.greenBar, lampX, y, lamp.cx * levels[4 + i] / 100, lamp.cy);
        Text(dc, RECT{lampX, y + lamp.cy, lampX + lamp.cx, y + lamp.cy + 14 * scale}, i ? "R" : "L", widgets.grey,
             DT_LEFT);
    }
}

}  // namespace

void Text(HDC dc, RECT area, const char* text, COLORREF colour, UINT format)
{
    // At scale 1 the DC's own font; larger, the same font that many times its size.
    HFONT font = nullptr;
    if (scale > 1) {
        LOGFONTA system = {};
        GetObjectA(GetStockObject(SYSTEM_FONT), sizeof system, &system);
        system.lfHeight *= scale;
        system.lfWidth *= scale;
        font = CreateFontIndirectA(&system);
    }
    HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    SetTextColor(dc, colour);
    SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, text, -1, &area, format | DT_SINGLELINE | DT_NOPREFIX);
    if (font) {
        SelectObject(dc, old);
        DeleteObject(font);
    }
}

void LoadWidgets()
{
    INT32 v[4];
    Query(0, v);
    widgets.upperRow = Rect(v);
    Query(1, v);
    widgets.lowerRow = Rect(v);
    Query(2, v);
    widgets.cpu = Rect(v);
    Query(3, v);
    widgets.list = Rect(v);
    Query(4, v);
    widgets.panel = Rect(v);
    Query(6, v);
    widgets.frameInner = Rect(v);
    INT32 frame[4] = {0, 0, VELTRA_QUERY_MARKER, 0};
    skin.GetObjectRect(5, frame);
    widgets.frameAt = POINT{frame[0], frame[1]};
    widgets.frame = Bitmap(frame[2]);
    Query(10, v);
    widgets.displayBack = v[0];
    widgets.displayText = v[1];
    widgets.displayDim = v[2];
    Query(13, v);
    widgets.white = v[0];
    widgets.red = v[1];
    widgets.grey = v[2];
    Query(14, v);
    for (int i = 0; i < 3; ++i)
        widgets.accents[i] = v[i];
    Query(20, v);
    widgets.darkBar = Bitmap(v[0]);
    widgets.greenBar = Bitmap(v[1]);
    widgets.panelBack = Bitmap(v[2]);
    widgets.greyBar = Bitmap(v[3]);
    Query(21, v);
    for (int i = 0; i < 4; ++i)
        widgets.colourBars[i] = Bitmap(v[i]);
}

void FreeWidgets()
{
    // The bitmaps that the queries handed out are the host's to delete.
    for (HBITMAP bitmap : {widgets.frame, widgets.darkBar, widgets.greenBar, widgets.panelBack, widgets.greyBar,
                           widgets.colourBars[0], widgets.colourBars[1], widgets.colourBars[2],
                           widgets.colourBars[3]})
        DeleteObject(bitmap);
    widgets = Widgets{};
}

void PaintWidgets(HDC dc)
{
    PaintFrame(dc);
    PaintDisplays(dc);
    PaintList(dc);
    PaintLevels(dc);
}

void AnimateWidgets(HWND window)
{
    ++tick;
    for (int i = 0; i < 6; ++i) {
        const int step = static_cast<int>((tick * (7 + i * 5) + i * 13) % 23) - 11;
        levels[i] = std::max(5, std::min(100, levels[i] + step));
    }
    InvalidateRect(window, &widgets.panel, FALSE);
    InvalidateRect(window, &widgets.lowerRow, FALSE);
    InvalidateRect(window, &widgets.cpu, FALSE);
}
