// What a module asks of a system DLL, seen through the module's import table: how often it
// calls each function, and every BitBlt it makes. Only calls made through that module's own
// import table are seen, so watch the library's DLL, or, with the library linked into this
// program, count around library calls only.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Counts the module's calls into dll, function by function. Each import slot for dll is
// pointed at a small thunk that counts and jumps on to the function, so every signature and
// calling convention passes through untouched. The slots are restored when it goes.
class ImportCounter {
public:
    ImportCounter(HMODULE module, const char* dll);
    ~ImportCounter();
    ImportCounter(const ImportCounter&) = delete;
    ImportCounter& operator=(const ImportCounter&) = delete;

    unsigned long Calls(const char* function) const;
    unsigned long Total() const;

    // "BitBlt 4, SelectObject 8": the functions called, in the order of the import table.
    std::string ByFunction() const;

private:
    struct Import {
        std::string name;
        void** slot;
        void* original;
    };
    std::vector<Import> imports_;
    std::vector<ULONG_PTR> counts_;  // the thunks count here in place: never resized
    BYTE* thunks_ = nullptr;
};

// Points one of the module's import slots at a replacement while it lives. It finds nothing
// (and converts to false) when the module does not import the function by name.
class ImportPatch {
public:
    ImportPatch(HMODULE module, const char* dll, const char* function, void* replacement);
    ~ImportPatch();
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;

    explicit operator bool() const { return slot_ != nullptr; }
    void* Original() const { return original_; }  // what the slot held

private:
    void** slot_ = nullptr;
    void* original_ = nullptr;
};

// One BitBlt as the module made it.
struct Copy {
    HDC dest;
    HDC src;
    HGDIOBJ destBitmap;  // what dest held then; meaningless for a window's DC
    bool toWindow;       // dest is a window's or the screen's DC: the copy shows
    bool fromWindow;     // src is one: what is on screen was read
    int x, y, cx, cy;
    int srcX, srcY;
};

// Logs every BitBlt of the module while it lives; one log at a time. Made after an
// ImportCounter of gdi32.dll, it logs the calls that the counter counts.
class BlitLog {
public:
    explicit BlitLog(HMODULE module);
    ~BlitLog();
    BlitLog(const BlitLog&) = delete;
    BlitLog& operator=(const BlitLog&) = delete;

    const std::vector<Copy>& Copies() const { return copies_; }
    void Clear() { copies_.clear(); }

    void Add(const Copy& copy) { copies_.push_back(copy); }  // by the hook

private:
    ImportPatch patch_;
    std::vector<Copy> copies_;
};
