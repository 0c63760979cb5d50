#include "tests/support/ledger.h"

#include <cstdlib>
#include <cstring>
#include <sstream>

#include "tests/support/import_table.h"

namespace {

Ledger* current = nullptr;

// The original of each hooked function, filled when a module's import is patched.
#define ORIGINAL(name) Original##name
#define DECLARE_ORIGINAL(name) decltype(&::name) ORIGINAL(name) = nullptr;
DECLARE_ORIGINAL(CreateCompatibleDC)
DECLARE_ORIGINAL(DeleteDC)
DECLARE_ORIGINAL(GetDC)
DECLARE_ORIGINAL(ReleaseDC)
DECLARE_ORIGINAL(CreateCompatibleBitmap)
DECLARE_ORIGINAL(CreateBitmap)
DECLARE_ORIGINAL(LoadBitmapA)
DECLARE_ORIGINAL(LoadImageA)
DECLARE_ORIGINAL(CreatePen)
DECLARE_ORIGINAL(CreateSolidBrush)
DECLARE_ORIGINAL(CreateFontIndirectA)
DECLARE_ORIGINAL(CreateRectRgn)
DECLARE_ORIGINAL(DeleteObject)
DECLARE_ORIGINAL(SelectObject)
DECLARE_ORIGINAL(BitBlt)
DECLARE_ORIGINAL(CreateWindowExA)
DECLARE_ORIGINAL(DestroyWindow)
DECLARE_ORIGINAL(SetTimer)
DECLARE_ORIGINAL(KillTimer)
DECLARE_ORIGINAL(InvalidateRect)
DECLARE_ORIGINAL(InvalidateRgn)
DECLARE_ORIGINAL(SetWindowLongA)
DECLARE_ORIGINAL(SetWindowPos)
DECLARE_ORIGINAL(malloc)
DECLARE_ORIGINAL(calloc)
DECLARE_ORIGINAL(realloc)
DECLARE_ORIGINAL(free)
DECLARE_ORIGINAL(_strdup)

// A refused creation fails as the system's would: a null handle and a reason.
template <typename Handle>
Handle Refused()
{
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return Handle{};
}

HDC WINAPI HookCreateCompatibleDC(HDC dc)
{
    if (current->Refuse())
        return Refused<HDC>();
    HDC made = ORIGINAL(CreateCompatibleDC)(dc);
    current->Count("CreateCompatibleDC");
    current->Made(made, "dc", "CreateCompatibleDC");
    current->RememberDefaults(made);
    return made;
}

BOOL WINAPI HookDeleteDC(HDC dc)
{
    current->Count("DeleteDC");
    current->CheckDefaults(dc);
    const BOOL deleted = ORIGINAL(DeleteDC)(dc);
    if (deleted)
        current->Gone(dc, "DeleteDC");
    else
        current->Fault("DeleteDC failed");
    return deleted;
}

int WINAPI HookReleaseDC(HWND window, HDC dc)
{
    current->Count("ReleaseDC");
    current->Gone(dc, "ReleaseDC");
    return ORIGINAL(ReleaseDC)(window, dc);
}

// A function that makes an object: counted, and the object entered in the ledger.
#define MAKER(Return, name, kind, params, args)          \
    Return WINAPI Hook##name params                      \
    {                                                    \
        if (current->Refuse())                           \
            return Refused<Return>();                    \
        Return made = ORIGINAL(name) args;               \
        current->Count(#name);                           \
        current->Made(made, kind, #name);                \
        return made;                                     \
    }

MAKER(HDC, GetDC, "window dc", (HWND window), (window))
MAKER(HBITMAP, CreateCompatibleBitmap, "bitmap", (HDC dc, int cx, int cy), (dc, cx, cy))
MAKER(HBITMAP, CreateBitmap, "bitmap", (int cx, int cy, UINT planes, UINT bits, const void* data),
      (cx, cy, planes, bits, data))
MAKER(HBITMAP, LoadBitmapA, "bitmap", (HINSTANCE module, LPCSTR name), (module, name))
MAKER(HPEN, CreatePen, "pen", (int style, int width, COLORREF color), (style, width, color))
MAKER(HBRUSH, CreateSolidBrush, "brush", (COLORREF color), (color))
MAKER(HFONT, CreateFontIndirectA, "font", (const LOGFONTA* font), (font))
MAKER(HRGN, CreateRectRgn, "region", (int left, int top, int right, int bottom), (left, top, right, bottom))
MAKER(HWND, CreateWindowExA, "window",
      (DWORD exStyle, LPCSTR className, LPCSTR name, DWORD style, int x, int y, int cx, int cy, HWND parent,
       HMENU menu, HINSTANCE instance, LPVOID parameter),
      (exStyle, className, name, style, x, y, cx, cy, parent, menu, instance, parameter))

BOOL WINAPI HookDestroyWindow(HWND window)
{
    current->Count("DestroyWindow");
    const BOOL destroyed = ORIGINAL(DestroyWindow)(window);
    if (destroyed)
        current->WindowGone(window);
    return destroyed;
}

UINT_PTR WINAPI HookSetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC procedure)
{
    if (current->Refuse())
        return Refused<UINT_PTR>();
    const UINT_PTR started = ORIGINAL(SetTimer)(window, id, elapse, procedure);
    current->Count("SetTimer");
    if (started)
        current->TimerStarted(window, window ? id : started);
    return started;
}

BOOL WINAPI HookKillTimer(HWND window, UINT_PTR id)
{
    current->Count("KillTimer");
    current->TimerStopped(window, id);
    return ORIGINAL(KillTimer)(window, id);
}

HANDLE WINAPI HookLoadImageA(HINSTANCE module, LPCSTR name, UINT type, int cx, int cy, UINT flags)
{
    if (current->Refuse())
        return Refused<HANDLE>();
    HANDLE made = ORIGINAL(LoadImageA)(module, name, type, cx, cy, flags);
    current->Count("LoadImageA");
    if (type == IMAGE_BITMAP)
        current->Made(made, "bitmap", "LoadImageA");
    return made;
}

BOOL WINAPI HookDeleteObject(HGDIOBJ object)
{
    current->Count("DeleteObject");
    const std::string what = DescribeObject(object);
    const BOOL deleted = ORIGINAL(DeleteObject)(object);
    if (!deleted)
        current->Fault("DeleteObject failed on " + what);
    else
        current->Gone(object, what.c_str());
    return deleted;
}

HGDIOBJ WINAPI HookSelectObject(HDC dc, HGDIOBJ object)
{
    current->Count("SelectObject");
    return ORIGINAL(SelectObject)(dc, object);
}

// Repaint requests are counted: one per change is the promise.
BOOL WINAPI HookInvalidateRect(HWND window, const RECT* rect, BOOL erase)
{
    current->Count("InvalidateRect");
    return ORIGINAL(InvalidateRect)(window, rect, erase);
}

BOOL WINAPI HookInvalidateRgn(HWND window, HRGN region, BOOL erase)
{
    current->Count("InvalidateRgn");
    return ORIGINAL(InvalidateRgn)(window, region, erase);
}

// Style changes are counted: an unchanged style is not written.
LONG WINAPI HookSetWindowLongA(HWND window, int index, LONG value)
{
    current->Count("SetWindowLongA");
    return ORIGINAL(SetWindowLongA)(window, index, value);
}

BOOL WINAPI HookSetWindowPos(HWND window, HWND after, int x, int y, int cx, int cy, UINT flags)
{
    current->Count("SetWindowPos");
    return ORIGINAL(SetWindowPos)(window, after, x, y, cx, cy, flags);
}

BOOL WINAPI HookBitBlt(HDC dest, int x, int y, int cx, int cy, HDC src, int sx, int sy, DWORD rop)
{
    current->Count("BitBlt");
    if (GetObjectType(dest) == OBJ_DC)
        current->Count("BitBlt to a window or the screen");
    return ORIGINAL(BitBlt)(dest, x, y, cx, cy, src, sx, sy, rop);
}

// The C runtime's heap, as the module's own imports reach it (operator new included,
// since the module's C++ runtime is linked into it).
void* __cdecl Hookmalloc(size_t size)
{
    if (current->Refuse())
        return nullptr;
    void* block = ORIGINAL(malloc)(size);
    current->HeapTook(block, size);
    return block;
}

void* __cdecl Hookcalloc(size_t count, size_t size)
{
    if (current->Refuse())
        return nullptr;
    void* block = ORIGINAL(calloc)(count, size);
    current->HeapTook(block, count * size);
    return block;
}

void* __cdecl Hookrealloc(void* block, size_t size)
{
    if (current->Refuse())
        return nullptr;  // the old block stays the caller's
    void* moved = ORIGINAL(realloc)(block, size);
    if (moved || size == 0)
        current->HeapFreed(block);
    current->HeapTook(moved, size);
    return moved;
}

void __cdecl Hookfree(void* block)
{
    current->HeapFreed(block);
    ORIGINAL(free)(block);
}

char* __cdecl Hook_strdup(const char* text)
{
    if (current->Refuse())
        return nullptr;
    char* copy = ORIGINAL(_strdup)(text);
    current->HeapTook(copy, copy ? std::strlen(copy) + 1 : 0);
    return copy;
}

struct Hook {
    const char* name;
    void* replacement;
    void** original;
    bool heap;
};

#define HOOK(name) {#name, reinterpret_cast<void*>(&Hook##name), reinterpret_cast<void**>(&ORIGINAL(name)), false}
#define HEAP_HOOK(name) {#name, reinterpret_cast<void*>(&Hook##name), reinterpret_cast<void**>(&ORIGINAL(name)), true}

const Hook Hooks[] = {
    HOOK(CreateCompatibleDC), HOOK(DeleteDC), HOOK(GetDC), HOOK(ReleaseDC),
    HOOK(CreateCompatibleBitmap), HOOK(CreateBitmap), HOOK(LoadBitmapA), HOOK(LoadImageA),
    HOOK(CreatePen), HOOK(CreateSolidBrush), HOOK(CreateFontIndirectA), HOOK(CreateRectRgn),
    HOOK(DeleteObject), HOOK(SelectObject), HOOK(BitBlt),
    HOOK(CreateWindowExA), HOOK(DestroyWindow), HOOK(SetTimer), HOOK(KillTimer),
    HOOK(InvalidateRect), HOOK(InvalidateRgn), HOOK(SetWindowLongA), HOOK(SetWindowPos),
    HEAP_HOOK(malloc), HEAP_HOOK(calloc), HEAP_HOOK(realloc), HEAP_HOOK(free), HEAP_HOOK(_strdup),
};

const Hook* FindHook(const char* name)
{
    for (const Hook& hook : Hooks)
        if (std::strcmp(hook.name, name) == 0)
            return &hook;
    return nullptr;
}


}  // namespace

void HostReleased(HANDLE handle)
{
    if (current)
        current->Gone(handle, "the host");
}

std::string DescribeObject(HGDIOBJ object)
{
    switch (GetObjectType(object)) {
    case OBJ_BITMAP: {
        BITMAP info = {};
        GetObjectA(object, sizeof info, &info);
        std::ostringstream text;
        text << "bitmap " << info.bmWidth << "x" << info.bmHeight;
        return text.str();
    }
    case OBJ_MEMDC: return "dc";
    case OBJ_DC: return "window dc";
    case OBJ_PEN: return "pen";
    case OBJ_BRUSH: return "brush";
    case OBJ_FONT: return "font";
    case OBJ_REGION: return "region";
    default: return "unknown object";
    }
}

Ledger::Ledger(HMODULE module)
{
    current = this;
    // The ledger's own bookkeeping takes heap: in its own module that would hook itself.
    HMODULE own = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&current), &own);
    const bool watchHeap = module != own;
    ForEachImport(module, nullptr, [&](const char* function, void** slot) {
        const Hook* hook = FindHook(function);
        if (!hook || (hook->heap && !watchHeap))
            return;
        *hook->original = *slot;
        patches_.push_back({slot, *slot});
        WriteSlot(slot, hook->replacement);
    });
}

