// The test ledger: counts a module's calls to the GDI and USER object functions and keeps
// the list of objects it made and has not given back. It hooks the module's import
// address table, so it sees exactly what that module does, not what the test does
// (unless the module is the test program itself). For a module other than the test
// program it also keeps the C runtime heap blocks the module took and did not free.
// It can make one of the module's creation calls fail, to show what the module does then.
#pragma once

#include <windows.h>

#include <map>
#include <set>
#include <string>
#include <vector>

class Ledger {
public:
    // Where the module's heap blocks come from while the ledger watches: the C runtime's
    // heap, or a page heap in which a block's end and every freed block are inaccessible
    // pages, never handed out again, so that an overrun or a use after free faults at once.
    enum class Heap { Runtime, Pages };

    // Hooks module's imports until the ledger goes. One ledger at a time.
    explicit Ledger(HMODULE module, Heap heap = Heap::Runtime);
    ~Ledger();
    Ledger(const Ledger&) = delete;
    Ledger& operator=(const Ledger&) = delete;

    // Whether a ledger hooks function (by its export name) in the modules it watches.
    static bool Watches(const char* function);

    // How often the module called function (by its export name, e.g. "BitBlt").
    int Calls(const std::string& function) const;

    // The functions the module looked up by name with GetProcAddress ("#n" by ordinal).
    const std::set<std::string>& LookedUp() const { return lookedUp_; }
    // The modules the module loaded with LoadLibraryA, as it named them.
    const std::vector<std::string>& Loaded() const { return loaded_; }

    // Objects, windows, timers and heap blocks made since the ledger started and not
    // released, one line each.
    std::vector<std::string> Alive() const;

    // The objects of one kind (as Alive names them: "font", "brush" ...) made since the
    // ledger started and not released.
    std::vector<HANDLE> Objects(const std::string& kind) const;

    // How many objects, DCs and windows the module made since the ledger started.
    int MadeCount() const { return made_; }

    // The timers started and not stopped, by identifier.
    std::vector<UINT_PTR> Timers() const;
    // The same with the interval each was last started with, in milliseconds.
    std::map<UINT_PTR, UINT> TimerIntervals() const;

    // Misuse seen: a DC deleted with an object of its own still selected, a release of
    // something the module did not hold, a failed delete.
    const std::vector<std::string>& Faults() const { return faults_; }

    // The module releasing what it did not make is a fault, but for what the host lends it
    // (a window a label adopts and may destroy) ...
    void Lend(HANDLE handle) { lent_.insert(Key(handle)); }
    // ... and, once this is called, for what it made before the ledger started (the face
    // that attach makes, blocks of its C runtime), which DeletedForeign lists.
    void AcceptEarlierObjects() { acceptEarlier_ = true; }
    // Objects made before the ledger started that the module deleted, with what they were
    // (e.g. "bitmap 1024x15").
    const std::vector<std::string>& DeletedForeign() const { return deletedForeign_; }

    // The host released handle, or destroyed that window with its timers: none of the
    // module's business any longer.
    void Forget(HANDLE handle);

    // Heap blocks the module holds from those it took since the ledger started.
    size_t HeapBlocks() const { return heap_.size(); }
    size_t HeapBytes() const;
    // Every heap block the module took since the ledger started.
    long long HeapTaken() const { return heapTaken_; }

    // Makes the nth creation call from now (1 for the next) return failure: a GDI object,
    // DC, window, timer or heap block the module asks for. 0 fails nothing.
    void FailCreation(int n)
    {
        failAt_ = n;
        creations_ = 0;
    }
    // The creation calls seen since the last FailCreation (or the start).
    int Creations() const { return creations_; }
    // Whether the failure asked for has been dealt out.
    bool Failed() const { return failAt_ && creations_ >= failAt_; }
    // Whether a failure has been asked for and not yet dealt out.
    bool Armed() const { return failAt_ && creations_ < failAt_; }

    // Called by the hooks.
    bool UsesPageHeap() const { return pageHeap_; }
    bool Refuse() { return ++creations_ == failAt_; }
    void HeapTook(void* block, size_t size);
    void HeapFreed(void* block);
    void Count(const char* function) { ++calls_[function]; }
    void LookedUp(const std::string& function) { lookedUp_.insert(function); }
    void LoadedModule(const std::string& name) { loaded_.push_back(name); }
    void Made(HANDLE handle, const char* kind, const char* by);
    void Gone(HANDLE handle, const char* by);
    void Fault(const std::string& what) { faults_.push_back(what); }
    void WindowGone(HWND window);
    void TimerStarted(HWND window, UINT_PTR id, UINT interval) { timers_[{window, id}] = interval; }
    void TimerStopped(HWND window, UINT_PTR id) { timers_.erase({window, id}); }
    void RememberDefaults(HDC dc);
    void CheckDefaults(HDC dc);

private:
    static HANDLE Key(HANDLE handle);

    struct Patch {
        void** slot;
        void* original;
        bool heap;
    };
    struct Record {
        std::string kind;
        std::string by;
    };
    bool pageHeap_;
    std::vector<Patch> patches_;
    std::map<std::string, int> calls_;
    std::set<std::string> lookedUp_;
    std::vector<std::string> loaded_;
    std::map<HANDLE, Record> alive_;
    std::map<HDC, std::vector<HGDIOBJ>> defaults_;
    std::map<void*, size_t> heap_;
    long long heapTaken_ = 0;
    int made_ = 0;
    int failAt_ = 0;
    int creations_ = 0;
    std::map<std::pair<HWND, UINT_PTR>, UINT> timers_;  // with their intervals, in ms
    std::vector<std::string> faults_;
    std::vector<std::string> deletedForeign_;
    std::set<HANDLE> lent_;
    bool acceptEarlier_ = false;
};

// Tells the ledger watching now, if any, that the host deleted an object or destroyed a
// window the module made (the host's own calls are not the module's, so the hooks do not
// see them).
void HostReleased(HANDLE handle);

// The ledger watching now, if any.
Ledger* CurrentLedger();

// Tells the ledger watching now, if any, that the host lent the module a handle it may
// release (a window for a label to serve).
void HostLent(HANDLE handle);

// Describes a GDI object as a test reads it: "bitmap 1024x15", "dc", "pen" ...
std::string DescribeObject(HGDIOBJ object);
