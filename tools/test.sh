#!/usr/bin/env bash
# Installs what is missing, builds both architectures and runs every test under Wine:
# the 32-bit product (emulated, so slower) and the 64-bit companion side by side.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup.sh"
"$root/tools/build.sh" i686 x86_64

status=0
(cd "$root/build/i686" && ctest --output-on-failure --timeout 900 >"$root/build/i686/ctest.log" 2>&1) & i686=$!
(cd "$root/build/x86_64" && ctest --output-on-failure --timeout 900 >"$root/build/x86_64/ctest.log" 2>&1) & x86_64=$!
wait $i686 || status=1
wait $x86_64 || status=1
for arch in x86_64 i686; do
    echo "== $arch"
    cat "$root/build/$arch/ctest.log"
done
exit $status
