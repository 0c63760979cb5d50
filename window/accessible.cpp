#include "window/accessible.h"

#include <cstdarg>
#include <cstdio>
#include <new>
#include <utility>

#include "common/library.h"
#include "window/base_window.h"

namespace {

// The commands of the library's accessibility message, its wParam.
enum AccessCommand : WPARAM {
    AccessDefaultAction = 1,  // posted by the accessible object
    AccessName = 2,           // sent by SetAccessibleName; lParam: the name, or null
};

// What every call on the object of a control that is gone returns.
constexpr HRESULT Disconnected = RPC_E_DISCONNECTED;

bool IsSelf(const VARIANT& child)
{
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// A function of a loaded module, as the type it has.
template <typename Function>
void Find(Function& function, HMODULE module, const char* name)
{
    function = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// Loads the system's accessibility functions once. The library then stays loaded for the
// life of the process: a screen reader may release an accessible object at any time, and
// its code must still be there when it does. False when the system has none to give.
bool LoadAccessibility()
{
    AccessibilityApi& api = Library.Access;
    if (api.ResultFromObject)
        return true;
    const HMODULE oleacc = LoadLibraryA("oleacc.dll");
    const HMODULE oleaut = LoadLibraryA("oleaut32.dll");
    if (!oleacc || !oleaut)
        return false;
    decltype(api.ResultFromObject) result;
    Find(result, oleacc, "LresultFromObject");
    Find(api.ObjectFromWindow, oleacc, "AccessibleObjectFromWindow");
    Find(api.AllocString, oleaut, "SysAllocStringLen");
    HMODULE self;
    if (!result || !api.ObjectFromWindow || !api.AllocString ||
        !GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                            reinterpret_cast<LPCSTR>(&Library), &self))
        return false;
    api.ResultFromObject = result;  // last: it marks the functions as loaded
    return true;
}

// An ANSI text as a BSTR, which the caller frees.
BSTR ToBstr(const char* text)
{
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 0)
        return nullptr;
    BSTR bstr = Library.Access.AllocString(nullptr, length - 1);
    if (bstr)
        MultiByteToWideChar(CP_ACP, 0, text, -1, bstr, length);
    return bstr;
}

// A decimal number of 32 bits, signed or not, with an optional sign; false for anything
// else.
bool ParseDecimal(const wchar_t* text, UINT& value)
{
    if (!text)
        return false;
    const bool negative = *text == L'-';
    if (*text == L'-' || *text == L'+')
        ++text;
    if (!*text)
        return false;
    ULONGLONG magnitude = 0;
    for (; *text; ++text) {
        if (*text < L'0' || *text > L'9')
            return false;
        magnitude = magnitude * 10 + (*text - L'0');
        if (magnitude > (negative ? 0x80000000ull : 0xFFFFFFFFull))
            return false;
    }
    value = static_cast<UINT>(negative ? 0 - magnitude : magnitude);
    return true;
}

}  // namespace

// The client-area object a screen reader holds. It reads everything from its control
// while the control lives; once the control is gone it keeps nothing of it.
class AccessibleObject final : public IAccessible {
public:
    explicit AccessibleObject(Accessible& owner) : owner_(&owner) {}

    // The control is going: from now on every call fails.
    void Disconnect() { owner_ = nullptr; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --references_;
        if (!left)
            delete this;
        return left;
    }

