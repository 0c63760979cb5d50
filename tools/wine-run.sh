#!/usr/bin/env bash
# Runs a Windows program under Wine on a fresh Xvfb screen of a given size:
#   tools/wine-run.sh --arch i686|x86_64 --screen WxH [--desktop WxH] [--cwd DIR] [--timeout S] -- program.exe [args]
# Exits with the program's exit code (124 on timeout).
#
# --desktop runs the program (a Windows path) in a Wine virtual desktop of that size; the
# exit code is then the desktop's, 0 whatever the program returned, 124 on timeout still.
# The desktop is always the 64-bit explorer's: a 32-bit explorer under qemu now and then
# never reaches its message loop (its main thread, signalled by the wineserver in the middle
# of a call to rpcss, goes on as another of its threads), and every program in that desktop
# waits on its desktop window for ever.
#
# Wine keeps the screen it first saw in the prefix's wineserver, and the library measures
# the screen once per process, so each run gets its own Xvfb and a wineserver of its own
# (runs on one prefix are serialised). The prefix is win64, so Wine's own services run
# natively; 32-bit programs run under qemu user emulation.
set -euo pipefail

arch=x86_64 screen=1024x768 desktop= cwd=$PWD limit=600
while [ $# -gt 0 ]; do
    case $1 in
    --arch) arch=$2; shift 2 ;;
    --screen) screen=$2; shift 2 ;;
    --desktop) desktop=$2; shift 2 ;;
    --cwd) cwd=$2; shift 2 ;;
    --timeout) limit=$2; shift 2 ;;
    --) shift; break ;;
    *) echo "wine-run: unknown option $1" >&2; exit 2 ;;
    esac
done
[ $# -gt 0 ] || { echo "wine-run: no program given" >&2; exit 2; }

export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree=;mshtml="
# Without it qemu searches the address space page by page for its guest and each 32-bit
# start takes about 45 s; 0x80000000 and lower make the 32-bit loader fail.
export QEMU_RESERVED_VA=0x81000000
export WINEARCH=win64
base=${VELTRA_WINE_PREFIX:-$HOME/.cache/veltra1024/wine}
export WINEPREFIX=$base-$arch
wine64=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
case $arch in
i686) loader=/usr/lib/wine/wine ;;
x86_64) loader=$wine64 ;;
*) echo "wine-run: unknown arch $arch" >&2; exit 2 ;;
esac

xvfb_pid=
start_xvfb() {  # $1: WxH; sets DISPLAY
    local numberFile
    numberFile=$(mktemp)
    # Xvfb picks a free display itself and writes its number, so parallel runs never share one.
    Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp 3>"$numberFile" >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 200); do
        if [ -s "$numberFile" ]; then
            export DISPLAY=:$(head -n1 "$numberFile")
            rm -f "$numberFile"
            return 0
        fi
        kill -0 $xvfb_pid 2>/dev/null || break
        sleep 0.05
    done
    rm -f "$numberFile"
    echo "wine-run: could not start Xvfb" >&2
    return 1
}
cleanup() {
    "$wineserver" -k >/dev/null 2>&1 || true
    [ -n "$xvfb_pid" ] && kill $xvfb_pid 2>/dev/null || true
}

mkdir -p "$(dirname "$base")"
exec 9>"$WINEPREFIX.lock"
flock 9
trap cleanup EXIT

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    start_xvfb 1024x768
    # A 64-bit wineboot keeps the prefix's services native. It is made once and reused.
    timeout 600 "$wine64" wineboot -i >/dev/null 2>&1
    # A crashing test must end, not wait on a dialog.
    timeout 120 "$wine64" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    "$wineserver" -w
    kill $xvfb_pid 2>/dev/null || true
    xvfb_pid=
fi

"$wineserver" -k >/dev/null 2>&1 || true
start_xvfb "$screen"
cd "$cwd"
if [ -n "$desktop" ]; then
    set -- "$wine64" explorer "/desktop=veltra,$desktop" "$@"
else
    set -- "$loader" "$@"
fi
status=0
timeout --kill-after=10 "$limit" "$@" || status=$?
exit $status
