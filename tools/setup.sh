#!/usr/bin/env bash
# Installs what the build and the Wine tests need on a Debian 12 machine, when missing:
# the mingw-w64 cross compilers, Wine (64- and 32-bit), qemu user emulation for i386
# programs (this kernel runs no 32-bit code), Xvfb, CMake, GoogleTest's sources, and clang,
# lld and llvm for the MSVC-ABI host test (tools/msvc-host-test.sh).
# A machine that has everything installs nothing and needs no network.
set -euo pipefail

need_root() { if [ "$(id -u)" -ne 0 ]; then sudo "$@"; else "$@"; fi; }

packages=(cmake make python3 xvfb x11-utils googletest
          g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
          wine wine64 wine32:i386 qemu-user qemu-user-binfmt binfmt-support
          clang lld llvm)
update_tries=3

# A mirror in mid-sync fails one index of many for a while: try again, then go on with
# the lists that were fetched.
update_lists() {
    local try
    for ((try = 1; try <= update_tries; try++)); do
        need_root apt-get update && return 0
        [ "$try" -lt "$update_tries" ] && sleep $((try * 10))
    done
    echo "setup: apt-get update failed $update_tries times; going on with the package lists it fetched" >&2
}

# With one index missing (the i386 security index, say) the newest versions of the two
# architectures disagree and apt finds "held broken packages"; resolving every package
# from the release itself gives versions that both architectures have.
install() {
    local release
    need_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "$@" && return 0
    release=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    if [ -n "$release" ]; then
        echo "setup: trying again with every package from $release" >&2
        need_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends -t "$release" "$@" && return 0
    fi
    echo "setup: could not install $*; a package mirror may be in mid-sync: run this again later, or point /etc/apt/sources.list at another mirror" >&2
    exit 1
}

if ! dpkg --print-foreign-architectures | grep -qx i386; then
    need_root dpkg --add-architecture i386
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    update_lists
    install "${missing[@]}"
fi

# 32-bit Wine runs under qemu: make sure the kernel hands i386 programs to it.
if [ ! -e /proc/sys/fs/binfmt_misc/register ]; then
    need_root mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
fi
if [ ! -e /proc/sys/fs/binfmt_misc/qemu-i386 ]; then
    need_root update-binfmts --enable qemu-i386 2>/dev/null || true
fi
if [ ! -e /proc/sys/fs/binfmt_misc/qemu-i386 ]; then
    # The registration packages could not do it here (no systemd): register by hand,
    # with the magic and mask of an i386 ELF executable.
    interp=$(command -v qemu-i386)
    printf '%s' ":qemu-i386:M::\\x7fELF\\x01\\x01\\x01\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x02\\x00\\x03\\x00:\\xff\\xff\\xff\\xff\\xff\\xfe\\xfe\\x00\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xfe\\xff\\xff\\xff:${interp}:" \
        | need_root tee /proc/sys/fs/binfmt_misc/register >/dev/null
fi
echo "setup: toolchains, Wine, qemu-i386 and Xvfb are ready"