Ledger::~Ledger()
{
    // A module unloaded while it was watched has taken its import table with it.
    HMODULE stillThere;
    for (const Patch& patch : patches_)
        if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                               reinterpret_cast<LPCSTR>(patch.slot), &stillThere))
            WriteSlot(patch.slot, patch.original);
    current = nullptr;
}

int Ledger::Calls(const std::string& function) const
{
    const auto found = calls_.find(function);
    return found == calls_.end() ? 0 : found->second;
}

std::vector<std::string> Ledger::Alive() const
{
    std::vector<std::string> lines;
    for (const auto& [handle, record] : alive_)
        lines.push_back(record.kind + " from " + record.by);
    for (const auto& [window, id] : timers_)
        lines.push_back("timer " + std::to_string(id));
    for (const auto& [block, size] : heap_)
        lines.push_back("heap block of " + std::to_string(size) + " bytes");
    return lines;
}

std::vector<HANDLE> Ledger::Objects(const std::string& kind) const
{
    std::vector<HANDLE> handles;
    for (const auto& [handle, record] : alive_)
        if (record.kind == kind)
            handles.push_back(handle);
    return handles;
}

std::vector<UINT_PTR> Ledger::Timers() const
{
    std::vector<UINT_PTR> ids;
    for (const auto& [window, id] : timers_)
        ids.push_back(id);
    return ids;
}

