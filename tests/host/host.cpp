#include "tests/host/host.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

template <typename Function>
static void Find(HMODULE module, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

std::string LibraryPath(const char* file)
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of("\\/") + 1) + file;
}

Veltra::Veltra(const char* file) : module(LoadLibraryA(LibraryPath(file).c_str()))
{
    Find(module, "DrawFace", DrawFace);
    Find(module, "GetBgkColorSize", GetBgkColorSize);
    Find(module, "GetObjectRect", GetObjectRect);
    Find(module, "FactroyColorButtom", FactroyColorButtom);
    Find(module, "FactroyLableControl", FactroyLableControl);
    Find(module, "FactroySlipControl", FactroySlipControl);
    Find(module, "SetAccessibleName", SetAccessibleName);
    Find(module, "SetAccessibleOption", SetAccessibleOption);
    Find(module, "FitScreen", FitScreen);
    Find(module, "FitScreenScaled", FitScreenScaled);
    Find(module, "LoadSkin", LoadSkin);
}

void Veltra::Unload()
{
    if (module)
        FreeLibrary(module);
    module = nullptr;
}

SIZE Screen()
{
    return SIZE{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

int ScaledScreen::Largest(SIZE size)
{
    int scale = 4;
    while (scale > 1 && (size.cx < 1024 * scale || size.cy < 768 * scale))
        --scale;
    return scale;
}

std::vector<ScaledScreen> FittedScreens()
{
    const SIZE here = Screen();
    const bool design = here.cx == 1024 && here.cy == 768;
    std::vector<ScaledScreen> screens = {{here, 1}, {design ? SIZE{1920, 1080} : SIZE{1024, 768}, 1}};
    if (here.cx != 800 || here.cy != 600)
        screens.push_back({{800, 600}, 1});
    if (design)
        screens.insert(screens.end(), {{{7680, 4320}, 1}, {{3840, 2160}, 2}, {{3083, 2305}, 3}, {{7680, 4320}, 4}});
    screens.push_back({here, 1});
    return screens;
}

ScratchFolder::ScratchFolder()
{
    char current[MAX_PATH], temp[MAX_PATH], name[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, current);
    previous_ = current;
    GetTempPathA(MAX_PATH, temp);
    GetTempFileNameA(temp, "vlt", 0, name);
    DeleteFileA(name);
    path_ = name;
    CreateDirectoryA(path_.c_str(), nullptr);
    SetCurrentDirectoryA(path_.c_str());
}

ScratchFolder::~ScratchFolder()
{
    SetCurrentDirectoryA(previous_.c_str());
    // The tests keep to one level of folders below the scratch folder.
    WIN32_FIND_DATAA found;
    std::vector<std::string> folders{path_};
    for (size_t i = 0; i < folders.size(); ++i) {
        HANDLE search = FindFirstFileA((folders[i] + "\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            continue;
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string full = folders[i] + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                folders.push_back(full);
            else
                DeleteFileA(full.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder)
        RemoveDirectoryA(folder->c_str());
}

void (*HostWindow::onParentNotify)(WPARAM, LPARAM) = nullptr;

namespace {

// With a library, the window is a host as the header's example has one: the face and the
// inner area in WM_PAINT; on a change of display mode the library fits, and the window
// covers the screen and repaints.
LRESULT CALLBACK HostWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const auto* face = reinterpret_cast<const Veltra*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (msg == WM_PARENTNOTIFY && HostWindow::onParentNotify)
        HostWindow::onParentNotify(wParam, lParam);
    if (msg == WM_PAINT && face) {
        PAINTSTRUCT paint;
        const HDC dc = BeginPaint(window, &paint);
        face->DrawFace(dc);
        RECT inner;
        COLORREF colour;
        face->GetBgkColorSize(&inner, &colour);
        const HBRUSH brush = CreateSolidBrush(colour);
        FillRect(dc, &inner, brush);
        DeleteObject(brush);
        EndPaint(window, &paint);
        return 0;
    }
    if (msg == WM_DISPLAYCHANGE && face && face->FitScreen(Screen().cx, Screen().cy)) {
        MoveWindow(window, 0, 0, Screen().cx, Screen().cy, FALSE);
        InvalidateRect(window, nullptr, TRUE);
    }
    if (msg == WM_ERASEBKGND)
        return 1;
    return DefWindowProcA(window, msg, wParam, lParam);
}

}  // namespace

HostWindow::HostWindow(const Veltra* face, DWORD clip, SIZE size)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = HostWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "VeltraTestHost";
    RegisterClassA(&windowClass);
    window_ = CreateWindowExA(0, windowClass.lpszClassName, "host", WS_POPUP | WS_VISIBLE | clip, 0, 0, size.cx,
                              size.cy, nullptr, nullptr, windowClass.hInstance, nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(face));
    Pump(0);
}

HostWindow::~HostWindow()
{
    onParentNotify = nullptr;
    DestroyWindow(window_);
}

namespace {

struct MadeControl {
    HWND window;
    std::function<void()> destroy;
    bool related;  // placed by the library and showing only art: a scaled load shows it larger
};

// Every control of every type code in a state of its own (three where the host put them).
std::vector<MadeControl> MakeEveryControl(const Veltra& veltra, HWND host)
{
    std::vector<MadeControl> made;
    const RECT hosts = {300, 240, 360, 260};
    for (UINT code = 0; code <= 301; ++code) {
        IColorButtom* button = nullptr;
        ILableControl* label = nullptr;
        ISlipControl* slip = nullptr;
        veltra.FactroyColorButtom(&button, code, host, nullptr, 0);
        veltra.FactroyLableControl(&label, code, host);
        veltra.FactroySlipControl(&slip, code, host, nullptr, 0);
        if (button) {
            button->SetState(static_cast<int>(code % 3));
            button->SetDot(code % 2);
            if (code == 2)
                button->MoveTo(300, 200);
            made.push_back({WindowOf(button), [button] { button->Destroy(); }, code % 2 == 0 && code != 2});
        }
        if (label) {
            label->SetText(code == 5 ? "" : code % 2 ? "3:07" : "Veltra");
            if (code == 4 && label->Create(&hosts, 4, host))
                label->RefreshBackground();  // the snapshot it took where the factory put it goes
            made.push_back({WindowOf(label), [label] { label->Destroy(); }, code == 5});
        }
        if (slip) {
            slip->SetRange(0, 1000);
            slip->SetValue(350);
            slip->SetStartMarker(200);
            slip->ShowValue(code != 0);
            if (code == 10)
                SetWindowPos(WindowOf(slip), nullptr, 400, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            made.push_back({WindowOf(slip), [slip] { slip->Destroy(); }, code == 0});
        }
    }
    return made;
}

// What each control shows, and where, once the library in file fitted to made (at scale; 0:
// the largest it holds) made them, the host loaded skin, when given, and repainted, and, when
// follow, the host followed this screen.
std::vector<Image> ShownAfterFit(DWORD clip, SIZE made, int scale, bool follow, std::vector<RECT>& places,
                                 std::vector<bool>* related = nullptr, const char* file = LibraryFile,
                                 const char* skin = nullptr)
{
    Veltra veltra(file);
    veltra.FitScreenScaled(made.cx, made.cy, scale);
    const HostWindow host(&veltra, clip, made);  // its face is painted before a label copies it
    const auto controls = MakeEveryControl(veltra, host);
    Pump(0);
    if (skin && veltra.LoadSkin(skin, nullptr, 0))
        InvalidateRect(host, nullptr, TRUE);
    Pump(0);
    if (follow && (made.cx != Screen().cx || made.cy != Screen().cy))
        SendMessageA(host, WM_DISPLAYCHANGE, 24, MAKELPARAM(Screen().cx, Screen().cy));
    Pump(0);
    std::vector<Image> shown;
    places.clear();
    for (const MadeControl& control : controls) {
        shown.push_back(Crop(Shown(control.window), OnScreen(control.window)));
        places.emplace_back();
        GetWindowRect(control.window, &places.back());
        if (related)
            related->push_back(control.related);
        control.destroy();
    }
    return shown;
}

}  // namespace

std::vector<std::string> FittedControlsUnlikeAFreshLoad()
{
    const SIZE here = Screen();
    const int s = ScaledScreen::Largest(here);
    std::vector<std::string> unlike;
    for (const DWORD clip : {DWORD{WS_CLIPCHILDREN}, DWORD{0}}) {
        std::vector<RECT> places, fittedPlaces;
        std::vector<bool> related;
        const std::vector<Image> fresh = ShownAfterFit(clip, here, 0, false, places, &related);
        std::vector<bool> apart(fresh.size(), true);  // pictures over a sibling are not compared
        for (size_t i = 0; i < fresh.size(); ++i)
            for (size_t j = 0; j < places.size(); ++j) {
                RECT common;
                apart[i] = apart[i] && (i == j || !IntersectRect(&common, &places[i], &places[j]));
            }
        // At a scale every place the library chose is that scale times the place at scale 1
        // on the laid-out screen, and at 3 (and 4) every picture of art the picture at 1 (and
        // 2) on the screen laid out for a third (and half) with every pixel a block.
        for (const int k : s == 1 ? std::vector<int>{} : s == 4 ? std::vector<int>{4, 2} : std::vector<int>{s}) {
            const SIZE smaller = ScaledScreen{here, k}.Layout();
            const std::vector<Image> small = ShownAfterFit(clip, smaller, s / k, false, fittedPlaces);
            for (size_t i = 0; i < fresh.size(); ++i) {
                const RECT& p = fittedPlaces[i];
                const RECT larger = {k * p.left, k * p.top, k * p.right, k * p.bottom};
                const std::string difference = !EqualRect(&larger, &places[i]) ? "stands elsewhere"
                                               : apart[i] && (s % 2 || k < s)
                                                   ? FirstDifference(fresh[i], Enlarge(small[i], k))
                                                   : "";
                if (related[i] && !difference.empty())
                    unlike.push_back("scale " + std::to_string(s) + " over " + std::to_string(s / k) +
                                     (clip ? " clipping" : "") + ", control " + std::to_string(i) + ": " + difference);
            }
        }
        for (const SIZE made : {SIZE{here.cx + 256, here.cy + 128}, SIZE{here.cx - 200, here.cy - 120}}) {
            const std::vector<Image> fitted = ShownAfterFit(clip, made, 0, true, fittedPlaces);
            for (size_t i = 0; i < fresh.size(); ++i) {
                const std::string difference = !EqualRect(&fittedPlaces[i], &places[i]) ? "stands elsewhere"
                                               : apart[i] ? FirstDifference(fitted[i], fresh[i])
                                                          : "";
                if (!difference.empty())
                    unlike.push_back(std::to_string(made.cx) + "x" + std::to_string(made.cy) + (clip ? " clipping" : "") +
                                     ", control " + std::to_string(i) + ": " + difference);
            }
        }
    }
    return unlike;
}

std::vector<Image> ControlsShown(const char* file, SIZE made, int scale, const char* skin, std::vector<RECT>& places)
{
    return ShownAfterFit(WS_CLIPCHILDREN, made, scale, false, places, nullptr, file, skin);
}

void Pump(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        const DWORD spent = GetTickCount() - start;
        if (spent >= milliseconds)
            return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - spent, QS_ALLINPUT);
    }
}

Image Capture(HWND window)
{
    UpdateWindow(window);
    return Shown(window);
}

Image Shown(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    Canvas copy(client.right, client.bottom, 0);
    HDC dc = GetDC(window);
    BitBlt(copy.dc(), 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
    return copy.Read();
}

RECT OnScreen(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    const RECT screen = {0, 0, Screen().cx, Screen().cy};
    RECT shown;
    if (!IntersectRect(&shown, &client, &screen))
        return RECT{};
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&shown), 2);
    return shown;
}

VARIANT Self()
{
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    return self;
}

ScreenReaderView::ScreenReaderView(HWND window)
{
    // __uuidof, not IID_IAccessible: the import library takes that for a function of oleacc.
    AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                               reinterpret_cast<void**>(&object));
}

