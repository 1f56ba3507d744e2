#!/usr/bin/env bash
# Measures the shipped programs under Wine on a private display and a demo profile: x64 in a
# 64-bit prefix and, where this machine executes 32-bit code, x86 in a pure 32-bit one, each
# against bench programs built for its own architecture that make only the platform's calls:
# start-up to a visible window (against a floor that does the window's set-up and one cold
# load), reloads (against one load's platform calls), updates, the process's resources after
# the reloads, and the programs' sizes. Prints figures and ends with one "bench:" line; nothing
# fails on a slow machine. Compare ratios, not milliseconds.
#
#     scripts/bench.sh [start-up rounds] [reloads] [updates]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
rounds=${1:-15} reloads=${2:-200} updates=${3:-20}

"$top/scripts/build.sh" >/dev/null
"$top/scripts/release.sh" >/dev/null
source "$top/scripts/cmake-tree.sh"
version=$(release_version "$top")
summaries=$(mktemp)
trap 'rm -f "$summaries"' EXIT

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
signed() { [[ $1 =~ ^-?[0-9]+$ ]] && printf '%+d' "$1" || printf '%s' "$1"; }

# One architecture's shipped program against the bench programs of its tree, in a prefix of
# its own with the demo profile; its summary goes into $summaries.
bench_arch() {  # x64|x86 tree
    (
        arch=$1 build=$2
        bench="$build/bench" prefix="$build/bench/prefix"
        program="$top/dist/quillane-$version-$arch.exe"
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
            grep -v '^#' <<<"$output" | sed "s/^/$arch: /" || true
            eval "$(sed -n 's/^#\([a-z0-9_]*\)=\([-0-9.a-z/]*\)$/\1=\2/p' <<<"$output")"
        }

        echo "$arch: $(basename "$program"), $(wine --version) in a $WINEARCH prefix on" \
             "$(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
        run "$bench/bench_driver.exe" startup "$rounds" "$(windows_path "$program")" \
            "$(windows_path "$bench/bench_bare.exe")" "$(windows_path "$bench/bench_setup_floor.exe")"
        run "$bench/bench_driver.exe" session "$reloads" "$updates" "$(windows_path "$program")" \
            "$(windows_path "$bench/bench_probe.dll")"
        echo "$arch: start-up against its cold floor (the window's set-up and one load):" \
             "x$ratio_floor (goal 1.10)"
        echo "$arch: reload against one load's platform calls: x$reload_ratio (median of the" \
             "pairs), p95 against p95 x$(ratio "$reload_p95" "$floor_p95") (goal 1.10); the" \
             "program's own work and the click" \
             "$(awk -v a="$reload_median" -v b="$floor_median" 'BEGIN { printf "%.1f", a - b }') ms" \
             "(a click alone $click ms) beside registry $floor_registry, style files" \
             "$floor_styles, pictures $floor_pictures, controls $floor_controls"

        growth="handles $(signed "$growth_handles"), GDI objects $(signed "$growth_gdi")"
        growth+=", private memory $(signed "$growth_private_kb") KB"
        [ -z "${growth_ws_kb:-}" ] || growth+=", working set $(signed "$growth_ws_kb") KB"
        echo "$arch: start-up x$ratio_floor cold floor (x$ratio_bare bare window, floor" \
             "x$ratio_floor_bare bare); reload median ${reload_median} ms p95 ${reload_p95} ms," \
             "x$reload_ratio platform calls; update ${update_median} ms; after $reloads reloads:" \
             "$growth" >>"$summaries"
    )
}

bench_arch x64 "$top/build"
source "$top/scripts/x86-probe.sh"
refusal=$(x86_wine_refusal)
if [ -z "$refusal" ]; then
    bench_arch x86 "$top/build-x86"
else
    echo "x86: not measured, $refusal"
    echo "x86: not measured (${refusal%%:*})" >>"$summaries"
fi

sizes=()
for file in "$top"/dist/quillane-*.exe; do
    echo "release program ${file#"$top"/}: $(stat -c %s "$file") bytes"
    sizes+=("$(basename "$file")=$(stat -c %s "$file")")
done
echo "bench: $(paste -sd'|' "$summaries" | sed 's/|/; /g'); sizes ${sizes[*]}"
