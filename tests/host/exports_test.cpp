// The DLL's boundary as an MSVC host links against it: machine type, exports by name and
// ordinal, the calling convention, and nothing imported beyond the system DLLs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/host/host.h"
#include "tests/support/import_table.h"
#include "tests/support/ledger.h"

namespace {

struct PeView {
    explicit PeView(HMODULE module)
        : base(reinterpret_cast<const BYTE*>(module)),
          nt(reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew))
    {
    }
    template <typename T>
    const T* At(DWORD rva) const { return reinterpret_cast<const T*>(base + rva); }
    const IMAGE_DATA_DIRECTORY& Directory(int index) const { return nt->OptionalHeader.DataDirectory[index]; }

    const BYTE* base;
    const IMAGE_NT_HEADERS* nt;
};

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// Every export with its ordinal, in the order of their names, as the export table lists
// them.
const struct {
    const char* name;
    WORD ordinal;
} Exports[] = {
    {"DrawFace", 1},        {"FactroyColorButtom", 2}, {"FactroyLableControl", 3}, {"FactroySlipControl", 4},
    {"FitScreen", 9},       {"FitScreenScaled", 10},   {"GetBgkColorSize", 5},     {"GetObjectRect", 6},
    {"LoadSkin", 11},       {"SetAccessibleName", 7},  {"SetAccessibleOption", 8},
};

}  // namespace

TEST(Exports, MachineTypeIsTheBuildsArchitecture)
{
    Veltra veltra;
    PeView pe(veltra.module);
#ifdef _WIN64
    EXPECT_EQ(pe.nt->FileHeader.Machine, IMAGE_FILE_MACHINE_AMD64);
#else
    EXPECT_EQ(pe.nt->FileHeader.Machine, IMAGE_FILE_MACHINE_I386);
#endif
    EXPECT_TRUE(pe.nt->FileHeader.Characteristics & IMAGE_FILE_DLL);
}

// The six of the first release keep their ordinals, alphabetical; later ones follow in
// order.
TEST(Exports, UndecoratedNamesWithTheirOrdinals)
{
    Veltra veltra;
    PeView pe(veltra.module);
    const auto* directory = pe.At<IMAGE_EXPORT_DIRECTORY>(pe.Directory(IMAGE_DIRECTORY_ENTRY_EXPORT).VirtualAddress);
    ASSERT_EQ(directory->NumberOfNames, std::size(Exports));
    EXPECT_EQ(directory->NumberOfFunctions, std::size(Exports));
    EXPECT_EQ(directory->Base, 1u);
    const auto* names = pe.At<DWORD>(directory->AddressOfNames);
    const auto* ordinals = pe.At<WORD>(directory->AddressOfNameOrdinals);
    for (DWORD i = 0; i < directory->NumberOfNames; ++i) {
        SCOPED_TRACE(Exports[i].name);
        EXPECT_STREQ(pe.At<char>(names[i]), Exports[i].name);
        EXPECT_EQ(ordinals[i] + directory->Base, Exports[i].ordinal);
        EXPECT_EQ(GetProcAddress(veltra.module, MAKEINTRESOURCEA(Exports[i].ordinal)),
                  GetProcAddress(veltra.module, Exports[i].name));
    }
}

TEST(Exports, ImportsOnlyTheSystemAndTheCRuntime)
{
    Veltra veltra;
    PeView pe(veltra.module);
    std::set<std::string> imported;
    const auto& directory = pe.Directory(IMAGE_DIRECTORY_ENTRY_IMPORT);
    for (const auto* d = pe.At<IMAGE_IMPORT_DESCRIPTOR>(directory.VirtualAddress); d->Name; ++d)
        imported.insert(Lower(pe.At<char>(d->Name)));
    const std::set<std::string> allowed = {"kernel32.dll", "user32.dll", "gdi32.dll", "msvcrt.dll"};
    for (const std::string& name : imported)
        EXPECT_TRUE(allowed.count(name)) << name;
    EXPECT_TRUE(imported.count("user32.dll"));
    EXPECT_TRUE(imported.count("gdi32.dll"));
    EXPECT_EQ(pe.Directory(IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT).VirtualAddress, 0u);
}

