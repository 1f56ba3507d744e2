#!/usr/bin/env bash
# Measures quillane.exe under Wine on a private display and a demo profile, against bench
# programs built with the same toolchain that make only the platform's calls: start-up to a
# visible window, reloads, updates, the process's resources after the reloads and the sizes
# of the release programs. Prints figures and ends with one "bench:" line; nothing fails on
# a slow machine. Compare ratios, not milliseconds.
#
#     scripts/bench.sh [start-up rounds] [reloads] [updates]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build"
bench="$build/bench"
prefix="$bench/prefix"
rounds=${1:-15} reloads=${2:-200} updates=${3:-20}

"$top/scripts/build.sh" >/dev/null
source "$top/scripts/wine-session.sh"
trap stop_session EXIT
start_display
init_prefix
start_wineserver
source "$top/scripts/demo-profile.sh"
make_demo_profile "$bench"

# Runs a bench program; its "#name=value" lines become shell variables, the others show.
run() {
    local output
    output=$(wine "$@" | tr -d '\r' | iconv -f CP932 -t UTF-8)
    grep -v '^#' <<<"$output" || true
    eval "$(sed -n 's/^#\([a-z0-9_]*\)=\([-0-9.a-z/]*\)$/\1=\2/p' <<<"$output")"
}

echo "$(wine --version) on $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
run "$bench/bench_driver.exe" startup "$rounds" "$(windows_path "$build/src/quillane.exe")" \
    "$(windows_path "$bench/bench_bare.exe")" "$(windows_path "$bench/bench_setup_floor.exe")"
run "$bench/bench_driver.exe" session "$reloads" "$updates" \
    "$(windows_path "$build/src/quillane.exe")" "$(windows_path "$bench/bench_probe.dll")"

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
# The goal under the start-up: the set-up floor plus one load's platform calls.
start_goal=$(awk -v a="$start_floor" -v b="$floor_median" 'BEGIN { printf "%.0f", a + b }')
echo "start-up against the set-up floor + one load's platform calls ($start_goal ms):" \
     "$(ratio "$start_quillane" "$start_goal") (goal 1.10)"
echo "reload against one load's platform calls: x$reload_ratio (median of the pairs)," \
     "p95 against p95 x$(ratio "$reload_p95" "$floor_p95") (goal 1.10); the program's own" \
     "work and the click $(awk -v a="$reload_median" -v b="$floor_median" 'BEGIN { printf "%.1f", a - b }')" \
     "ms (a click alone $click ms) beside registry $floor_registry, style files $floor_styles," \
     "pictures $floor_pictures, controls $floor_controls"

# The release programs' sizes (the release build is a no-op when it is up to date).
"$top/scripts/release.sh" >/dev/null
sizes=()
for file in "$top"/dist/quillane-*.exe; do
    echo "release program ${file#"$top"/}: $(stat -c %s "$file") bytes"
    sizes+=("$(basename "$file")=$(stat -c %s "$file")")
done

signed() { [[ $1 =~ ^-?[0-9]+$ ]] && printf '%+d' "$1" || printf '%s' "$1"; }
growth="handles $(signed "$growth_handles"), GDI objects $(signed "$growth_gdi")"
growth+=", private memory $(signed "$growth_private_kb") KB"
[ -z "${growth_ws_kb:-}" ] || growth+=", working set $(signed "$growth_ws_kb") KB"
echo "bench: start-up x$ratio_bare bare window, x$ratio_floor set-up floor" \
     "(floor x$ratio_floor_bare bare), x$(ratio "$start_quillane" "$start_goal") floor+load;" \
     "reload median ${reload_median} ms p95 ${reload_p95} ms," \
     "x$reload_ratio platform calls;" \
     "update ${update_median} ms; after $reloads reloads: $growth; sizes ${sizes[*]}"