size_t Ledger::HeapBytes() const
{
    size_t bytes = 0;
    for (const auto& [block, size] : heap_)
        bytes += size;
    return bytes;
}

void Ledger::HeapTook(void* block, size_t size)
{
    if (!block)
        return;
    heap_[block] = size;
    ++heapTaken_;
}

// GDI and USER handles mean their low 32 bits; a 64-bit host that got one as a 32-bit
// value may widen it either way, so the ledger files every handle by those bits alone.
HANDLE Ledger::Key(HANDLE handle)
{
    return reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(static_cast<UINT32>(reinterpret_cast<UINT_PTR>(handle))));
}

void Ledger::Made(HANDLE handle, const char* kind, const char* by)
{
    if (!handle)
        return;
    alive_[Key(handle)] = {kind, by};
    ++made_;
}

void Ledger::Gone(HANDLE handle, const char* by)
{
    if (alive_.erase(Key(handle)) == 0)
        deletedForeign_.push_back(by);
}

void Ledger::WindowGone(HWND window)
{
    Gone(window, "DestroyWindow");
    // Timers die with their window.
    for (auto timer = timers_.begin(); timer != timers_.end();)
        timer = timer->first == window ? timers_.erase(timer) : std::next(timer);
}

void Ledger::RememberDefaults(HDC dc)
{
    if (dc)
        defaults_[dc] = {GetCurrentObject(dc, OBJ_BITMAP), GetCurrentObject(dc, OBJ_PEN),
                         GetCurrentObject(dc, OBJ_BRUSH), GetCurrentObject(dc, OBJ_FONT)};
}

void Ledger::CheckDefaults(HDC dc)
{
    const auto found = defaults_.find(dc);
    if (found == defaults_.end())
        return;
    const UINT kinds[] = {OBJ_BITMAP, OBJ_PEN, OBJ_BRUSH, OBJ_FONT};
    for (size_t i = 0; i < found->second.size(); ++i)
        if (GetCurrentObject(dc, kinds[i]) != found->second[i])
            Fault("dc deleted with " + DescribeObject(GetCurrentObject(dc, kinds[i])) + " still selected");
    defaults_.erase(found);
}