namespace {

// What the ledger does not hook must make nothing a host would have to see given back:
// each function the DLL imports or looks up is either watched or reviewed here, with the
// reason. A function new to the DLL fails the test until somebody decides which.
const struct {
    const char* reason;
    const char* functions;
} Reviewed[] = {
    {"draws into, or sets the state of, a DC or a bitmap the library holds and gives back whole",
     "CombineRgn DPtoLP DrawTextA Ellipse FillRect LPtoDP SetBkColor SetBkMode SetMapMode SetTextAlign "
     "SetTextColor SetViewportOrgEx SetWindowOrgEx TextOutA SetDIBits"},
    {"reads or asks; holds nothing afterwards",
     "GetClassLongA GetClassLongPtrA GetClientRect GetDeviceCaps GetDoubleClickTime GetFocus GetLastError "
     "GetMapMode GetObjectA GetParent GetSysColor GetSystemMetrics GetWindowLongA GetWindowLongPtrA GetWindowRect "
     "GetWindowTextA GetWindowTextLengthA IsRectEmpty IsWindow IsWindowEnabled IsWindowVisible OffsetRect "
     "PtInRect ScreenToClient GetFileSizeEx ReadFile GetAncestor GetDesktopWindow GetCurrentThreadId "
     "GetSystemDirectoryA MapWindowPoints GetDIBits GetFileAttributesA FindNextFileA"},
    {"the library's own resources, mapped with it: nothing to give back",
     "FindResourceA FindResourceExA LoadResource LockResource SizeofResource"},
    {"stock objects are the system's: nothing to give back", "GetStockObject"},
    {"acts on a window that exists already; makes nothing",
     "CallWindowProcA DefWindowProcA MoveWindow NotifyWinEvent PostMessageA RedrawWindow ReleaseCapture "
     "SendMessageA SetCapture SetCursor SetFocus SetWindowLongPtrA SetWindowTextA ShowWindow TrackMouseEvent "
     "UpdateWindow"},
    {"the library's window classes: registered at load, taken back at unload (ButtonClass tests)",
     "RegisterClassExA UnregisterClassA"},
    {"a message number, the system's for the session", "RegisterWindowMessageA"},
    {"modules: finds its own; loads the accessibility modules and pins itself on purpose, for as long as "
     "a screen reader may hold its objects",
     "GetModuleHandleA GetModuleHandleW GetModuleHandleExA LoadLibraryA FreeLibrary"},
    {"text conversion and the C runtime's string and memory routines",
     "MultiByteToWideChar WideCharToMultiByte IsDBCSLeadByteEx lstrcpynA lstrlenA lstrlenW atoi memcpy memmove memset "
     "strchr strlen strncmp strstr wcslen localeconv setlocale ___lc_codepage_func ___mb_cur_max_func __mb_cur_max "
     "lstrcmpiA _strnicmp memchr"},
    {"the C runtime's start-up and its own locks, made at load and deleted at unload, and its last-resort "
     "messages",
     "DeleteCriticalSection EnterCriticalSection InitializeCriticalSection LeaveCriticalSection TlsGetValue "
     "VirtualProtect VirtualQuery Sleep _amsg_exit _initterm _lock _unlock abort _errno _iob __iob_func fputc "
     "fwrite vfprintf strerror"},
    {"looked up when a screen reader first asks: hands a control's object to the system, which holds its own "
     "reference; the control cuts the object off when it goes",
     "LresultFromObject"},
    {"looked up when a screen reader first asks: the window's own object and strings, returned to the reader, "
     "which releases and frees them as COM's rules for returned values say",
     "AccessibleObjectFromWindow SysAllocStringLen"},
};

// The reason function needs no hook, or null when nobody has said.
const char* ReasonFor(const std::string& function)
{
    for (const auto& review : Reviewed) {
        std::istringstream names(review.functions);
        for (std::string name; names >> name;)
            if (name == function)
                return review.reason;
    }
    return nullptr;
}

}  // namespace

// What the library makes, the test ledger must see, or it would escape leak counting and
// refusal.
TEST(Exports, EveryImportIsWatchedByTheLedgerOrReviewed)
{
    Veltra veltra;
    int imports = 0;
    ForEachImport(veltra.module, nullptr, [&](const char* function, void**) {
        ++imports;
        EXPECT_TRUE(Ledger::Watches(function) || ReasonFor(function)) << function << " is neither watched nor reviewed";
    });
    EXPECT_GT(imports, 0);
}

