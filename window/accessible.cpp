#include "window/accessible.h"

#include <cstdarg>
#include <cstdio>
#include <iterator>
#include <new>
#include <utility>

#include "common/library.h"
#include "window/base_window.h"
#include "window/fitted.h"

// A request of one of the exports to a control, made on the host's thread.
struct HostAccessRequest {
    const BaseWindow* control;
    const char* name;  // SetAccessibleName's; null: the control's own name again
    bool option;       // else a name
    int which;
    int value;
};

// A screen reader's call on another thread than the window's, waiting to be run there.
struct CrossThreadCall {
    HWND window;
    HRESULT (*run)(void* work);
    void* work;
    HRESULT result;
    bool ran;
    CrossThreadCall* next;
};

namespace {

// The commands of the library's accessibility message, its wParam. None carries anything
// the library would read: a message from elsewhere finds nothing waiting and does nothing.
enum AccessCommand : WPARAM {
    AccessRunCalls = 1,  // runs the calls waiting for this window
    AccessDeliver = 2,   // delivers one default action or value waiting for this control
    AccessHostRequest = 3,  // applies the export's request under way, when it is this control's
};

// What every call on the object of a control that is gone returns.
constexpr HRESULT Disconnected = RPC_E_DISCONNECTED;

// A function of a loaded module, as the type it has.
template <typename Function>
void Find(Function& function, HMODULE module, const char* name)
{
    function = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// A module of the system's own folder, never one that lies elsewhere on the search path.
HMODULE LoadSystemModule(const char* name)
{
    char path[MAX_PATH];
    const UINT folder = GetSystemDirectoryA(path, MAX_PATH);
    if (!folder || folder + 1 + lstrlenA(name) >= MAX_PATH)
        return nullptr;
    path[folder] = '\\';
    lstrcpynA(path + folder + 1, name, MAX_PATH - folder - 1);
    return LoadLibraryA(path);
}

// Loads the system's accessibility functions once. The library then stays loaded for the
// life of the process: a screen reader may release an accessible object at any time, and
// its code must still be there when it does. False when the system has none to give.
bool LoadAccessibility()
{
    AccessibilityApi& api = Library.Access;
    if (api.ResultFromObject)
        return true;
    const HMODULE oleacc = LoadSystemModule("oleacc.dll");
    const HMODULE oleaut = LoadSystemModule("oleaut32.dll");
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

class QueueLock {
public:
    QueueLock() { EnterCriticalSection(&Library.Calls.Lock); }
    ~QueueLock() { LeaveCriticalSection(&Library.Calls.Lock); }
    QueueLock(const QueueLock&) = delete;
    QueueLock& operator=(const QueueLock&) = delete;
};

// Takes call out of the queue; false when it was no longer there.
bool Unqueue(CrossThreadCall* call)
{
    QueueLock lock;
    for (CrossThreadCall** link = &Library.Calls.First; *link; link = &(*link)->next)
        if (*link == call) {
            *link = call->next;
            return true;
        }
    return false;
}

CrossThreadCall* TakeCallFor(HWND window)
{
    QueueLock lock;
    for (CrossThreadCall** link = &Library.Calls.First; *link; link = &(*link)->next)
        if ((*link)->window == window) {
            CrossThreadCall* call = *link;
            *link = call->next;
            return call;
        }
    return nullptr;
}

// Runs work on window's thread while this thread waits: the call is queued where only the
// library looks, and the message that has the window's thread run it carries nothing. When
// the window is gone before the call ran, the control is too.
HRESULT RunOnWindowThread(HWND window, HRESULT (*run)(void*), void* work)
{
    CrossThreadCall call = {window, run, work, Disconnected, false, nullptr};
    {
        QueueLock lock;
        call.next = Library.Calls.First;
        Library.Calls.First = &call;
    }
    SendMessageA(window, Library.AccessMessage, AccessRunCalls, 0);
    // Run or not, the window's thread is done with it once the message has been answered.
    Unqueue(&call);
    return call.ran ? call.result : Disconnected;
}

}  // namespace

bool Enabled(HWND window)
{
    const HWND desktop = GetDesktopWindow();
    for (HWND w = window; w && w != desktop; w = GetAncestor(w, GA_PARENT))
        if (!IsWindowEnabled(w))
            return false;
    return true;
}

bool Operable(HWND window)
{
    return IsWindowVisible(window) && Enabled(window);
}

// The client-area object a screen reader holds for one window of a control. It reads
// everything from its control while the control serves that window; after that it keeps
// nothing of it. Its reference count is the only thing touched off the window's thread.
class AccessibleObject final : public IAccessible {
public:
    AccessibleObject(Accessible& owner, HWND window)
        : owner_(&owner), window_(window), thread_(GetCurrentThreadId())
    {
    }

    HWND Window() const { return window_; }
    // The control is going, or has left this window: from now on every call fails.
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
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&references_);
        if (!left)
            delete this;
        return static_cast<ULONG>(left);
    }

