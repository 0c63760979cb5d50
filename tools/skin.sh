#!/usr/bin/env bash
# For skin designers, on a fresh Debian machine too (it installs what it needs):
#   tools/skin.sh check DIR
#       every problem the library finds in the folder, by its own checks, and for every band
#       the library repeats to widen the face or the seek track, the largest colour step where
#       the band meets its own copy; exit status 1 when the library would refuse the skin
#   tools/skin.sh preview DIR [--out DIR] [--scale N] [WxH ...]
#       the demo host's screenshots with that skin (default: 1024x768 1920x1080, into
#       build/screenshots)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
usage() { sed -n '2,10p' "$0" >&2; exit 2; }
[ $# -ge 2 ] || usage
command=$1 folder=$2
shift 2
[ -e "$folder" ] || { echo "skin: $folder does not exist" >&2; exit 1; }
case $command in
check)
    "$root/tools/setup.sh" >/dev/null
    cmake -S "$root" -B "$root/build/x86_64" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/x86_64-w64-mingw32.cmake" >/dev/null
    cmake --build "$root/build/x86_64" --target veltra_skin_check -j "$(nproc)" >/dev/null
    path=$(realpath "$folder")
    "$root/tools/wine-run.sh" --arch x86_64 --screen 1024x768 -- \
        "$root/build/x86_64/bin/veltra_skin_check.exe" "Z:${path//\//\\}" | tr -d '\r'
    ;;
preview)
    out=()
    [ "${1:-}" = "--out" ] && { out=(--out "$2"); shift 2; }
    scale=()
    [ "${1:-}" = "--scale" ] && { scale=(--scale "$2"); shift 2; }
    "$root/tools/demo.sh" "${out[@]}" "${scale[@]}" --skin "$folder" "$@"
    ;;
*) usage ;;
esac
