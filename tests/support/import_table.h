// A module's import address table, as the ledger and the benchmark hook it: every call the
// module makes to a system DLL goes through one of its slots.
#pragma once

#include <windows.h>

#include <functional>

// Calls visit(function, slot) for each function the module imports by name, from dll only
// when dll is given.
void ForEachImport(HMODULE module, const char* dll, const std::function<void(const char*, void**)>& visit);

// Points an import slot elsewhere, whatever the protection of its page.
void WriteSlot(void** slot, void* value);
