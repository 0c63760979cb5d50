// The DLL's boundary as an MSVC host links against it: machine type, exports by name and
// ordinal, the calling convention, and nothing imported beyond the system DLLs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <iterator>
#include <set>
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

const char* const ExportNames[] = {"DrawFace",        "FactroyColorButtom", "FactroyLableControl", "FactroySlipControl",
                                   "GetBgkColorSize", "GetObjectRect",      "SetAccessibleName"};

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

// The six of the first release keep their ordinals; later ones follow in order.
TEST(Exports, UndecoratedNamesWithOrdinalsFromOneInAlphabeticalOrder)
{
    Veltra veltra;
    PeView pe(veltra.module);
    const auto* directory = pe.At<IMAGE_EXPORT_DIRECTORY>(pe.Directory(IMAGE_DIRECTORY_ENTRY_EXPORT).VirtualAddress);
    ASSERT_EQ(directory->NumberOfNames, std::size(ExportNames));
    EXPECT_EQ(directory->Base, 1u);
    const auto* names = pe.At<DWORD>(directory->AddressOfNames);
    const auto* ordinals = pe.At<WORD>(directory->AddressOfNameOrdinals);
    for (DWORD i = 0; i < directory->NumberOfNames; ++i) {
        SCOPED_TRACE(ExportNames[i]);
        EXPECT_STREQ(pe.At<char>(names[i]), ExportNames[i]);
        EXPECT_EQ(ordinals[i] + directory->Base, i + 1);
        EXPECT_EQ(GetProcAddress(veltra.module, MAKEINTRESOURCEA(i + 1)), GetProcAddress(veltra.module, ExportNames[i]));
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

// The system functions that make or give back a GDI object, DC, window, timer, cursor,
// heap block or file handle.
const char* const Creators[] = {
    "CreateBitmap", "CreateBitmapIndirect", "CreateCompatibleBitmap", "CreateDIBitmap", "CreateDIBSection",
    "CreateSolidBrush", "CreateBrushIndirect", "CreateHatchBrush", "CreatePatternBrush", "CreateDIBPatternBrushPt",
    "CreatePen", "CreatePenIndirect", "ExtCreatePen", "CreateFontA", "CreateFontIndirectA", "CreateFontIndirectW",
    "CreateRectRgn", "CreateRectRgnIndirect", "CreateRoundRectRgn", "CreateEllipticRgn", "CreatePolygonRgn",
    "ExtCreateRegion", "CreatePalette", "DeleteObject", "CreateCompatibleDC", "CreateDCA", "CreateICA", "DeleteDC",
    "GetDC", "GetDCEx", "GetWindowDC", "ReleaseDC", "BeginPaint", "EndPaint", "CreateWindowExA", "CreateWindowExW",
    "DestroyWindow", "SetTimer", "KillTimer", "LoadCursorA", "LoadCursorFromFileA", "CreateCursor", "DestroyCursor",
    "CopyImage", "LoadBitmapA", "LoadImageA", "LoadIconA", "CreateIconIndirect", "DestroyIcon", "CreateFileA",
    "CreateFileW", "CloseHandle", "malloc", "calloc", "realloc", "free", "_strdup", "strdup",
};

}  // namespace

// What the library makes, the test ledger must see, or it would escape leak counting and
// refusal.
TEST(Exports, TheLedgerWatchesEveryCreatorTheLibraryImports)
{
    Veltra veltra;
    int creators = 0;
    ForEachImport(veltra.module, nullptr, [&](const char* function, void**) {
        if (std::find_if(std::begin(Creators), std::end(Creators),
                         [&](const char* creator) { return std::strcmp(creator, function) == 0; }) == std::end(Creators))
            return;
        ++creators;
        EXPECT_TRUE(Ledger::Watches(function)) << function;
    });
    EXPECT_GT(creators, 0);
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
