// The label's painting: the whole client area is composed off screen and copied to the
// window in one BitBlt, so nothing flickers during a blink or a change of text.
#include <cstring>
#include <memory>

#include "common/gdi.h"
#include "common/library.h"
#include "label/lable_control.h"

namespace {

constexpr COLORREF HighlightColor = RGB(255, 255, 255);

// A memory DC with a bitmap of a rectangle of a target DC, drawn at the target's logical
// coordinates; CopyTo puts it on the target.
class OffscreenDC {
public:
    OffscreenDC(HDC target, const RECT& area)
        : memDC(target), area(area), bitmap(CompatibleBitmap(target, area)), selection(memDC, bitmap)
    {
        SetMapMode(memDC, GetMapMode(target));
        SetWindowOrgEx(memDC, area.left, area.top, nullptr);
    }

    operator HDC() const { return memDC; }
    bool Ready() const { return memDC && bitmap; }

    void CopyTo(HDC target) const
    {
        BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, memDC, area.left,
               area.top, SRCCOPY);
    }

private:
    // The buffer is as large as the area in device units.
    static HBITMAP CompatibleBitmap(HDC target, RECT area)
    {
        LPtoDP(target, reinterpret_cast<POINT*>(&area), 2);
        return CreateCompatibleBitmap(target, area.right - area.left, area.bottom - area.top);
    }

    MemoryDC memDC;
    RECT area;
    GdiObject<HBITMAP> bitmap;
    Selection selection;
};

// The parent's pixels under the whole window, border and edge included; null when they
// cannot be had, so that the next paint tries again.
HBITMAP SnapshotUnder(HWND window)
{
    const HWND parent = GetParent(window);
    const RECT under = RectInParent(window);
    const int width = under.right - under.left, height = under.bottom - under.top;
    WindowDC parentDC(parent);
    GdiObject<HBITMAP> snapshot(CreateCompatibleBitmap(parentDC, width, height));
    MemoryDC copy(parentDC);
    if (!parentDC || !snapshot || !copy)
        return nullptr;
    {
        Selection into(copy, snapshot);
        BitBlt(copy, 0, 0, width, height, parentDC, under.left, under.top, SRCCOPY);
    }
    return snapshot.Release();
}

// How DrawText lays the text out, from the static-control bits of the window's style.
UINT TextFormat(LONG style, const char* text)
{
    UINT format = DT_LEFT | DT_TOP;
    if (style & SS_RIGHT)
        format = DT_RIGHT;
    if (style & SS_CENTER)
        format = DT_CENTER;
    if (style & SS_CENTERIMAGE)
        format = std::strstr(text, "\r\n") ? DT_CENTER : DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    if (!(style & SS_LEFTNOWORDWRAP))
        format |= DT_WORDBREAK;
    return format;
}

}  // namespace

void LableControl::Paint(HDC dc)
{
    RECT client;
    GetClientRect(hWnd, &client);
    // An empty window shows nothing; GDI would only make placeholder objects for it.
    if (IsRectEmpty(&client))
        return;
    std::unique_ptr<char[]> windowText;
    if (labelText == UseWindowText)
        windowText = WindowText(hWnd);
    const char* text = labelText == UseWindowText ? windowText.get() : labelText;
    if (!backSnapshot)
        backSnapshot.Reset(SnapshotUnder(hWnd));

    // Refused its buffer or the parent's pixels, the paint leaves the window as it was.
    OffscreenDC buffer(dc, client);
    if (!buffer.Ready() || !PaintBackground(dc, buffer, client))
        return;
    if (text && (!(flags & FlagBlinkText) || (flags & FlagBlinkPhase)))
        PaintText(buffer, client, text);
    buffer.CopyTo(dc);
}

bool LableControl::PaintBackground(HDC target, HDC buffer, const RECT& client)
{
    const bool parentShows = (flags & FlagTransparent) || ((flags & FlagBlinkBack) && !(flags & FlagBlinkPhase));
    if (!parentShows)
        return FillRect(buffer, &client, backBrush ? backBrush : faceBrush);
    // With a border or edge the client area gets the part that lay under the window's
    // top-left corner.
    MemoryDC snapshot(target);
    if (!snapshot || !backSnapshot)
        return false;
    Selection selected(snapshot, backSnapshot);
    return BitBlt(buffer, 0, 0, client.right - client.left, client.bottom - client.top, snapshot, 0, 0, SRCCOPY);
}

void LableControl::PaintText(HDC buffer, RECT client, const char* text)
{
    const int oldMode = SetBkMode(buffer, TRANSPARENT);
    const COLORREF oldColor = SetTextColor(buffer, textColor);
    {
        Selection selected(buffer, font);
        const int length = static_cast<int>(std::strlen(text));
        if (flags & FlagRotated) {
            // The left end of the baseline at the centre: the font's escapement turns the
            // line about that point.
            const UINT oldAlign = SetTextAlign(buffer, TA_LEFT | TA_BASELINE);
            POINT oldOrigin;
            SetViewportOrgEx(buffer, (client.right - client.left) / 2, (client.bottom - client.top) / 2, &oldOrigin);
            TextOutA(buffer, 0, 0, text, length);
            SetViewportOrgEx(buffer, oldOrigin.x, oldOrigin.y, nullptr);
            SetTextAlign(buffer, oldAlign);
        } else {
            const UINT format = TextFormat(GetWindowLongA(hWnd, GWL_STYLE), text);
            DrawTextA(buffer, text, length, &client, format);
            if (flags & FlagHighlight) {
                const int offset = (highlightDownRight ? 1 : -1) * Library.Scale;
                SetTextColor(buffer, HighlightColor);
                OffsetRect(&client, offset, offset);
                DrawTextA(buffer, text, length, &client, format);
            }
        }
    }
    SetTextColor(buffer, oldColor);
    SetBkMode(buffer, oldMode);
}
