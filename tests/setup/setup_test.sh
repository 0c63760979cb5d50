#!/usr/bin/env bash
# tools/setup.sh against a package mirror in mid-sync, with no network: apt-get, dpkg,
# dpkg-query, sudo, sleep and what registers the emulator with the kernel (mount,
# update-binfmts, tee) are stubs on PATH that log each call and fail as told.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
release=$(. /etc/os-release && echo "$VERSION_CODENAME")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"

stub() {  # name body
    printf '#!/usr/bin/env bash\necho "%s $*" >>"$STUB_LOG"\n%s\n' "$1" "$2" >"$work/bin/$1"
    chmod +x "$work/bin/$1"
}
# apt-get update fails its first $STUB_UPDATE_FAILS calls as a mirror in sync does; install
# resolves: always, only with a target release (-t), or never.
stub apt-get '
case " $* " in
*" update "*)
    n=$(grep -c "^apt-get update" "$STUB_LOG")
    if [ "$n" -le "$STUB_UPDATE_FAILS" ]; then
        echo "E: Failed to fetch .../binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?" >&2
        exit 100
    fi ;;
*" install "*)
    case "$STUB_INSTALL" in
    always) ;;
    release) [[ " $* " == *" -t "* ]] || { echo "E: Unable to correct problems, you have held broken packages." >&2; exit 100; } ;;
    never) echo "E: Unable to correct problems, you have held broken packages." >&2; exit 100 ;;
    esac ;;
esac'
stub dpkg '[ "$1" = --print-foreign-architectures ] && echo i386; exit 0'
stub dpkg-query '[ "$STUB_INSTALLED" = yes ] && printf "install ok installed"; exit 0'
# Whether or not the test runs as root, each command setup.sh runs as root is a stub: sudo
# runs it as root would, and nothing of the system changes.
stub sudo 'exec "$@"'
stub mount 'exit 0'
stub update-binfmts 'exit 0'
stub tee 'cat >/dev/null'
stub sleep 'exit 0'

failures=0
# name | updates that fail | install resolves | installed | exit | update calls | install calls, the target of each
while IFS='|' read -r name fails install installed code updates installs; do
    : >"$work/log"
    STUB_LOG=$work/log STUB_UPDATE_FAILS=$fails STUB_INSTALL=$install STUB_INSTALLED=$installed \
        PATH="$work/bin:$PATH" bash "$root/tools/setup.sh" >"$work/out" 2>"$work/err"
    got=$?
    got_updates=$(grep -c '^apt-get update' "$work/log")
    got_installs=$(grep '^apt-get install' "$work/log" | sed -n 's/.* -t \([^ ]*\) .*/\1/p; t; s/.*/-/p' | paste -sd, -)
    expected_installs=${installs//RELEASE/$release}
    problems=()
    [ "$got" = "$code" ] || problems+=("exit $got, expected $code")
    [ "$got_updates" = "$updates" ] || problems+=("$got_updates updates, expected $updates")
    [ "$got_installs" = "$expected_installs" ] || problems+=("installs '$got_installs', expected '$expected_installs'")
    if [ "$code" != 0 ] && ! tail -n1 "$work/err" | grep -q '^setup: could not install .*mirror'; then
        problems+=("no one-line reason at the end: '$(tail -n1 "$work/err")'")
    fi
    if [ ${#problems[@]} -eq 0 ]; then
        echo "ok: $name"
    else
        echo "FAILED: $name: ${problems[*]}"
        sed 's/^/    /' "$work/log" "$work/err"
        failures=$((failures + 1))
    fi
done <<'CASES'
everything installed: no update, no install, no network|0|never|yes|0|0|
one failed update is tried again|1|always|no|0|2|-
a mirror in sync all along: go on, then every package from the release|9|release|no|0|3|-,RELEASE
nothing resolves: give up saying so in one line|9|never|no|1|3|-,RELEASE
CASES
echo "setup: $((4 - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
