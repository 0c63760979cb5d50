#include "tests/support/ledger.h"

#include <malloc.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <mutex>
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
DECLARE_ORIGINAL(FindFirstFileA)
DECLARE_ORIGINAL(FindClose)
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
DECLARE_ORIGINAL(BeginPaint)
DECLARE_ORIGINAL(EndPaint)
DECLARE_ORIGINAL(LoadCursorA)
DECLARE_ORIGINAL(CreateFileA)
DECLARE_ORIGINAL(CloseHandle)
DECLARE_ORIGINAL(GetProcAddress)
DECLARE_ORIGINAL(LoadLibraryA)
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

// A DC made: counted and entered with the objects it starts with, which it must hold again
// when it is given back.
HDC MadeDC(HDC made, const char* kind, const char* by)
{
    current->Count(by);
    current->Made(made, kind, by);
    current->RememberDefaults(made);
    return made;
}

HDC WINAPI HookCreateCompatibleDC(HDC dc)
{
    return current->Refuse() ? Refused<HDC>() : MadeDC(ORIGINAL(CreateCompatibleDC)(dc), "dc", "CreateCompatibleDC");
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
    current->CheckDefaults(dc);
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

HDC WINAPI HookGetDC(HWND window)
{
    return current->Refuse() ? Refused<HDC>() : MadeDC(ORIGINAL(GetDC)(window), "window dc", "GetDC");
}

// A refused paint leaves the window invalid, as the system's would: it comes again.
HDC WINAPI HookBeginPaint(HWND window, PAINTSTRUCT* paint)
{
    return current->Refuse() ? Refused<HDC>() : MadeDC(ORIGINAL(BeginPaint)(window, paint), "paint dc", "BeginPaint");
}

BOOL WINAPI HookEndPaint(HWND window, const PAINTSTRUCT* paint)
{
    current->Count("EndPaint");
    current->CheckDefaults(paint->hdc);
    current->Gone(paint->hdc, "EndPaint");
    return ORIGINAL(EndPaint)(window, paint);
}

// The cursors a module loads are shared and never destroyed: counted and refusable, never
// left alive.
HCURSOR WINAPI HookLoadCursorA(HINSTANCE module, LPCSTR name)
{
    if (current->Refuse())
        return Refused<HCURSOR>();
    current->Count("LoadCursorA");
    return ORIGINAL(LoadCursorA)(module, name);
}

HANDLE WINAPI HookCreateFileA(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                              DWORD disposition, DWORD attributes, HANDLE model)
{
    if (current->Refuse()) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return INVALID_HANDLE_VALUE;
    }
    HANDLE made = ORIGINAL(CreateFileA)(name, access, share, security, disposition, attributes, model);
    current->Count("CreateFileA");
    if (made != INVALID_HANDLE_VALUE)
        current->Made(made, "file", "CreateFileA");
    return made;
}

HANDLE WINAPI HookFindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA found)
{
    if (current->Refuse()) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return INVALID_HANDLE_VALUE;
    }
    HANDLE made = ORIGINAL(FindFirstFileA)(pattern, found);
    current->Count("FindFirstFileA");
    if (made != INVALID_HANDLE_VALUE)
        current->Made(made, "file search", "FindFirstFileA");
    return made;
}

BOOL WINAPI HookFindClose(HANDLE search)
{
    current->Count("FindClose");
    current->Gone(search, "FindClose");
    return ORIGINAL(FindClose)(search);
}

BOOL WINAPI HookCloseHandle(HANDLE handle)
{
    current->Count("CloseHandle");
    current->Gone(handle, "CloseHandle");
    return ORIGINAL(CloseHandle)(handle);
}
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
        current->TimerStarted(window, window ? id : started, elapse);
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
    // A shared cursor or icon is the system's; a bitmap never is.
    static const char* const kinds[] = {"bitmap", "icon", "cursor"};
    if (type < std::size(kinds) && (type == IMAGE_BITMAP || !(flags & LR_SHARED)))
        current->Made(made, kinds[type], "LoadImageA");
    return made;
}

// What the module looks up at run time escapes its import table: the ledger lists it.
FARPROC WINAPI HookGetProcAddress(HMODULE module, LPCSTR name)
{
    current->LookedUp(IS_INTRESOURCE(name) ? "#" + std::to_string(LOWORD(name)) : std::string(name));
    return ORIGINAL(GetProcAddress)(module, name);
}

