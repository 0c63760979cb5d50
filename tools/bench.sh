#!/usr/bin/env bash
# Measures what the library costs and writes docs/performance.md:
#   tools/bench.sh [--out FILE]
# Builds both architectures, then runs veltra_bench.exe under Wine once per screen size (the
# library measures the screen once per process): x86_64 for times and counts, i686 for counts
# only, since 32-bit Wine runs under qemu emulation and its times mean nothing. VELTRA_BUILD_DIR
# names a build tree of one's own (default: build/, tools/build.sh's).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/docs/performance.md
while [ $# -gt 0 ]; do
    case $1 in
    --out) out=$2; shift 2 ;;
    *) echo "usage: tools/bench.sh [--out FILE]" >&2; exit 2 ;;
    esac
done
build=$(realpath -m "${VELTRA_BUILD_DIR:-$root/build}")
. "$root/tools/measured_commit.sh"
commit=$(measured_commit "$root" bench) || exit 1

"$root/tools/setup.sh"
for arch in i686 x86_64; do
    cmake -S "$root" -B "$build/$arch" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$arch-w64-mingw32.cmake"
    cmake --build "$build/$arch" -j "$(nproc)"
done

screens=(1024x768 1920x1080 3840x2160 7680x4320)
largest=7680x4320
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
results=$work/results
# The library prints a logo that it finds below the current folder into the face; the runs
# start in an empty folder, so that every attach is measured alike.
mkdir "$work/cwd"

run() {  # arch screen [options]
    local arch=$1 screen=$2
    shift 2
    echo "bench: $arch at $screen" >&2
    # Runs wait for other users of the same Wine prefix: its lock serialises them.
    "$root/tools/wine-run.sh" --arch "$arch" --screen "$screen" --cwd "$work/cwd" -- \
        "$build/$arch/bin/veltra_bench.exe" "$@" | tr -d '\r' >>"$results"
}
daylight=$root/res/skins/daylight
for screen in "${screens[@]}"; do
    fills=()
    [ "$screen" = "$largest" ] && fills=(--list-fills)
    run x86_64 "$screen" --builds 61 --calls 301 --skin "Z:${daylight//\//\\}" "${fills[@]}"
done
for screen in "${screens[@]}"; do
    run i686 "$screen" --counts-only
done

# One measurement's lines as a Markdown table: its title, header, rows and notes.
table() {  # id
    awk -F '\t' -v id="$1" '
        function cells(first,   line, i) {
            line = "|"
            for (i = first; i <= NF; i++) { gsub(/\|/, "\\|", $i); line = line " " $i " |" }
            return line
        }
        $1 == "table" && $2 == id && title == "" {
            title = $3; header = cells(4); rule = "|"
            for (i = 4; i <= NF; i++) rule = rule "---|"
        }
        $1 == "row" && $2 == id { rows = rows cells(3) "\n" }
        $1 == "note" && $2 == id && !($3 in seen) { seen[$3] = 1; notes = notes "\n" $3 "\n" }
        END {
            if (rows == "") exit
            printf "### %s\n\n%s\n%s\n%s%s\n", title, header, rule, rows, notes
        }' "$results"
}

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n1)
[ -n "$cpu" ] || cpu=$(lscpu | sed -n 's/^Model name:[[:space:]]*//p' | head -n1)

