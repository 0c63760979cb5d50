// What assistive technology reads of a control and what it may do with it. Each control
// keeps one of these as a member, which tells a screen reader the control's role, name,
// state and value through an accessible object of its own. The object is a separate COM
// object: the controls' virtual tables stay the host's interface, and a screen reader
// may hold the object after the control is gone, when it answers every call with an error.
//
// A screen reader may call the object on any thread. Every call is carried to the thread
// of the control's window and runs there, and whatever the host hears of it comes later,
// from the control's window procedure, as a click's notifications do.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <memory>
#include <utility>

class BaseWindow;
class AccessibleObject;

// A text for assistive technology: none, one that outlives the call, or a copy.
class AccessibleText {
public:
    AccessibleText() = default;
    explicit AccessibleText(const char* lasting) : text_(lasting) {}
    explicit AccessibleText(std::unique_ptr<char[]> copy) : copy_(std::move(copy)), text_(copy_.get()) {}

    // Formatted into a copy of its own; none when memory runs out.
    static AccessibleText Format(const char* format, ...);

    // Null for none; an empty text counts as none.
    const char* Get() const { return text_ && *text_ ? text_ : nullptr; }

private:
    std::unique_ptr<char[]> copy_;
    const char* text_ = nullptr;
};

class Accessible {
public:
    Accessible(const Accessible&) = delete;
    Accessible& operator=(const Accessible&) = delete;

    // WM_GETOBJECT for the client area, and the library's own accessibility message: true
    // with the answer in result. Every other message is the control's as before.
    bool Handles(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // Tells assistive technology that a property of the control (or of one of its parts)
    // changed.
    void Announce(DWORD event, LONG child = CHILDID_SELF) const;

    // The name a host gave the control; null for none.
    const char* GivenName() const { return givenName_.get(); }

    // What the accessible object reads and does, while the control lives. child is
    // CHILDID_SELF for the control, else one of its parts, 1 to Parts().
    virtual LONG Parts() const { return 0; }
    virtual LONG Role(LONG child) const = 0;
    virtual AccessibleText Name(LONG child) = 0;
    virtual AccessibleText Value(LONG) { return AccessibleText(); }
    virtual AccessibleText Description(LONG) { return AccessibleText(); }
    // The control's own state bits; the window's focus, availability and visibility are
    // added to them.
    virtual DWORD State(LONG child) const = 0;
    // A part's rectangle in the window's client area.
    virtual RECT PartRect(LONG) { return RECT{}; }
    // The part that is a window of its own (an open edit box), or null.
    virtual HWND PartWindow(LONG) const { return nullptr; }
    // Null when there is no default action.
    virtual const wchar_t* DefaultAction(LONG child) const = 0;
    // Runs from the control's window procedure, after the screen reader's call has
    // returned; the host may destroy the control from what it does.
    virtual void DoDefaultAction(LONG) {}
    // False when the control's value cannot be set.
    virtual bool TakesValue() const { return false; }
    // A value entered as a screen reader's user types it, delivered as DoDefaultAction is.
    virtual void EnterValue(UINT) {}
    // An option a host sets for assistive technology; false when the control has no such
    // option or value.
    virtual bool SetOption(int, int) { return false; }

    HWND Window() const;

protected:
    explicit Accessible(BaseWindow& control) : control_(control) {}
    // The name a host gave, else the window's text, else typeName.
    AccessibleText NameOr(const char* typeName) const;
    // Cuts the accessible object off and lets go of it.
    ~Accessible();

private:
    friend class AccessibleObject;

    // A default action or a value a screen reader asked for, waiting for the window
    // procedure; messages that find none waiting do nothing.
    struct Request {
        LONG child;
        bool value;
        UINT number;
    };

    LRESULT OnGetObject(WPARAM wParam);
    LRESULT OnLibraryMessage(WPARAM command);
    void Disconnect();
    // Queues a request and posts the message that delivers it; false when it cannot.
    bool Queue(const Request& request);
    void DeliverOne();

    BaseWindow& control_;
    AccessibleObject* object_ = nullptr;  // made on the first request, for one window
    std::unique_ptr<char[]> givenName_;
    Request queue_[8] = {};
    int queued_ = 0;
};

// True when the window and every window it stands in are enabled.
bool Enabled(HWND window);

// True when a user could click the window now: it is visible and enabled, and so is every
// window it stands in.
bool Operable(HWND window);
