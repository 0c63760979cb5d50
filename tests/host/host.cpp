#include "tests/host/host.h"

#include <vector>
#include <string>

template <typename Function>
static void Find(HMODULE module, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

std::string LibraryPath()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of("\\/") + 1) + "Veltra1024.dll";
}

Veltra::Veltra() : module(LoadLibraryA(LibraryPath().c_str()))
{
    Find(module, "DrawFace", DrawFace);
    Find(module, "GetBgkColorSize", GetBgkColorSize);
    Find(module, "GetObjectRect", GetObjectRect);
    Find(module, "FactroyColorButtom", FactroyColorButtom);
    Find(module, "FactroyLableControl", FactroyLableControl);
    Find(module, "FactroySlipControl", FactroySlipControl);
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