mkdir -p "$(dirname "$out")"
{
    cat <<EOF
# Performance

What the library costs, measured by \`tools/bench.sh\` under Wine on an Xvfb screen of each
size. Times are medians of repeated runs on x86_64, kept to one processor, each thing run three
times untimed before its timed runs. Things compared are run in turn, and a ratio is the median
of their turn-by-turn ratios; beside it, in brackets or as *IQR / median*, is how those ratios
scatter: their interquartile range over their median. A target on a ratio that scatters more
than 10 % is *inconclusive*, whatever its median says. The i686 runs (the product DLL, under
qemu emulation) give counts only.

| Machine | |
|---|---|
| Commit | $commit |
| CPU | $cpu |
| Cores | $(nproc) |
| Wine | $(/usr/lib/wine/wine64 --version) |
| Compilers | $(x86_64-w64-mingw32-g++-posix --version | head -n1); $(i686-w64-mingw32-g++-posix --version | head -n1) |
| Date | $(date -u '+%Y-%m-%d %H:%M UTC') |

## Targets

EOF
    table targets
    cat <<'EOF'
## Single calls

GDI and USER calls that the library's paths are made of, each timed by itself, to read the
tables below by: a path's distance from its floor is what its other calls cost here.

EOF
    table single
    cat <<'EOF'
## Face build at attach

With the library's code linked into the benchmark, `AttachLibrary` and `DetachLibrary` run
again and again on each screen; the benchmark's own import table is watched, so every
`BitBlt` of the widening is counted and logged. A *repeated fill* is found in the log as a
copy of a band from the art followed by copies that land right after what is already filled
and read either the band again or the start of the fill; its copies are checked against
1 + ceil(log2(run / band)). Beside the library:

- *WidenFace*: the library's widening alone, from the art loaded beforehand as attach loads it.
- *Naive widening*: the library's copies as logged, but every fill copied band by band from the
  art, from the same loaded art.
- *Copy floor*: the least WidenFace can do. From the art loaded as WidenFace's run loads it,
  the art given back (the library gives it back too), then the four face bitmaps made at their
  final sizes, each filled by one plain copy of a bitmap of that size holding the face, with a
  screen DC and two memory DCs as attach has.
- *Attach floor*: the least `AttachLibrary` can do: the four face bitmaps loaded from the
  resources (`LoadBitmapA`), as attach must, then the copy floor where the face widens.
- *FitScreen*: a fit to this screen of a library attached and fitted to another beforehand
  (1024 x 768, or 1920 x 1080 on the design screen): what a host's fit costs without controls
  to move. It makes the same face as attach, so its target is 1.2 x `AttachLibrary`.
- *Where the time goes*: attach's steps, timed inside `AttachLibrary` by hooks on the
  benchmark's imports of the system function that makes each; the rest is the widening and what
  joins the steps.

Two targets, judged on every screen: WidenFace within 1.5 x the copy floor (on every screen
larger than the design: at design size there is no widening), and `AttachLibrary` within 1.5 x
the attach floor. WidenFace, like its floor, makes the four faces at their final sizes and fills
them, by its repeated copies where the floor makes one. `AttachLibrary` is what a host's load
costs; beyond its floor it loads the cursor, reads the screen's size and looks for a logo.
*Where the time goes* shows what it is made of. Each time and each share of `AttachLibrary` is
the median of turn-by-turn values, so the parts need not add up to the whole exactly.

Touching memory never used before is dear here (see the single calls), and whether a build is
handed memory that was just freed is up to Wine, so every build is timed two ways: *just freed*,
each timed run right after an untimed run of the same kind; and *never used*, every run keeping
what it made until all runs are done, as a process's first attach finds memory. The last column
of the time table is how much resident memory each run took afresh from the system (its working
set's growth; Wine counts no page faults), each megabyte of it faulted in page by page.

What is Wine's, and what was the library's:

- Wine keeps a bitmap's pixels in memory from the C library of the system it runs on (glibc),
  not in Wine's own heap. A block that large is first mapped afresh; once one is freed, glibc
  raises the size it keeps for reuse to the largest block freed, and on each free hands the
  top of its heap back to the system when more than twice that is free there. Whether a build
  reuses memory, or faults every page of its faces in again, therefore depends on the sizes it
  makes and frees, and in what order. None of this is the library's to change, and a process's
  first attach (*never used*) always faults its faces in.
- The library's part was the order. WidenFace used to widen the top and left faces first, while
  the larger art was still held; freeing it all at the end then crossed glibc's limit at
  3840 x 2160, so every attach there faulted about 5.7 MB in afresh (15.4 ms for WidenFace
  against 2.1 ms for the floor, which holds no art). It now widens the largest faces first,
  each giving its art back before the smaller ones are made, and there takes no fresh memory
  when memory was just freed.
- The copy floor used to make its faces with the art never loaded. Where memory was never used,
  WidenFace put two of its faces into the memory of the art it had just given back, while the
  floor faulted all four in, so WidenFace took 0.53 x the "floor" at 1920 x 1080. The floor now
  starts from the art, as WidenFace does, and gives it back first.
- The doubling saves calls, not time, under Wine: the naive widening makes up to eight times the
  copies and takes about as long (the *Naive / WidenFace* column), because a copy into memory
  already faulted in costs little beside touching new pages, which both do alike.

EOF
    for id in face-copies fills face-time attach-steps; do table "$id"; done
    cat <<'EOF'
## A fit at a scale

A fit to the screen at the largest scale it holds (2 on 3840 x 2160, 4 on 7680 x 4320), from the
design screen at scale 1, beside a fit at scale 1 to the same screen and beside the scaled fit's
floor: the scaled face's four bitmaps made and their pixels copied once. The scaled face has
scale x scale as many pixels as the face at scale 1.

The target is missed, and this is where the time goes (7680 x 4320 at scale 4, x86_64, timed
apart while this was built): the 2x art loaded from the DLL (about 1.9 ms: its 24-bit bitmaps
made the screen's 32), enlarged to the scale a row at a time (about 3.5 ms), then widened with
the doubling copies, which costs about the floor. At scale 2 nothing is enlarged, and what stands
above the floor is loading the 2x art. Going lower would mean holding the art of the scale in
force between fits (megabytes kept for a rare event), or widening straight from the 2x art with
stretching copies, which are exact for whole factors under Wine but not promised by the system.

EOF
    table scaled-fit
    cat <<'EOF'
## A skin loaded

`LoadSkin` of the whole daylight skin (every piece at both densities, and its `skin.ini`) on
1920 x 1080, from the built-in art, beside a fit to 1920 x 1080 from the design screen: both make
the face anew. The target is missed by far, and by design: a skin is read whole, each of its 121
files once, before anything changes, and under Wine opening and reading a file costs about 80 µs
(121 of them: about 10 ms), then its 8.5 MB are checked and kept. The pictures made from it cost
what a fit costs.

EOF
    table skin-load
    cat <<'EOF'
## Per call

`DrawFace`, `GetObjectRect(20)` and each control's paint, through `Veltra1024.dll` as a host
loads it; the GDI32 and USER32 calls are the DLL's own, counted at its import table. A control
is repainted with `RedrawWindow(RDW_INVALIDATE | RDW_UPDATENOW)`, which paints it at once. The
floor copies as many written pixels with plain `BitBlt`s, between bitmaps already selected into
memory DCs.

EOF
    for id in drawface query20 paint-button paint-label paint-slip; do table "$id"; done
    cat <<'EOF'
## Invalidation

The seek slip dragged by synthetic messages (a press on the thumb, then moves along the track):
after each move the slip's update region is read with `GetUpdateRgn` and its area compared with
the whole slip's. A label with blinking text ticked by `WM_TIMER`: every `BitBlt` of the DLL is
logged, those into a window's DC are copies to the screen, those out of one are reads of the
parent.

EOF
    for id in drag blink; do table "$id"; done
} >"$out"
echo "bench: wrote $out" >&2
