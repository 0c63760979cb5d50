// Figures the reliability tests measure, printed as "[figure] table | row | column | value"
// for tools/reliability.sh to gather into docs/reliability.md, and recorded with the test.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/support/ledger.h"

inline void Figure(const std::string& table, const std::string& row, const std::string& column, long long value)
{
    std::printf("[figure] %s | %s | %s | %lld\n", table.c_str(), row.c_str(), column.c_str(), value);
    std::fflush(stdout);
    ::testing::Test::RecordProperty(row + " " + column, std::to_string(value));
}

// What a run left behind, printed before any check of it, so that a leak shows its size:
// objects, windows and timers; and the bytes of heap blocks.
inline void LeftFigures(const std::string& table, const std::string& row, const Ledger& ledger)
{
    const long long blocks = static_cast<long long>(ledger.HeapBlocks());
    Figure(table, row, "objects, windows, timers left", static_cast<long long>(ledger.Alive().size()) - blocks);
    Figure(table, row, "heap bytes left", static_cast<long long>(ledger.HeapBytes()));
}

// Runs on x86_64 take the full counts; the emulated 32-bit runs take part of them.
constexpr bool FullCounts = sizeof(void*) == 8;
