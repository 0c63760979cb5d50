#!/usr/bin/env bash
# Runs the reliability suite (soaks, message storms, refused creations, hostile inputs)
# under Wine on both architectures and writes its figures to docs/reliability.md:
#   tools/reliability.sh [--out FILE]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/docs/reliability.md
if [ "${1:-}" = "--out" ]; then out=$(realpath -m "$2"); fi

"$root/tools/setup.sh" >/dev/null
"$root/tools/build.sh" i686 x86_64 >/dev/null
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
status=0
for arch in x86_64 i686; do
    "$root/tools/wine-run.sh" --arch "$arch" --screen 1024x768 --timeout 1800 -- \
        "$root/build/$arch/bin/veltra_reliability_tests.exe" >"$logs/$arch.log" 2>&1 || status=1
done
python3 "$root/tools/reliability_report.py" "$logs/x86_64.log" "$logs/i686.log" >"$out"
echo "reliability: $out"
exit $status