HMODULE WINAPI HookLoadLibraryA(LPCSTR name)
{
    current->LoadedModule(name ? name : "");
    return ORIGINAL(LoadLibraryA)(name);
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

// A heap in which every block ends at a page boundary followed by an inaccessible page,
// and a freed block's pages become inaccessible and are never handed out again: a read or
// write past the end of a block, or of a freed block, faults at once. Address space is
// reserved in large regions and never given back, so a block may outlive its ledger.
class PageHeap {
public:
    PageHeap()
    {
        SYSTEM_INFO system;
        GetSystemInfo(&system);
        page_ = system.dwPageSize;
    }

    void* Allocate(size_t size)
    {
        size = std::max<size_t>(size, 1);
        const size_t pages = (size + page_ - 1) / page_ * page_;
        char* first = Reserve(pages + page_);  // the last page stays inaccessible
        if (!first || !VirtualAlloc(first, pages, MEM_COMMIT, PAGE_READWRITE))
            return nullptr;
        // Every block ends exactly at the guard page. Its end is page-aligned, so the block is
        // aligned to the largest power of two that divides its size: all that a type of that
        // size can need, since a type's size is a multiple of its alignment.
        void* block = first + pages - size;
        live_[block] = {first, pages, size};
        return block;
    }

    // Whether block lies in the heap's address space, live or freed.
    bool Owns(const void* block) const
    {
        for (const Region& region : regions_)
            if (block >= region.base && block < region.base + region.size)
                return true;
        return false;
    }

    // The size of a live block; 0 for any other.
    size_t SizeOf(void* block) const
    {
        const auto found = live_.find(block);
        return found == live_.end() ? 0 : found->second.size;
    }

    // False when block is no live block of this heap: freed already, or never handed out.
    bool Free(void* block)
    {
        const auto found = live_.find(block);
        if (found == live_.end())
            return false;
        VirtualFree(found->second.first, found->second.pages, MEM_DECOMMIT);
        live_.erase(found);
        return true;
    }

private:
    struct Region {
        char* base;
        size_t size;
        size_t used;
    };
    struct Block {
        char* first;   // its first page
        size_t pages;  // bytes of its committed pages
        size_t size;
    };

    static constexpr size_t RegionSize = 64 << 20;

    char* Reserve(size_t bytes)
    {
        if (regions_.empty() || regions_.back().size - regions_.back().used < bytes) {
            const size_t size = std::max(RegionSize, bytes);
            auto* base = static_cast<char*>(VirtualAlloc(nullptr, size, MEM_RESERVE, PAGE_NOACCESS));
            if (!base)
                return nullptr;
            regions_.push_back({base, size, 0});
        }
        Region& region = regions_.back();
        char* first = region.base + region.used;
        region.used += bytes;
        return first;
    }

    size_t page_;
    std::vector<Region> regions_;
    std::map<void*, Block> live_;
};

PageHeap& Pages()
{
    static PageHeap heap;
    return heap;
}

// The C runtime's heap, as the module's own imports reach it (operator new included,
// since the module's C++ runtime is linked into it). The page heap's blocks go back to it
// whenever they are freed, during the ledger that made them or after, so these hooks also
// run with no ledger.
bool PageMode() { return current && current->UsesPageHeap(); }

// A screen reader's thread may free what the library made (its last reference to an
// accessible object) while the window's thread takes blocks.
std::recursive_mutex& HeapLock()
{
    static std::recursive_mutex lock;
    return lock;
}

void* Take(size_t size)
{
    const std::lock_guard<std::recursive_mutex> hold(HeapLock());
    void* block = PageMode() ? Pages().Allocate(size) : ORIGINAL(malloc)(size);
    if (!block && PageMode())
        current->Fault("the page heap has no room for " + std::to_string(size) + " bytes");
    if (current)
        current->HeapTook(block, size);
    return block;
}

void Give(void* block)
{
    const std::lock_guard<std::recursive_mutex> hold(HeapLock());
    if (!block)
        return;
    if (current)
        current->HeapFreed(block);
    if (!Pages().Owns(block))
        ORIGINAL(free)(block);
    else if (!Pages().Free(block) && current)
        current->Fault("a page-heap block freed twice");
}

bool HeapRefused() { return current && current->Refuse(); }

void* __cdecl Hookmalloc(size_t size)
{
    return HeapRefused() ? nullptr : Take(size);
}

void* __cdecl Hookcalloc(size_t count, size_t size)
{
    if (HeapRefused() || (size && count > SIZE_MAX / size))
        return nullptr;
    void* block = Take(count * size);
    if (block)
        std::memset(block, 0, count * size);
    return block;
}

void* __cdecl Hookrealloc(void* block, size_t size)
{
    const std::lock_guard<std::recursive_mutex> hold(HeapLock());
    if (HeapRefused())
        return nullptr;  // the old block stays the caller's
    if (!block)
        return Take(size);
    if (!size) {
        Give(block);
        return nullptr;
    }
    if (!PageMode() && !Pages().Owns(block)) {
        void* moved = ORIGINAL(realloc)(block, size);
        if (moved && current) {
            current->HeapFreed(block);
            current->HeapTook(moved, size);
        }
        return moved;
    }
    // Between the two heaps, or within the page heap, a block always moves.
    const size_t old = Pages().Owns(block) ? Pages().SizeOf(block) : _msize(block);
    void* moved = Take(size);
    if (moved) {
        std::memcpy(moved, block, std::min(old, size));
        Give(block);
    }
    return moved;
}

void __cdecl Hookfree(void* block)
{
    Give(block);
}

char* __cdecl Hook_strdup(const char* text)
{
    if (HeapRefused())
        return nullptr;
    const size_t size = std::strlen(text) + 1;
    auto* copy = static_cast<char*>(Take(size));
    if (copy)
        std::memcpy(copy, text, size);
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
    HOOK(CreateCompatibleDC), HOOK(DeleteDC), HOOK(GetDC), HOOK(ReleaseDC), HOOK(BeginPaint), HOOK(EndPaint),
    HOOK(LoadCursorA), HOOK(CreateFileA), HOOK(CloseHandle), HOOK(FindFirstFileA), HOOK(FindClose),
    HOOK(GetProcAddress), HOOK(LoadLibraryA),
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

Ledger* CurrentLedger()
{
    return current;
}

void HostLent(HANDLE handle)
{
    if (current)
        current->Lend(handle);
}

void HostReleased(HANDLE handle)
{
    if (current)
        current->Forget(handle);
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

Ledger::Ledger(HMODULE module, Heap heap) : pageHeap_(heap == Heap::Pages)
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
        // A heap hook left in place by an earlier ledger keeps the true original.
        if (*slot != hook->replacement)
            *hook->original = *slot;
        patches_.push_back({slot, *slot, hook->heap});
        WriteSlot(slot, hook->replacement);
    });
}

