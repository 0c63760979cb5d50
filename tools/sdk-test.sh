#!/usr/bin/env bash
# Installs the SDK from a build folder, builds the host in tests/sdk against it with
# find_package(Veltra1024) and runs it under Wine:
#   tools/sdk-test.sh BUILD_DIR i686|x86_64 OUT_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1 arch=$2 out=$3
rm -rf "$out"
cmake --install "$build" --prefix "$out/sdk" >/dev/null
cmake -S "$root/tests/sdk" -B "$out/consumer" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$arch-w64-mingw32.cmake" \
      -DCMAKE_PREFIX_PATH="$out/sdk" -DCMAKE_FIND_ROOT_PATH_MODE_PACKAGE=BOTH >/dev/null
cmake --build "$out/consumer" >/dev/null
dlls=$out/sdk/bin
[ "$arch" = x86_64 ] && dlls=$out/sdk/bin/x64
cp "$dlls/Veltra1024.dll" "$out/consumer/"
exec "$root/tools/wine-run.sh" --arch "$arch" --screen 1024x768 --cwd "$out/consumer" -- "$out/consumer/sdk_consumer.exe"
