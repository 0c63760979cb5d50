#include "window/fitted.h"

#include <utility>

#include "common/library.h"
#include "window/base_window.h"

RECT RectInParent(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    const HWND parent = GetParent(window);
    ScreenToClient(parent, reinterpret_cast<POINT*>(&rect.left));
    ScreenToClient(parent, reinterpret_cast<POINT*>(&rect.right));
    return rect;
}

Fitted* Fitted::First()
{
    return Library.Placed;
}

bool Fitted::IsLive(const void* control)
{
    for (const Fitted* fitted = Library.Placed; fitted; fitted = fitted->next_)
        if (&fitted->control_ == control)
            return true;
    return false;
}

Fitted::Fitted(BaseWindow& control) : control_(control), next_(Library.Placed)
{
    if (next_)
        next_->previous_ = this;
    Library.Placed = this;
}

Fitted::~Fitted()
{
    (previous_ ? previous_->next_ : Library.Placed) = next_;
    if (next_)
        next_->previous_ = previous_;
}

void Fitted::AwaitHost()
{
    // Posted: it comes after the host's handler of the change, and before any paint.
    awaitingHost_ = true;
    if (!PostMessageA(control_.hWnd, Library.AfterFitMessage, 0, 0))
        Handles(Library.AfterFitMessage);
}

bool Fitted::Handles(UINT msg)
{
    if (!msg || msg != Library.AfterFitMessage)
        return false;
    // One after a later fit, or from anybody else, finds nothing to do.
    if (std::exchange(awaitingHost_, false))
        HostFollowed();
    return true;
}

void Fitted::HostFollowed()
{
    RedrawWindow(control_.hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void Fitted::Placed()
{
    placed_ = RectInParent(control_.hWnd);
    libraryPlaced_ = true;
}

bool Fitted::StillPlaced() const
{
    const RECT now = RectInParent(control_.hWnd);
    return libraryPlaced_ && now.left == placed_.left && now.top == placed_.top && now.right == placed_.right &&
           now.bottom == placed_.bottom;
}

void Fitted::MoveTo(const RECT& place)
{
    SetWindowPos(control_.hWnd, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 SWP_NOCOPYBITS | SWP_NOZORDER | SWP_NOACTIVATE);
    placed_ = RectInParent(control_.hWnd);
}
