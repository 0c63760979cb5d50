#include "bench/imports.h"

#include <cstring>

#include "tests/support/import_table.h"

namespace {

// A counting thunk: add one to a pointer-sized counter, then jump to the function. It
// touches only the flags and the accumulator, which hold no argument at a call's entry in
// either calling convention.
#ifdef _WIN64
constexpr BYTE ThunkCode[] = {
    0x48, 0xB8, 0, 0, 0, 0, 0, 0, 0, 0,  // mov rax, counter
    0x48, 0xFF, 0x00,                    // inc qword ptr [rax]
    0x48, 0xB8, 0, 0, 0, 0, 0, 0, 0, 0,  // mov rax, function
    0xFF, 0xE0,                          // jmp rax
};
constexpr size_t CounterAt = 2;
constexpr size_t FunctionAt = 15;
#else
constexpr BYTE ThunkCode[] = {
    0xFF, 0x05, 0, 0, 0, 0,  // inc dword ptr [counter]
    0xB8, 0, 0, 0, 0,        // mov eax, function
    0xFF, 0xE0,              // jmp eax
};
constexpr size_t CounterAt = 2;
constexpr size_t FunctionAt = 7;
#endif
constexpr size_t ThunkStride = 32;
static_assert(sizeof ThunkCode <= ThunkStride);

}  // namespace

ImportCounter::ImportCounter(HMODULE module, const char* dll)
{
    ForEachImport(module, dll, [this](const char* name, void** slot) { imports_.push_back({name, slot, *slot}); });
    counts_.assign(imports_.size(), 0);
    if (imports_.empty())
        return;
    const size_t bytes = imports_.size() * ThunkStride;
    thunks_ = static_cast<BYTE*>(VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    for (size_t i = 0; i < imports_.size(); ++i) {
        BYTE* thunk = thunks_ + i * ThunkStride;
        ULONG_PTR* counter = &counts_[i];
        std::memcpy(thunk, ThunkCode, sizeof ThunkCode);
        std::memcpy(thunk + CounterAt, &counter, sizeof counter);
        std::memcpy(thunk + FunctionAt, &imports_[i].original, sizeof imports_[i].original);
    }
    DWORD old;
    VirtualProtect(thunks_, bytes, PAGE_EXECUTE_READ, &old);
    FlushInstructionCache(GetCurrentProcess(), thunks_, bytes);
    for (size_t i = 0; i < imports_.size(); ++i)
        WriteSlot(imports_[i].slot, thunks_ + i * ThunkStride);
}

ImportCounter::~ImportCounter()
{
    for (const Import& import : imports_)
        WriteSlot(import.slot, import.original);
    if (thunks_)
        VirtualFree(thunks_, 0, MEM_RELEASE);
}

unsigned long ImportCounter::Calls(const char* function) const
{
    unsigned long calls = 0;
    for (size_t i = 0; i < imports_.size(); ++i)
        if (imports_[i].name == function)
            calls += counts_[i];
    return calls;
}

unsigned long ImportCounter::Total() const
{
    unsigned long calls = 0;
    for (ULONG_PTR count : counts_)
        calls += count;
    return calls;
}

std::string ImportCounter::ByFunction() const
{
    std::string text;
    for (size_t i = 0; i < imports_.size(); ++i) {
        if (!counts_[i])
            continue;
        text += (text.empty() ? "" : ", ") + imports_[i].name + " " + std::to_string(counts_[i]);
    }
    return text;
}

ImportPatch::ImportPatch(HMODULE module, const char* dll, const char* function, void* replacement)
{
    ForEachImport(module, dll, [&](const char* name, void** slot) {
        if (!slot_ && std::strcmp(name, function) == 0)
            slot_ = slot;
    });
    if (!slot_)
        return;
    original_ = *slot_;
    WriteSlot(slot_, replacement);
}

ImportPatch::~ImportPatch()
{
    if (slot_)
        WriteSlot(slot_, original_);
}

namespace {

BlitLog* currentLog = nullptr;
decltype(&BitBlt) nextBitBlt = nullptr;

// GDI32's own entries, not the import table, so that the log's questions about a copy are
// not counted as the module's calls.
template <typename Function>
Function Gdi32(const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("gdi32.dll"), name)));
}
const auto ObjectType = Gdi32<decltype(&GetObjectType)>("GetObjectType");
const auto CurrentObject = Gdi32<decltype(&GetCurrentObject)>("GetCurrentObject");

BOOL WINAPI LoggedBitBlt(HDC dest, int x, int y, int cx, int cy, HDC src, int srcX, int srcY, DWORD rop)
{
    currentLog->Add({dest, src, CurrentObject(dest, OBJ_BITMAP), ObjectType(dest) == OBJ_DC,
                     src && ObjectType(src) == OBJ_DC, x, y, cx, cy, srcX, srcY});
    return nextBitBlt(dest, x, y, cx, cy, src, srcX, srcY, rop);
}

}  // namespace

BlitLog::BlitLog(HMODULE module) : patch_(module, "gdi32.dll", "BitBlt", reinterpret_cast<void*>(&LoggedBitBlt))
{
    currentLog = this;
    nextBitBlt = reinterpret_cast<decltype(&BitBlt)>(patch_.Original());
}

BlitLog::~BlitLog()
{
    currentLog = nullptr;
}