void ScreenReaderView::Let()
{
    if (object)
        object->Release();
    object = nullptr;
}

std::string ScreenReaderView::Text(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*)) const
{
    BSTR text = nullptr;
    if (!object || (object->*get)(Self(), &text) != S_OK || !text)
        return "";
    const int length = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(length > 0 ? length - 1 : 0, '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, &narrow[0], length, nullptr, nullptr);
    SysFreeString(text);
    return narrow;
}

LONG ScreenReaderView::Number(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*)) const
{
    VARIANT number;
    number.vt = VT_EMPTY;
    if (!object || (object->*get)(Self(), &number) != S_OK || number.vt != VT_I4)
        return -1;
    return number.lVal;
}

RECT ScreenReaderView::Location() const
{
    long left = 0, top = 0, width = 0, height = 0;
    if (object)
        object->accLocation(&left, &top, &width, &height, Self());
    return RECT{left, top, left + width, top + height};
}

HRESULT ScreenReaderView::PutValue(const wchar_t* text) const
{
    BSTR value = SysAllocString(text);
    const HRESULT result = object->put_accValue(Self(), value);
    SysFreeString(value);
    return result;
}

namespace {

struct HeardEvent {
    DWORD event;
    HWND window;
    LONG object;
    LONG child;
};

std::vector<HeardEvent> heard;

void CALLBACK Hear(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD)
{
    heard.push_back({event, window, object, child});
}

}  // namespace

WinEventLog::WinEventLog()
    : hook_(SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, Hear, GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT))
{
    heard.clear();
}

WinEventLog::~WinEventLog()
{
    UnhookWinEvent(hook_);
    heard.clear();
}

std::vector<DWORD> WinEventLog::For(HWND window)
{
    Pump(0);
    std::vector<DWORD> events;
    for (const HeardEvent& e : heard)
        if (e.window == window && e.object == OBJID_CLIENT && e.child == CHILDID_SELF)
            events.push_back(e.event);
    return events;
}

void WinEventLog::Clear()
{
    Pump(0);
    heard.clear();
}
