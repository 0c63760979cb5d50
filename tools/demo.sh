#!/usr/bin/env bash
# Installs what is missing, builds the 32-bit library and the demo host, and runs the demo
# full-screen under Wine on an Xvfb screen of each size, saving a PNG screenshot of each:
#   tools/demo.sh [--out DIR] [--scale N] [--skin DIR] [WxH ...]
# (default: 1024x768 1920x1080, into build/screenshots; the scale: the largest each screen holds;
# the built-in art)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/build/screenshots
if [ "${1:-}" = "--out" ]; then out=$(realpath -m "$2"); shift 2; fi
options=()
while [ $# -gt 0 ]; do
    case $1 in
    --scale) options+=(--scale "$2"); shift 2 ;;
    --skin) folder=$(realpath "$2"); options+=(--skin "Z:${folder//\//\\}"); shift 2 ;;
    *) break ;;
    esac
done
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(1024x768 1920x1080)

"$root/tools/setup.sh" >/dev/null
"$root/tools/build.sh" i686 >/dev/null
mkdir -p "$out"
bin=$root/build/i686/bin
for size in "${sizes[@]}"; do
    shot=$(mktemp --suffix=.bmp)
    "$root/tools/wine-run.sh" --arch i686 --screen "$size" --cwd "$root/demo" --timeout 300 -- \
        "$bin/veltra_demo.exe" "${options[@]}" --script --screenshot "Z:${shot//\//\\}"
    python3 "$root/tools/bmp2png.py" "$shot" "$out/face_$size.png"
    rm -f "$shot"
    echo "demo: $out/face_$size.png"
done
