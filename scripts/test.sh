#!/usr/bin/env bash
# Builds everything and runs every test: on this machine the text routine tests and the checks
# of the release programs (Windows XP imports, reproducible bytes), then the test programs under
# Wine on a private X display, once for x64 in a 64-bit prefix and once for x86 in a pure 32-bit
# one, where this machine executes 32-bit code. Each result line names its architecture; the
# summary gives each and the total of what ran. Exits non-zero on any failure.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

"$top/scripts/build.sh"
"$top/scripts/release.sh"

counts=$(mktemp)
trap 'rm -f "$counts"' EXIT

# Runs the tests of a tree with each line marked by its label, and notes "label passed failed"
# (a run that ends without CTest's count is one failure).
run_ctest() {  # label tree [ctest options...]
    local label=$1 tree=$2 log line
    shift 2
    log=$(mktemp)
    ctest --test-dir "$tree" --output-on-failure "$@" 2>&1 | sed -u "s/^/$label | /" | tee "$log" ||
        true
    line=$(sed -n 's/.*tests passed, \([0-9]*\) tests\{0,1\} failed out of \([0-9]*\)$/\1 \2/p' "$log" |
        tail -1)
    rm -f "$log"
    if [ -n "$line" ]; then
        set -- $line
        echo "$label $(($2 - $1)) $1" >>"$counts"
    else
        echo "$label 0 1" >>"$counts"
    fi
}

# The test programs of one architecture's tree, in a Wine session of its own.
run_wine_tests() {  # x64|x86 tree
    (
        arch=$1 build=$2
        source "$top/scripts/wine-session.sh"
        trap stop_session EXIT
        start_display
        init_prefix
        start_wineserver
        echo "test: $arch: the test programs under Wine ($WINEARCH prefix $WINEPREFIX)"
        # One at a time: a Wine program that starts beside a test can rewrite the parts of the
        # current user's profile that the test has changed for the time it runs. The programs
        # that show windows take turns anyway, so running the rest beside them saved seconds.
        run_ctest "$arch" "$build" -LE session_144dpi
        # The screen's DPI is taken as a session starts, as Windows takes it at logon: the
        # cases for another DPI run in a session started with it.
        stop_session
        "$wine_loader" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 \
            /f >/dev/null
        "$wine_dir/wineserver" -w
        start_display
        start_wineserver
        echo "test: $arch: the cases for 144 DPI, in a session started at 144 DPI"
        run_ctest "$arch" "$build" -L session_144dpi
        stop_session
        "$wine_loader" reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null
        "$wine_dir/wineserver" -w
    )
}

echo "test: the native tests and the checks of the release programs"
run_ctest native "$top/build-native"

run_wine_tests x64 "$top/build"

source "$top/scripts/x86-probe.sh"
refusal=$(x86_wine_refusal)
x86_note=
if [ -n "$refusal" ]; then
    x86_note="x86: not run, $refusal"
    echo "test: $x86_note"
elif ! cmp -s "$top/build-x86/src/quillane.exe" "$top"/dist/quillane-*-x86.exe; then
    # The end-to-end tests drive the x86 program of build-x86, which is the one that ships.
    echo "test: x86: build-x86/src/quillane.exe differs from the shipped x86 program"
    echo "x86 0 1" >>"$counts"
else
    run_wine_tests x86 "$top/build-x86"
fi

# The same x86 test programs on ReactOS, a Windows that is not Wine, where an image is at hand.
source "$top/scripts/reactos-tests.sh"
run_reactos_tests "$counts"

# The end-to-end runs leave pictures of the window for a person to look at.
for tree in build build-x86; do
    for shot in quillane-window quillane-window-144dpi; do
        [ -f "$top/$tree/tests/$shot.bmp" ] || continue
        convert "$top/$tree/tests/$shot.bmp" "$top/$tree/tests/$shot.png"
        echo "window screenshot: $top/$tree/tests/$shot.png"
    done
done

echo "test: summary"
passed=0 failed=0
# A label's runs added up, in the order they first ran.
while read -r label pass fail; do
    echo "$label: $pass passed, $fail failed"
    passed=$((passed + pass)) failed=$((failed + fail))
done < <(awk '!($1 in p) { order[n++] = $1 } { p[$1] += $2; f[$1] += $3 }
              END { for (i = 0; i < n; i++) print order[i], p[order[i]], f[order[i]] }' "$counts")
[ -z "$x86_note" ] || echo "$x86_note"
[ -z "$reactos_note" ] || echo "$reactos_note"
echo "total: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