    // IDispatch: the properties are read through IAccessible only.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (!count)
            return E_POINTER;
        *count = 0;
        return Run([&] { return Live() ? S_OK : Disconnected; });
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override
    {
        if (info)
            *info = nullptr;
        return NotImplemented();
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override
    {
        return NotImplemented();
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return NotImplemented();
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override
    {
        if (!parent)
            return E_POINTER;
        *parent = nullptr;
        return Run([&] {
            return Live() ? Library.Access.ObjectFromWindow(window_, static_cast<DWORD>(OBJID_WINDOW),
                                                            __uuidof(IDispatch), reinterpret_cast<void**>(parent))
                          : Disconnected;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override
    {
        if (!count)
            return E_POINTER;
        *count = 0;
        return Run([&] {
            if (!Live())
                return Disconnected;
            *count = owner_->Parts();
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        return Run([&] {
            if (const HRESULT checked = Check(child))
                return checked;
            if (child.lVal == CHILDID_SELF)
                return E_INVALIDARG;
            // A part that is a window of its own is that window's object; the others are
            // simple elements of this one.
            const HWND part = owner_->PartWindow(child.lVal);
            return part ? Library.Access.ObjectFromWindow(part, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IDispatch),
                                                          reinterpret_cast<void**>(out))
                        : S_FALSE;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override
    {
        return ReadText(child, name, [](Accessible& owner, LONG id) { return owner.Name(id); });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override
    {
        return ReadText(child, value, [](Accessible& owner, LONG id) { return owner.Value(id); });
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override
    {
        return ReadText(child, description, [](Accessible& owner, LONG id) { return owner.Description(id); });
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override
    {
        return ReadNumber(child, role, [](Accessible& owner, LONG id) { return owner.Role(id); });
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override
    {
        return ReadNumber(child, state, [this](Accessible& owner, LONG id) {
            DWORD bits = owner.State(id);
            if (Focused() == id)
                bits |= STATE_SYSTEM_FOCUSED;
            if (!IsWindowVisible(window_))
                bits |= STATE_SYSTEM_INVISIBLE;
            if (!Enabled(window_))
                bits |= STATE_SYSTEM_UNAVAILABLE;
            return static_cast<LONG>(bits);
        });
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override
    {
        return ReadText(child, help, [](Accessible&, LONG) { return AccessibleText(); });
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override
    {
        if (!file || !topic)
            return E_POINTER;
        *file = nullptr;
        *topic = 0;
        return Run([&] {
            const HRESULT checked = Check(child);
            return checked ? checked : DISP_E_MEMBERNOTFOUND;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override
    {
        return ReadText(child, shortcut, [](Accessible&, LONG) { return AccessibleText(); });
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override
    {
        return Where(focus, [this] { return Focused(); });
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override
    {
        return Where(selection, [] { return NoPart; });
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override
    {
        if (!action)
            return E_POINTER;
        *action = nullptr;
        return Run([&] {
            if (const HRESULT checked = Check(child))
                return checked;
            const wchar_t* text = owner_->DefaultAction(child.lVal);
            if (!text)
                return S_FALSE;
            *action = Library.Access.AllocString(text, lstrlenW(text));
            return *action ? S_OK : E_OUTOFMEMORY;
        });
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override
    {
        return Run([&] {
            if (const HRESULT checked = Check(child))
                return checked;
            // Taking the focus is all the controls select.
            if (child.lVal != CHILDID_SELF || flags != SELFLAG_TAKEFOCUS)
                return E_INVALIDARG;
            if (!(owner_->State(CHILDID_SELF) & STATE_SYSTEM_FOCUSABLE))
                return DISP_E_MEMBERNOTFOUND;
            if (!Operable(window_))
                return E_ACCESSDENIED;
            SetFocus(window_);
            return GetFocus() == window_ ? S_OK : E_FAIL;
        });
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override
    {
        if (!left || !top || !width || !height)
            return E_POINTER;
        *left = *top = *width = *height = 0;
        return Run([&] {
            if (const HRESULT checked = Check(child))
                return checked;
            RECT rect;
            if (!ScreenRect(child.lVal, rect))
                return E_FAIL;
            *left = rect.left;
            *top = rect.top;
            *width = rect.right - rect.left;
            *height = rect.bottom - rect.top;
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override
    {
        if (!end)
            return E_POINTER;
        end->vt = VT_EMPTY;
        return Run([&] {
            if (const HRESULT checked = Check(start))
                return checked;
            // Among the parts only; the window's object knows the control's siblings.
            const LONG parts = owner_->Parts();
            LONG to = NoPart;
            if (start.lVal == CHILDID_SELF)
                to = direction == NAVDIR_FIRSTCHILD ? 1 : direction == NAVDIR_LASTCHILD ? parts : NoPart;
            else if (direction == NAVDIR_NEXT || direction == NAVDIR_RIGHT || direction == NAVDIR_DOWN)
                to = start.lVal + 1;
            else if (direction == NAVDIR_PREVIOUS || direction == NAVDIR_LEFT || direction == NAVDIR_UP)
                to = start.lVal - 1;
            if (to < 1 || to > parts)
                return S_FALSE;
            end->vt = VT_I4;
            end->lVal = to;
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override
    {
        return Where(hit, [&] {
            const POINT point = {x, y};
            RECT rect;
            for (LONG part = owner_->Parts(); part >= 1; --part)
                if (ScreenRect(part, rect) && PtInRect(&rect, point))
                    return part;
            return ScreenRect(CHILDID_SELF, rect) && PtInRect(&rect, point) ? LONG{CHILDID_SELF} : NoPart;
        });
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        return Run([&] {
            if (const HRESULT checked = Check(child))
                return checked;
            if (!owner_->DefaultAction(child.lVal))
                return DISP_E_MEMBERNOTFOUND;
            return Ask({child.lVal, false, 0});
        });
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR) override
    {
        return Run([&] {
            const HRESULT checked = Check(child);
            return checked ? checked : DISP_E_MEMBERNOTFOUND;
        });
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR text) override
    {
        return Run([&] {
            if (const HRESULT checked = Check(child))
                return checked;
            if (child.lVal != CHILDID_SELF || !owner_->TakesValue())
                return DISP_E_MEMBERNOTFOUND;
            UINT value;
            if (!ParseDecimal(text, value))
                return E_INVALIDARG;
            return Ask({CHILDID_SELF, true, value});
        });
    }

private:
    // What Where answers when nothing is there.
    static constexpr LONG NoPart = -1;

    ~AccessibleObject() = default;

    // Runs work on the window's thread, carrying the call there when it was made elsewhere.
    template <typename Work>
    HRESULT Run(Work work)
    {
        if (GetCurrentThreadId() == thread_)
            return work();
        return RunOnWindowThread(window_, [](void* w) { return (*static_cast<Work*>(w))(); }, &work);
    }

    HRESULT NotImplemented()
    {
        return Run([this] { return Live() ? E_NOTIMPL : Disconnected; });
    }

    // Whether the control still serves this object's window.
    bool Live() const { return owner_ && owner_->Window() == window_; }

    // S_OK when the control lives and child names it or one of its parts.
    HRESULT Check(const VARIANT& child) const
    {
        if (!Live())
            return Disconnected;
        return child.vt == VT_I4 && child.lVal >= CHILDID_SELF && child.lVal <= owner_->Parts() ? S_OK : E_INVALIDARG;
    }

    // A default action or a value, refused where a user could not click, and delivered by
    // the window procedure after the screen reader's call has returned.
    HRESULT Ask(const Accessible::Request& request)
    {
        if (!Operable(window_))
            return E_ACCESSDENIED;
        return owner_->Queue(request) ? S_OK : E_FAIL;
    }

    // The control or part that has the focus, or NoPart.
    LONG Focused() const
    {
        const HWND focus = GetFocus();
        if (focus && focus == window_)
            return CHILDID_SELF;
        for (LONG part = owner_->Parts(); focus && part >= 1; --part)
            if (owner_->PartWindow(part) == focus)
                return part;
        return NoPart;
    }

    bool ScreenRect(LONG child, RECT& rect) const
    {
        if (child == CHILDID_SELF)
            return GetWindowRect(window_, &rect) != FALSE;
        if (const HWND part = owner_->PartWindow(child))
            return GetWindowRect(part, &rect) != FALSE;
        rect = owner_->PartRect(child);
        MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&rect), 2);
        return true;
    }

    template <typename Read>
    HRESULT ReadText(const VARIANT& child, BSTR* out, Read read)
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        return Run([&] {
            if (const HRESULT checked = Check(child))
                return checked;
            const AccessibleText text = read(*owner_, child.lVal);
            if (!text.Get())
                return S_FALSE;
            *out = ToBstr(text.Get());
            return *out ? S_OK : E_OUTOFMEMORY;
        });
    }

    template <typename Read>
    HRESULT ReadNumber(const VARIANT& child, VARIANT* out, Read read)
    {
        if (!out)
            return E_POINTER;
        out->vt = VT_EMPTY;
        return Run([&] {
            if (const HRESULT checked = Check(child))
                return checked;
            out->vt = VT_I4;
            out->lVal = read(*owner_, child.lVal);
            return S_OK;
        });
    }

    // The control or the part that find names, else nothing.
    template <typename Find>
    HRESULT Where(VARIANT* out, Find find)
    {
        if (!out)
            return E_POINTER;
        out->vt = VT_EMPTY;
        return Run([&] {
            if (!Live())
                return Disconnected;
            const LONG found = find();
            if (found == NoPart)
                return S_FALSE;
            out->vt = VT_I4;
            out->lVal = found;
            return S_OK;
        });
    }

    volatile LONG references_ = 1;
    Accessible* owner_;  // read and written on the window's thread only
    const HWND window_;
    const DWORD thread_;
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
    Disconnect();
}

void Accessible::Disconnect()
{
    if (object_) {
        object_->Disconnect();
        std::exchange(object_, nullptr)->Release();
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
        result = OnLibraryMessage(wParam);
        return true;
    }
    return false;
}

void Accessible::Announce(DWORD event, LONG child) const
{
    NotifyWinEvent(event, Window(), OBJID_CLIENT, child);
}

LRESULT Accessible::OnGetObject(WPARAM wParam)
{
    if (!LoadAccessibility())
        return 0;
    // An object serves one window: one the control has left answers no more.
    if (object_ && object_->Window() != Window())
        Disconnect();
    if (!object_)
        object_ = new (std::nothrow) AccessibleObject(*this, Window());
    if (!object_)
        return 0;
    return Library.Access.ResultFromObject(__uuidof(IAccessible), wParam, object_);
}

bool Accessible::Queue(const Request& request)
{
    if (queued_ == static_cast<int>(std::size(queue_)) || !PostMessageA(Window(), Library.AccessMessage, AccessDeliver, 0))
        return false;
    queue_[queued_++] = request;
    return true;
}

// One request a message, so that a host that destroys the control on hearing of one hears
// of no other.
void Accessible::DeliverOne()
{
    if (!queued_)
        return;
    const Request request = queue_[0];
    std::move(queue_ + 1, queue_ + queued_, queue_);
    --queued_;
    // Looked at again: the window may have been hidden or disabled since the request.
    if (!Operable(Window()))
        return;
    if (request.value)
        EnterValue(request.number);  // last: the host may destroy the control meanwhile
    else
        DoDefaultAction(request.child);
}

LRESULT Accessible::OnLibraryMessage(WPARAM command)
{
    switch (command) {
    case AccessRunCalls: {
        // A call may hand control to the host (taking the focus does): nothing of the control
        // is read between calls, and a call for a control that is gone finds it so.
        const HWND window = Window();
        while (CrossThreadCall* call = TakeCallFor(window)) {
            call->result = call->run(call->work);
            call->ran = true;
        }
        return 0;
    }
    case AccessDeliver:
        DeliverOne();
        return 0;
    case AccessHostRequest: {
        const HostAccessRequest* request = Library.HostRequest;
        if (!request || request->control != &control_)
            return FALSE;
        if (request->option)
            return SetOption(request->which, request->value);
        std::unique_ptr<char[]> copy;
        if (request->name) {
            const size_t length = lstrlenA(request->name);
            copy.reset(new (std::nothrow) char[length + 1]);
            if (!copy)
                return FALSE;
            lstrcpynA(copy.get(), request->name, static_cast<int>(length + 1));
        }
        givenName_ = std::move(copy);
        Announce(EVENT_OBJECT_NAMECHANGE);
        return TRUE;
    }
    default:
        return 0;
    }
}

namespace {

// Hands request to the control it names, when that is a live control of this library bound
// to its window. The host's pointer is looked up among the live controls before anything is
// read through it: it may be freed, a window handle, or anything else.
BOOL AskControl(const HostAccessRequest& request)
{
    auto* object = const_cast<BaseWindow*>(request.control);
    if (!Fitted::IsLive(object) || !Library.AccessMessage || LibraryObject(object->hWnd) != object)
        return FALSE;
    Library.HostRequest = &request;
    const LRESULT done = object->WindowProc(object->hWnd, Library.AccessMessage, AccessHostRequest, 0);
    Library.HostRequest = nullptr;
    return static_cast<BOOL>(done);
}

}  // namespace

extern "C" BOOL WINAPI SetAccessibleName(void* control, const char* name)
{
    return AskControl({static_cast<BaseWindow*>(control), name, false, 0, 0});
}

extern "C" BOOL WINAPI SetAccessibleOption(void* control, int option, int value)
{
    return AskControl({static_cast<BaseWindow*>(control), nullptr, true, option, value});
}
