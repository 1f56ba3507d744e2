#!/usr/bin/env bash
# Installs what building, running and testing need on Debian 12 or 13, and only what is missing.
# A package mirror caught in mid-sync fails now and then: the lists are read again a few times,
# a failure is remembered for an hour, and what decides is whether the packages install.
# Without the 64-bit packages nothing can be built, and set-up stops; without the 32-bit Wine
# only the x86 tests cannot run, and set-up goes on, leaving the reason for the test and bench
# scripts.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
source "$top/scripts/x86-probe.sh"

# g++ builds the native tests; the win32 thread-model cross compilers build programs that
# start on Windows XP.
packages=(cmake ninja-build g++ g++-mingw-w64-x86-64-win32 g++-mingw-w64-i686-win32 wine64
          fonts-wine xvfb xauth x11-utils locales fonts-ipafont-gothic imagemagick googletest
          zip unzip)

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
# Another package manager at work (an unattended upgrade, a second set-up) is waited for, not
# taken for a failing mirror.
apt=(apt-get -o DPkg::Lock::Timeout=600)
apt_log=$(mktemp)
trap 'rm -f "$apt_log"' EXIT

# What apt said went wrong, in one line: the index or package it could not fetch and why, or
# the dependency it could not meet.
apt_reason() {  # log
    local fetch
    fetch=$(sed -n 's/^E: Failed to fetch \([^ ]*\) *\(.*\)$/\1: \2/p' "$1" | head -n 1)
    [ -z "$fetch" ] || { echo "$fetch"; return; }
    { grep -m1 ' : Depends: ' "$1" || grep -m1 '^E: ' "$1" || tail -n 1 "$1"; } | sed 's/^ *\(E: \)\{0,1\}//'
}

# A failed read of the package lists, remembered for an hour: apt's reason, the architectures
# the lists were read for, when, and one "tried:" line for each package that then failed to
# install. Every script that sets up (build, release, test, bench, demo) would otherwise wait
# another minute for the same broken mirror. A read that works removes it.
lists_failed="$top/build/package-lists-failure.txt"
lists_memory=3600
remembered() { sed -n "s/^$1: //p" "$lists_failed"; }  # field

# Whether the lists failed for these architectures within the hour and every package was
# tried since: reading them again would only give the same failure.
failure_holds() {  # architectures package...
    local architectures=$1 since package
    shift
    [ -f "$lists_failed" ] && [ "$(remembered architectures)" = "$architectures" ] || return 1
    since=$(remembered since)
    [[ $since =~ ^[0-9]+$ ]] && [ $(($(date +%s) - since)) -lt $lists_memory ] || return 1
    for package in "$@"; do
        grep -qxF "tried: $package" "$lists_failed" || return 1
    done
}

# Reads the package lists once for each set of architectures, trying again for about a
# minute, unless a failure still holds. apt keeps every list it could read, so a failure only
# leaves its reason behind.
lists_read_for=- lists_failure=
read_package_lists() {  # package...
    local architectures since try
    architectures=$(dpkg --print-foreign-architectures | paste -sd' ')
    [ "$lists_read_for" != "$architectures" ] || return 0
    lists_read_for=$architectures lists_failure=
    if failure_holds "$architectures" "$@"; then
        lists_failure=$(remembered reason) since=$(remembered since)
        echo "setup: the package lists could not be read at $(date -d "@$since" +%H:%M); set-up" \
            "reads them again after $(date -d "@$((since + lists_memory))" +%H:%M) (sooner:" \
            "rm ${lists_failed#"$top"/})"
        return 0
    fi
    echo "setup: reading Debian's package lists"
    for try in 1 2 3 4; do
        "${sudo[@]}" "${apt[@]}" update -qq >"$apt_log" 2>&1 && { rm -f "$lists_failed"; return 0; }
        [ "$try" -eq 4 ] || { echo "setup: the package mirror failed; reading again in 15 s"; sleep 15; }
    done
    echo "setup: some package lists could not be read; apt said:"
    grep '^[EW]: ' "$apt_log" | sed 's/^/setup:   /' || true
    # The mirror's address is no part of the reason.
    lists_failure=$(apt_reason "$apt_log" | sed 's/ *\[IP: [^]]*\]//' | tr -s ' ')
    mkdir -p "$(dirname "$lists_failed")"
    printf 'architectures: %s\nsince: %s\nreason: %s\n' "$architectures" "$(date +%s)" \
        "$lists_failure" >"$lists_failed"
}

# Installs what is missing of the packages; on failure, returns 1 with the reason in
# $install_failure: the lists' failure when they could not be read, as that is what keeps the
# packages from installing (the dependency apt names first is only whichever it met first),
# and apt's own reason otherwise.
install_missing() {  # package...
    local package missing=()
    for package in "$@"; do
        package_installed "$package" || missing+=("$package")
    done
    [ ${#missing[@]} -gt 0 ] || return 0
    read_package_lists "${missing[@]}"
    echo "setup: installing ${#missing[@]} packages and what they need (a few minutes the first" \
        "time): ${missing[*]}"
    # Quiet, but not so quiet that apt keeps its reasons to itself.
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" "${apt[@]}" install -y -q "${missing[@]}" \
        >"$apt_log" 2>&1 && return 0
    [ -n "$lists_failure" ] || { install_failure="installing: $(apt_reason "$apt_log")"; return 1; }
    for package in "${missing[@]}"; do
        grep -qxF "tried: $package" "$lists_failed" || echo "tried: $package" >>"$lists_failed"
    done
    install_failure="the package lists could not be read ($lists_failure), which keeps"
    install_failure+=" ${missing[*]} from installing"
    return 1
}

if ! install_missing "${packages[@]}"; then
    echo "setup: stopped: Debian's package mirror is failing, not this project (try again" \
        "later): $install_failure" >&2
    exit 1
fi

# The x86 test programs run in a 32-bit Wine beside the 64-bit one, where this machine
# executes 32-bit code at all; why there is none is kept for the test and bench scripts.
refusal=$(x86_refusal)
rm -f "$wine32_missing"
if [ -n "$refusal" ]; then
    echo "setup: no 32-bit Wine, this machine cannot execute 32-bit x86 code: $refusal"
else
    dpkg --print-foreign-architectures | grep -qx i386 || "${sudo[@]}" dpkg --add-architecture i386
    if ! install_missing wine32:i386; then
        mkdir -p "$(dirname "$wine32_missing")"
        echo "the package mirror did not give it: $install_failure" >"$wine32_missing"
        echo "setup: no 32-bit Wine, $(cat "$wine32_missing")"
    fi
fi

# The x86 test programs also run on ReactOS under qemu where its image is at hand.
source "$top/scripts/reactos-tests.sh"
if [ -f "$reactos_image" ] && ! install_missing qemu-system-x86 mtools fdisk xz-utils; then
    echo "setup: no ReactOS run, the package mirror did not give its tools: $install_failure"
fi

# Wine takes its ANSI code page from the glibc locale: 932 needs ja_JP.UTF-8 generated.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
    echo "setup: generating the ja_JP.UTF-8 locale"
    "${sudo[@]}" sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | "${sudo[@]}" tee -a /etc/locale.gen >/dev/null
    "${sudo[@]}" locale-gen >/dev/null
fi
