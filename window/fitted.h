// Every control follows the screen when the host fits the library to another size: each
// keeps one of these as a member, listed in the library-wide state while it lives. A
// window the library placed moves to its place for the new screen; one the host placed, or
// moved since, stays where the host put it.
#pragma once

#include <windows.h>

#include "common/scale.h"

class BaseWindow;

class Fitted {
public:
    Fitted(const Fitted&) = delete;
    Fitted& operator=(const Fitted&) = delete;

    // The library placed the control's window where it stands now.
    void Placed();
    // The host placed the window itself.
    void Unplaced() { libraryPlaced_ = false; }

    // Makes what the control needs on that display, changing nothing yet; false when it
    // cannot, with nothing left made.
    virtual bool Prepare(const Display&) { return true; }
    // Gives back what Prepare made, when the fit goes no further.
    virtual void Abandon() {}
    // Takes what Prepare made, the library-wide state already fitted.
    virtual void Commit() = 0;
    // Asks for HostFollowed once the host has followed the screen too (resized its window,
    // asked for its repaint): a control repainted before that could lie where the host's
    // window did not reach yet, and never be asked again.
    void AwaitHost();
    // Answers the library's message that the host has followed: true when it was that.
    bool Handles(UINT msg);

    // The controls that follow the screen.
    static Fitted* First();
    Fitted* Next() const { return next_; }
    // Whether control is the address of a live control; nothing is read through it.
    static bool IsLive(const void* control);

protected:
    explicit Fitted(BaseWindow& control);
    ~Fitted();

    // The control shows itself for the new screen: by default it paints again whole.
    virtual void HostFollowed();

    // Whether the library placed the window and it still stands there.
    bool StillPlaced() const;
    // Moves and sizes the window to place (in its parent's client area), and remembers
    // where the system put it. The control paints itself there afresh: bits the system
    // copied could come from where another control, moved before it, now stands.
    void MoveTo(const RECT& place);

private:
    BaseWindow& control_;
    RECT placed_ = {};
    bool libraryPlaced_ = false;
    bool awaitingHost_ = false;
    Fitted* next_ = nullptr;
    Fitted* previous_ = nullptr;
};

// The window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND window);
