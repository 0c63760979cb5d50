#!/usr/bin/env bash
# Builds a host the way an MSVC program is built (clang for i686-pc-windows-msvc, lld-link,
# MSVC-style import libraries from llvm-dlltool, no C runtime), checks that the result is
# such a program, and runs it under Wine against the 32-bit Veltra1024.dll:
#   tools/msvc-host-test.sh [--dll PATH] [--out DIR] [--screen WxH]
# Without --dll it uses build/i686/bin/Veltra1024.dll, building it first when missing or
# older than the sources. Ends with "N passed, N failed"; exits non-zero on any failure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

dll='' out=$root/build-msvc screen=1024x768
while [ $# -gt 0 ]; do
    case $1 in
    --dll) dll=$2; shift 2 ;;
    --out) out=$2; shift 2 ;;
    --screen) screen=$2; shift 2 ;;
    *) echo "msvc-host-test: unknown option $1" >&2; exit 2 ;;
    esac
done

for tool in clang lld-link llvm-dlltool llvm-readobj llvm-objdump llvm-nm; do
    command -v "$tool" >/dev/null || { echo "msvc-host-test: $tool is missing (tools/setup.sh installs it)" >&2; exit 2; }
done

if [ -z "$dll" ]; then
    dll=$root/build/i686/bin/Veltra1024.dll
    if [ ! -f "$dll" ] || [ -n "$(find "$root"/{face,window,button,label,slip,res,include} "$root/CMakeLists.txt" \
                                     -newer "$dll" -type f -print -quit)" ]; then
        "$root/tools/build.sh" i686
    fi
fi
[ -f "$dll" ] || { echo "msvc-host-test: no DLL at $dll" >&2; exit 2; }

passed=0 failed=0
check() {  # $1: description; the rest: a command that must succeed
    local what=$1
    shift
    if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $what"; fi
}

mkdir -p "$out"
out=$(cd "$out" && pwd)  # Wine runs the program from another folder
# MSVC-style import libraries: decorated stdcall names (_DrawFace@4) whose entries load
# the undecorated exports (-k).
llvm-dlltool -m i386 -k -d "$root/res/veltra1024-x86.def" -l "$out/Veltra1024.lib"
for system in kernel32 user32 gdi32; do
    llvm-dlltool -m i386 -k -d "$root/tests/msvc/$system.def" -l "$out/$system.lib"
done

# No C runtime: nothing needs a CRT start-up, stack cookies or exception tables.
# Frame pointers keep locals addressable while the host checks the stack pointer.
clang --target=i686-pc-windows-msvc -x c++ -std=c++17 -O2 -ffreestanding -nostdlibinc \
    -fno-exceptions -fno-rtti -fno-stack-protector -fno-omit-frame-pointer -Wall -Wextra \
    -I "$root/include" -I "$root/tests/msvc" \
    -c "$root/tests/msvc/msvc_host.cpp" -o "$out/msvc_host.obj"
lld-link /nologo /machine:x86 /subsystem:console /entry:HostMain /nodefaultlib \
    /out:"$out/msvc_host.exe" "$out/msvc_host.obj" \
    "$out/Veltra1024.lib" "$out/kernel32.lib" "$out/user32.lib" "$out/gdi32.lib"
cp "$dll" "$out/Veltra1024.dll"

# The program is an MSVC-style PE: a 32-bit console program from lld-link, with only the
# DLL and the three system DLLs imported, and the DLL's names undecorated.
exe=$out/msvc_host.exe
headers=$(llvm-readobj --file-headers "$exe")
imports=$(llvm-readobj --coff-imports "$exe")
sections=$(llvm-objdump -h "$exe" | awk '$1 ~ /^[0-9]+$/ {print $2}' | sort | tr '\n' ' ')
libraries=$(sed -n 's/^ *Name: //p' <<<"$imports" | sort -f | tr '\n' ' ')
symbols=$(sed -n 's/^ *Symbol: \([^ ]*\).*/\1/p' <<<"$imports")
echo "msvc_host.exe: imports from $libraries; sections $sections"
check "machine i386" grep -q 'Machine: IMAGE_FILE_MACHINE_I386' <<<"$headers"
check "linked by an MSVC-compatible linker (version 14, not GNU ld's 2.x)" grep -q 'MajorLinkerVersion: 14' <<<"$headers"
check "compiled with Microsoft C++ names (a __stdcall window procedure)" \
    grep -qE ' \?HostWndProc@.*@@YG' <<<"$(llvm-nm "$out/msvc_host.obj")"
check "console subsystem" grep -q 'Subsystem: IMAGE_SUBSYSTEM_WINDOWS_CUI' <<<"$headers"
check "imports exactly Veltra1024, KERNEL32, USER32 and GDI32" \
    test "$libraries" = "GDI32.dll KERNEL32.dll USER32.dll Veltra1024.dll "
check "no run-time sections (.CRT, .tls)" test -z "$(grep -oE '\.(CRT|tls)' <<<"$sections" || true)"
check "no decorated import names" test -z "$(grep '@' <<<"$symbols" || true)"
for name in DrawFace FactroyColorButtom FactroyLableControl FactroySlipControl GetBgkColorSize GetObjectRect \
    SetAccessibleName SetAccessibleOption FitScreen; do
    check "imports $name by its undecorated name" grep -qx "$name" <<<"$symbols"
done

# The run: its last line is the host's count.
log=$out/msvc_host.log
{
    status=0
    "$root/tools/wine-run.sh" --arch i686 --screen "$screen" --cwd "$out" --timeout 300 -- "$exe" 2>&1 || status=$?
    echo "$status" >"$out/msvc_host.status"
} | tr -d '\r' | tee "$log"
status=$(cat "$out/msvc_host.status")
summary=$(grep -E '^[0-9]+ passed, [0-9]+ failed$' "$log" | tail -n1 || true)
if [ -n "$summary" ]; then
    passed=$((passed + ${summary%% passed*}))
    hostFailed=${summary#*passed, }
    failed=$((failed + ${hostFailed%% failed}))
    check "the host exits with 0" test "$status" -eq 0
else
    failed=$((failed + 1))
    echo "FAILED: the host did not finish (exit status $status)"
fi
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