// The first request of a screen reader in this process makes the library load the system's
// accessibility modules, from the system's folder only, and look their functions up: they
// pass the same review.
TEST(AccessibleImports, WhatTheLibraryLooksUpAtRunTimeIsWatchedOrReviewed)
{
    HostWindow host;
    Veltra veltra;
    IColorButtom* button = nullptr;
    veltra.FactroyColorButtom(&button, 2, host, nullptr, 0);
    ASSERT_TRUE(button);
    std::set<std::string> lookedUp;
    std::vector<std::string> loaded;
    {
        Ledger ledger(veltra.module);
        ScreenReaderView view(WindowOf(button));
        EXPECT_TRUE(view.object);
        lookedUp = ledger.LookedUp();
        loaded = ledger.Loaded();
    }
    char system[MAX_PATH];
    const std::string folder = Lower(std::string(system, GetSystemDirectoryA(system, MAX_PATH))) + "\\";
    EXPECT_EQ(loaded.size(), 2u);
    for (const std::string& module : loaded)
        EXPECT_EQ(Lower(module).substr(0, folder.size()), folder) << module;
    button->Destroy();
    EXPECT_FALSE(lookedUp.empty()) << "the library looked its functions up before: this test must run first";
    for (const std::string& function : lookedUp)
        EXPECT_TRUE(Ledger::Watches(function.c_str()) || ReasonFor(function)) << function;
}

#ifndef _WIN64
namespace {

// Calls function with five 32-bit values pushed and tells how many bytes of them are left
// on the stack afterwards: a WINAPI function of n arguments pops 4 n, a cdecl one none.
uint32_t BytesLeftOnStack(const void* function, const uint32_t (&args)[5])
{
    uint32_t left;
    asm volatile(
        "movl %%esp, %%esi\n\t"
        "pushl 16(%[args])\n\tpushl 12(%[args])\n\tpushl 8(%[args])\n\tpushl 4(%[args])\n\tpushl (%[args])\n\t"
        "call *%[function]\n\t"
        "movl %%esi, %%edx\n\t"
        "subl %%esp, %%edx\n\t"
        "movl %%esi, %%esp\n\t"
        : "=&d"(left)
        : [function] "r"(function), [args] "r"(args)
        : "eax", "ecx", "esi", "memory", "cc");
    return left;
}

}  // namespace

TEST(Exports, EveryExportIsWinapi)
{
    Veltra veltra;
    RECT inner;
    COLORREF colour;
    INT32 values[4] = {};
    void* out = nullptr;
    const uint32_t canvas = reinterpret_cast<uint32_t>(CreateCompatibleDC(nullptr));
    const struct {
        const char* name;
        int arguments;
        uint32_t args[5];
    } calls[] = {
        {"DrawFace", 1, {canvas}},
        {"FactroyColorButtom", 5, {reinterpret_cast<uint32_t>(&out), 9999}},
        {"FactroyLableControl", 3, {reinterpret_cast<uint32_t>(&out), 9999}},
        {"FactroySlipControl", 5, {reinterpret_cast<uint32_t>(&out), 9999}},
        {"GetBgkColorSize", 2, {reinterpret_cast<uint32_t>(&inner), reinterpret_cast<uint32_t>(&colour)}},
        {"GetObjectRect", 2, {9999, reinterpret_cast<uint32_t>(values)}},
        {"SetAccessibleName", 2, {0, 0}},
        {"SetAccessibleOption", 3, {0, 0, 0}},
        {"FitScreen", 2, {0, 0}},
        {"FitScreenScaled", 3, {0, 0, 0}},
        {"LoadSkin", 3, {0, 0, 0}},
    };
    for (const auto& call : calls) {
        SCOPED_TRACE(call.name);
        const void* function = reinterpret_cast<const void*>(GetProcAddress(veltra.module, call.name));
        ASSERT_TRUE(function);
        EXPECT_EQ(BytesLeftOnStack(function, call.args), 4u * (5 - call.arguments));
    }
    DeleteDC(reinterpret_cast<HDC>(canvas));
}
#endif
