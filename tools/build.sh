#!/usr/bin/env bash
# Cross-builds the library, its tests and the demo for one or both architectures:
#   tools/build.sh [i686|x86_64 ...]     (default: both)
# into build/<arch>/bin.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
archs=("$@")
[ ${#archs[@]} -gt 0 ] || archs=(i686 x86_64)
for arch in "${archs[@]}"; do
    cmake -S "$root" -B "$root/build/$arch" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$arch-w64-mingw32.cmake" >/dev/null
    cmake --build "$root/build/$arch" -j "$(nproc)"
done
