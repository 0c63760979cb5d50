// What assistive technology reads of a control and what it may do with it. Each control
// keeps one of these as a member, which tells a screen reader the control's role, name,
// state and value through an accessible object of its own. The object is a separate COM
// object: the controls' virtual tables stay the host's interface, and a screen reader
// may hold the object after the control is gone, when it answers every call with an error.
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

    // Tells assistive technology that a property of the control changed.
    void Announce(DWORD event) const;

    // The name a host gave the control; null for none.
    const char* GivenName() const { return givenName_.get(); }

    // What the accessible object reads and does, while the control lives.
    virtual LONG Role() const = 0;
    virtual AccessibleText Name() = 0;
    virtual AccessibleText Value() { return AccessibleText(); }
    virtual AccessibleText Description() { return AccessibleText(); }
    // The control's own state bits; the window's focus, availability and visibility are
    // added to them.
    virtual DWORD State() const = 0;
    // Null when the control has no default action.
    virtual const wchar_t* DefaultAction() const { return nullptr; }
    // Runs from the control's message queue, so that the screen reader's call returns at
    // once; the host may destroy the control from what it does.
    virtual void DoDefaultAction() {}
    // False when the control's value cannot be set.
    virtual bool TakesValue() const { return false; }
    // A value entered as a screen reader's user types it; the host may destroy the control
    // from what it does.
    virtual void EnterValue(UINT) {}

    HWND Window() const;

protected:
    explicit Accessible(BaseWindow& control) : control_(control) {}
    // The name a host gave, else the window's text, else typeName.
    AccessibleText NameOr(const char* typeName) const;
    // Cuts the accessible object off and lets go of it.
    ~Accessible();

private:
    LRESULT OnGetObject(WPARAM wParam);
    LRESULT OnLibraryMessage(WPARAM command, LPARAM lParam);

    BaseWindow& control_;
    AccessibleObject* object_ = nullptr;  // made on the first request
    std::unique_ptr<char[]> givenName_;
};