    // IDispatch: the properties are read through IAccessible only.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (!count)
            return E_POINTER;
        *count = 0;
        return owner_ ? S_OK : Disconnected;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override
    {
        if (info)
            *info = nullptr;
        return owner_ ? E_NOTIMPL : Disconnected;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override
    {
        return owner_ ? E_NOTIMPL : Disconnected;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return owner_ ? E_NOTIMPL : Disconnected;
    }

    // IAccessible: one object, the control itself, without children.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override
    {
        if (!parent)
            return E_POINTER;
        *parent = nullptr;
        if (!owner_)
            return Disconnected;
        return Library.Access.ObjectFromWindow(owner_->Window(), static_cast<DWORD>(OBJID_WINDOW),
                                               __uuidof(IDispatch), reinterpret_cast<void**>(parent));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override
    {
        if (!count)
            return E_POINTER;
        *count = 0;
        return owner_ ? S_OK : Disconnected;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT, IDispatch** child) override
    {
        if (!child)
            return E_POINTER;
        *child = nullptr;
        return owner_ ? E_INVALIDARG : Disconnected;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override
    {
        return ReadText(child, name, [](Accessible& owner) { return owner.Name(); });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override
    {
        return ReadText(child, value, [](Accessible& owner) { return owner.Value(); });
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override
    {
        return ReadText(child, description, [](Accessible& owner) { return owner.Description(); });
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override
    {
        return ReadNumber(child, role, [](Accessible& owner) { return owner.Role(); });
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override
    {
        return ReadNumber(child, state, [](Accessible& owner) {
            const HWND window = owner.Window();
            DWORD bits = owner.State();
            if (GetFocus() == window)
                bits |= STATE_SYSTEM_FOCUSED;
            if (!IsWindowEnabled(window))
                bits |= STATE_SYSTEM_UNAVAILABLE;
            if (!IsWindowVisible(window))
                bits |= STATE_SYSTEM_INVISIBLE;
            return static_cast<LONG>(bits);
        });
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override
    {
        return ReadText(child, help, [](Accessible&) { return AccessibleText(); });
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override
    {
        if (!file || !topic)
            return E_POINTER;
        *file = nullptr;
        *topic = 0;
        return Unsupported(child);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override
    {
        return ReadText(child, shortcut, [](Accessible&) { return AccessibleText(); });
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override
    {
        return Where(focus, owner_ && GetFocus() == owner_->Window());
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override { return Where(selection, false); }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override
    {
        if (!action)
            return E_POINTER;
        *action = nullptr;
        if (const HRESULT checked = Check(child))
            return checked;
        const wchar_t* text = owner_->DefaultAction();
        if (!text)
            return S_FALSE;
        *action = Library.Access.AllocString(text, lstrlenW(text));
        return *action ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE accSelect(long, VARIANT child) override
    {
        // The controls take the focus only from a click, and select nothing.
        return Unsupported(child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override
    {
        if (!left || !top || !width || !height)
            return E_POINTER;
        *left = *top = *width = *height = 0;
        if (const HRESULT checked = Check(child))
            return checked;
        RECT rect;
        if (!GetWindowRect(owner_->Window(), &rect))
            return E_FAIL;
        *left = rect.left;
        *top = rect.top;
        *width = rect.right - rect.left;
        *height = rect.bottom - rect.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long, VARIANT start, VARIANT* end) override
    {
        if (!end)
            return E_POINTER;
        end->vt = VT_EMPTY;
        // Without children there is nowhere to go; the window's object knows the siblings.
        const HRESULT checked = Check(start);
        return checked ? checked : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override
    {
        RECT rect = {};
        const POINT point = {x, y};
        return Where(hit, owner_ && GetWindowRect(owner_->Window(), &rect) && PtInRect(&rect, point));
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        if (const HRESULT checked = Check(child))
            return checked;
        if (!owner_->DefaultAction())
            return DISP_E_MEMBERNOTFOUND;
        return PostMessageA(owner_->Window(), Library.AccessMessage, AccessDefaultAction, 0) ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR) override
    {
        return Unsupported(child);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR text) override
    {
        if (const HRESULT checked = Check(child))
            return checked;
        if (!owner_->TakesValue())
            return DISP_E_MEMBERNOTFOUND;
        UINT value;
        if (!ParseDecimal(text, value))
            return E_INVALIDARG;
        // The host may destroy the control on hearing of the value: nothing of it is read after.
        owner_->EnterValue(value);
        return S_OK;
    }

private:
    ~AccessibleObject() = default;

    // S_OK when the control lives and child names it.
    HRESULT Check(const VARIANT& child) const
    {
        if (!owner_)
            return Disconnected;
        return IsSelf(child) ? S_OK : E_INVALIDARG;
    }

    // What a call the controls do not support returns.
    HRESULT Unsupported(const VARIANT& child) const
    {
        const HRESULT checked = Check(child);
        return checked ? checked : DISP_E_MEMBERNOTFOUND;
    }

    template <typename Read>
    HRESULT ReadText(const VARIANT& child, BSTR* out, Read read)
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (const HRESULT checked = Check(child))
            return checked;
        const AccessibleText text = read(*owner_);
        if (!text.Get())
            return S_FALSE;
        *out = ToBstr(text.Get());
        return *out ? S_OK : E_OUTOFMEMORY;
    }

    template <typename Read>
    HRESULT ReadNumber(const VARIANT& child, VARIANT* out, Read read)
    {
        if (!out)
            return E_POINTER;
        out->vt = VT_EMPTY;
        if (const HRESULT checked = Check(child))
            return checked;
        out->vt = VT_I4;
        out->lVal = read(*owner_);
        return S_OK;
    }

    // The control itself when here is true, else nothing.
    HRESULT Where(VARIANT* out, bool here) const
    {
        if (!out)
            return E_POINTER;
        out->vt = VT_EMPTY;
        if (!owner_)
            return Disconnected;
        if (!here)
            return S_FALSE;
        out->vt = VT_I4;
        out->lVal = CHILDID_SELF;
        return S_OK;
    }

    ULONG references_ = 1;
    Accessible* owner_;
};

AccessibleText AccessibleText::Format(const char* format, ...)
{
    va_list args, again;
    va_start(args, format);
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    std::unique_ptr<char[]> copy(length >= 0 ? new (std::nothrow) char[length + 1] : nullptr);
    if (copy)
        std::vsnprintf(copy.get(), length + 1, format, again);
    va_end(again);
    va_end(args);
    return AccessibleText(std::move(copy));
}

Accessible::~Accessible()
{
    if (object_) {
        object_->Disconnect();
        object_->Release();
    }
}

HWND Accessible::Window() const
{
    return control_.hWnd;
}

AccessibleText Accessible::NameOr(const char* typeName) const
{
    if (GivenName())
        return AccessibleText(GivenName());
    AccessibleText own(WindowText(Window()));
    return own.Get() ? std::move(own) : AccessibleText(typeName);
}

bool Accessible::Handles(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT) {
        // Refused, the request goes on to the system, which serves a plain object.
        result = OnGetObject(wParam);
        return result > 0;
    }
    if (Library.AccessMessage && msg == Library.AccessMessage) {
        result = OnLibraryMessage(wParam, lParam);
        return true;
    }
    return false;
}

void Accessible::Announce(DWORD event) const
{
    NotifyWinEvent(event, Window(), OBJID_CLIENT, CHILDID_SELF);
}

LRESULT Accessible::OnGetObject(WPARAM wParam)
{
    if (!LoadAccessibility())
        return 0;
    if (!object_)
        object_ = new (std::nothrow) AccessibleObject(*this);
    if (!object_)
        return 0;
    return Library.Access.ResultFromObject(__uuidof(IAccessible), wParam, object_);
}

LRESULT Accessible::OnLibraryMessage(WPARAM command, LPARAM lParam)
{
    switch (command) {
    case AccessDefaultAction:
        DoDefaultAction();  // last: the host may destroy the control meanwhile
        return 0;
    case AccessName: {
        const char* name = reinterpret_cast<const char*>(lParam);
        std::unique_ptr<char[]> copy;
        if (name) {
            const size_t length = lstrlenA(name);
            copy.reset(new (std::nothrow) char[length + 1]);
            if (!copy)
                return FALSE;
            lstrcpynA(copy.get(), name, static_cast<int>(length + 1));
        }
        givenName_ = std::move(copy);
        Announce(EVENT_OBJECT_NAMECHANGE);
        return TRUE;
    }
    default:
        return 0;
    }
}

extern "C" BOOL WINAPI SetAccessibleName(void* control, const char* name)
{
    // Only a live control of this library, bound to its window, is asked.
    auto* object = static_cast<BaseWindow*>(control);
    if (!object || !Library.AccessMessage || LibraryObject(object->hWnd) != object)
        return FALSE;
    return static_cast<BOOL>(object->WindowProc(object->hWnd, Library.AccessMessage, AccessName,
                                                reinterpret_cast<LPARAM>(name)));
}