Ledger::~Ledger()
{
    // A module unloaded while it was watched has taken its import table with it.
    // The page heap's blocks must find their way back to it whenever they are freed: its
    // heap hooks stay.
    HMODULE stillThere;
    for (const Patch& patch : patches_)
        if (!(patch.heap && pageHeap_) && GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                               reinterpret_cast<LPCSTR>(patch.slot), &stillThere))
            WriteSlot(patch.slot, patch.original);
    current = nullptr;
}

bool Ledger::Watches(const char* function)
{
    return FindHook(function) != nullptr;
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
    for (const auto& [timer, interval] : timers_)
        lines.push_back("timer " + std::to_string(timer.second));
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
    for (const auto& [timer, interval] : timers_)
        ids.push_back(timer.second);
    return ids;
}

std::map<UINT_PTR, UINT> Ledger::TimerIntervals() const
{
    std::map<UINT_PTR, UINT> intervals;
    for (const auto& [timer, interval] : timers_)
        intervals[timer.second] = interval;
    return intervals;
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
    const HANDLE key = Key(handle);
    if (alive_.erase(key) || lent_.erase(key))
        return;
    if (acceptEarlier_)
        deletedForeign_.push_back(by);
    else
        Fault("a release (" + std::string(by) + ") of a handle the module did not make");
}

void Ledger::HeapFreed(void* block)
{
    if (block && !heap_.erase(block) && !acceptEarlier_)
        Fault("free of a block the module did not take");
}

void Ledger::Forget(HANDLE handle)
{
    alive_.erase(Key(handle));
    for (auto timer = timers_.begin(); timer != timers_.end();)
        timer = timer->first.first == handle ? timers_.erase(timer) : std::next(timer);
}

void Ledger::WindowGone(HWND window)
{
    Gone(window, "DestroyWindow");
    // Timers die with their window.
    for (auto timer = timers_.begin(); timer != timers_.end();)
        timer = timer->first.first == window ? timers_.erase(timer) : std::next(timer);
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
