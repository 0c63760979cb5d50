#!/usr/bin/env bash
# The demo follows a change of display mode while it runs: in Wine's virtual desktop of the
# largest size, the demo changes the mode as a user would (from the desktop's size to a
# smaller one, and from a smaller one back up), and its screenshot must be the screenshot of
# a fresh start at the new size, pixel for pixel. A run of the demo that times out, or
# saves no screenshot, fails its case.
#   tests/demo/follow_screen_test.sh ARCH BIN_DIR
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
arch=$1 bin=$2
work=${KEEP:-$(mktemp -d)}
trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
desktop=1920x1080
limit=60  # seconds for one run of the demo

shoot() {  # name screen [demo options]: a screenshot of the demo, as a BMP, or says why not
    local name=$1 screen=$2 status=0
    shift 2
    local shot="Z:${work//\//\\}\\$name.bmp"
    rm -f "$work/$name.bmp"
    "$root/tools/wine-run.sh" --arch "$arch" --screen "$screen" --desktop "$screen" --cwd "$root/demo" --timeout "$limit" -- \
        "Z:${bin//\//\\}\\veltra_demo.exe" "$@" --script --screenshot "$shot" </dev/null || status=$?
    if [ "$status" -eq 124 ]; then
        why="timed out after $limit s"
    elif [ "$status" -ne 0 ]; then
        why="ended with status $status"
    elif [ ! -s "$work/$name.bmp" ]; then
        why="saved no screenshot"
    else
        return 0
    fi
    return 1
}

failures=0
# name | started at | switched to
while IFS='|' read -r name start target; do
    options=()
    [ "$start" = "$desktop" ] || options+=(--start "$start")
    file=${name// /-}
    if ! shoot "$file" "$desktop" "${options[@]}" --switch "$target"; then
        echo "FAILED: $name: the demo switched from $start to $target $why"
        failures=$((failures + 1))
    elif ! shoot "$file-fresh" "$target"; then
        echo "FAILED: $name: a fresh start of the demo at $target $why"
        failures=$((failures + 1))
    elif cmp -s "$work/$file.bmp" "$work/$file-fresh.bmp"; then
        echo "ok: $name"
    else
        echo "FAILED: $name: the demo switched from $start to $target differs from a fresh start at $target"
        failures=$((failures + 1))
    fi
done <<CASES
wider to narrower|$desktop|1024x768
narrower to wider|1024x768|$desktop
smaller than the design|$desktop|800x600
CASES
echo "follow screen: $((3 - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
