#!/usr/bin/env bash
# Installs what building, running and testing need on Debian 12, and only what is missing.
set -euo pipefail

# g++ builds the native tests; the win32 thread-model cross compilers build programs that
# start on Windows XP.
packages=(cmake ninja-build g++ g++-mingw-w64-x86-64-win32 g++-mingw-w64-i686-win32 wine64
          fonts-wine xvfb xauth x11-utils locales fonts-ipafont-gothic imagemagick googletest
          zip unzip)

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)

install_missing() {  # package...
    local package missing=()
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$package")
    done
    [ ${#missing[@]} -gt 0 ] || return 0
    echo "setup: reading Debian's package lists"
    "${sudo[@]}" apt-get update -qq
    echo "setup: installing ${#missing[@]} packages and what they need (a few minutes the first" \
        "time): ${missing[*]}"
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq \
        "${missing[@]}" >/dev/null
}
install_missing "${packages[@]}"

# The x86 test programs run in a 32-bit Wine beside the 64-bit one, where this machine
# executes 32-bit code at all.
source "$(dirname "$0")/x86-probe.sh"
refusal=$(x86_refusal)
if [ -n "$refusal" ]; then
    echo "setup: no 32-bit Wine, this machine cannot execute 32-bit x86 code: $refusal"
else
    dpkg --print-foreign-architectures | grep -qx i386 || "${sudo[@]}" dpkg --add-architecture i386
    install_missing wine32:i386
fi

# The x86 test programs also run on ReactOS under qemu where its image is at hand.
top=$(cd "$(dirname "$0")/.." && pwd)
source "$top/scripts/reactos-tests.sh"
[ ! -f "$reactos_image" ] || install_missing qemu-system-x86 mtools fdisk xz-utils

# Wine takes its ANSI code page from the glibc locale: 932 needs ja_JP.UTF-8 generated.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
    echo "setup: generating the ja_JP.UTF-8 locale"
    "${sudo[@]}" sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | "${sudo[@]}" tee -a /etc/locale.gen >/dev/null
    "${sudo[@]}" locale-gen >/dev/null
fi
