#!/usr/bin/env bash
# Runs the reliability suite (soaks, message storms, refused creations, hostile inputs)
# under Wine on both architectures and writes its figures to docs/reliability.md:
#   tools/reliability.sh [--out FILE]
# VELTRA_BUILD_DIR names a build tree of one's own (default: build/, tools/build.sh's), so
# that a run leaves another's build alone.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/docs/reliability.md
if [ "${1:-}" = "--out" ]; then out=$(realpath -m "$2"); fi
build=$(realpath -m "${VELTRA_BUILD_DIR:-$root/build}")
. "$root/tools/measured_commit.sh"
commit=$(measured_commit "$root" reliability) || exit 1

"$root/tools/setup.sh" >/dev/null
for arch in i686 x86_64; do  # as tools/build.sh builds, into $build
    cmake -S "$root" -B "$build/$arch" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$arch-w64-mingw32.cmake" >/dev/null
    cmake --build "$build/$arch" -j "$(nproc)" >/dev/null
done
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
status=0
for arch in x86_64 i686; do
    "$root/tools/wine-run.sh" --arch "$arch" --screen 1024x768 --timeout 1800 -- \
        "$build/$arch/bin/veltra_reliability_tests.exe" >"$logs/$arch.log" 2>&1 || status=1
done
python3 "$root/tools/reliability_report.py" "$logs/x86_64.log" "$logs/i686.log" "$commit" >"$out"
echo "reliability: $out"
exit $status
