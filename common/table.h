// Lookups in the library's tables of codes.
#pragma once

#include <windows.h>

#include <cstddef>

// The row whose code is code, or null.
template <typename Row, std::size_t Count>
const Row* FindRow(const Row (&rows)[Count], UINT code)
{
    for (const Row& row : rows)
        if (row.code == code)
            return &row;
    return nullptr;
}
