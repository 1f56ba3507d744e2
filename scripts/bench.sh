#!/usr/bin/env bash
# Measures the shipped programs under Wine on a private display and a demo profile: x64 in a
# 64-bit prefix and, where this machine executes 32-bit code, x86 in a pure 32-bit one, each
# against bench programs built for its own architecture that make only the platform's calls:
# start-up to a visible window (against a floor that does the window's set-up and one cold
# load), reloads (against one load's platform calls), updates, the process's resources after
# the reloads, a sweep of wallpaper sizes (against two floors of the same pictures) and the
# programs' sizes. Each goal's ratio comes with a 95 % interval and a
# verdict; rounds are added until the interval lies within 5 % or the half's time is up.
# Prints figures and ends with one "bench:" line; nothing fails on a slow machine. Compare
# ratios, not milliseconds.
#
#     scripts/bench.sh [least start-up rounds] [least reloads] [updates] [sweep rounds]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
rounds=${1:-20} reloads=${2:-200} updates=${3:-20} sweep_rounds=${4:-9}
# per architecture; the whole stays under 15 minutes
startup_seconds=150 reload_seconds=60 sweep_seconds=60

"$top/scripts/build.sh" >/dev/null
"$top/scripts/release.sh" >/dev/null
source "$top/scripts/cmake-tree.sh"
version=$(release_version "$top")
summaries=$(mktemp)
trap 'rm -f "$summaries"' EXIT

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
signed() { [[ $1 =~ ^-?[0-9]+$ ]] && printf '%+d' "$1" || printf '%s' "$1"; }
load() { cut -d' ' -f1 /proc/loadavg; }
now() { date +%s.%N; }

# A goal's ratio from the driver's figures NAME, NAME_low, NAME_high (its 95 % interval),
# NAME_count and NAME_stop, with its verdict against the goal: met when the whole interval
# lies below, missed when it lies above, undecided when it holds the goal. Given what was
# counted (rounds, pairs), it also says how many and why they were enough.
verdict() {  # name goal [unit]
    local m=${1} l=${1}_low h=${1}_high n=${1}_count s=${1}_stop
    awk -v m="${!m}" -v l="${!l}" -v h="${!h}" -v n="${!n}" -v s="${!s}" -v g="$2" -v unit="${3:-}" 'BEGIN {
        half = 100 * (h / m - 1 > 1 - l / m ? h / m - 1 : 1 - l / m)
        printf "x%.2f (%.2f-%.2f", m, l, h
        if (unit) printf "; 95 %% interval, +-%.1f %% after %d %s, %s", half, n, unit,
            s == "narrow" ? "narrow enough" : "the time cap reached first"
        printf ") %s", (h < g ? "met" : (l > g ? "missed" : "undecided")) }'
}

# What the whole machine ran, this bench included, in the first and the last third of a
# measurement: its CPU use and, as that stops at 100 %, the processes ready to run (from the
# sampler's lines "time procs_running cpu user nice system idle iowait irq softirq steal").
# The bench's own share stays the same throughout, so a difference of a fifth of the CPUs, or
# of half a process ready to run beyond twice its standard error, means that other programs'
# load changed under the figures.
busy_change() {  # samples "from to"
    awk -v from="${2% *}" -v to="${2#* }" '
        $1 >= from && $1 <= to {
            n++; t[n] = $1; r[n] = $2; b[n] = $4 + $5 + $6 + $9 + $10 + $11; a[n] = b[n] + $7 + $8 }
        function third(i, j,  k, sum, squares) {
            for (k = i + 1; k <= j; k++) { sum += r[k]; squares += r[k] * r[k] }
            busy = 100 * (b[j] - b[i]) / (a[j] - a[i]); ready = sum / (j - i)
            spread = (squares / (j - i) - ready * ready) / (j - i) }
        END {
            if (n < 9) { print "too short to see"; exit }
            for (i = 3; t[i] < from + (to - from) / 3; i++) ;
            for (j = n - 2; t[j] > to - (to - from) / 3; j--) ;
            third(1, i); first = busy; firstReady = ready; firstSpread = spread
            third(j, n)
            d = ready - firstReady
            printf "CPU busy %.0f %% and %.1f processes ready to run at the start, %.0f %% and" \
                " %.1f at the end", first, firstReady, busy, ready
            if (first - busy > 20 || busy - first > 20 ||
                d * d >= 0.25 && d * d > 4 * (firstSpread + spread))
                printf ": THE LOAD CHANGED during it" }' "$1"
}

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
        # A program that fails ends this half with a summary that says so, not the whole bench.
        run() {
            local output status=0
            output=$(wine "$@" | tr -d '\r' | iconv -f CP932 -t UTF-8) || status=$?
            grep -v '^#' <<<"$output" | sed "s/^/$arch: /" || true
            if ((status != 0)); then
                local what="$(basename "$1") $2 ended with exit code $status"
                echo "$arch: $what; this half stops here"
                echo "$arch: not measured ($what)" >>"$summaries"
                exit 0
            fi
            eval "$(sed -n 's/^#\([a-z0-9_]*\)=\([-+0-9.a-z/]*\)$/\1=\2/p' <<<"$output")"
        }

        echo "$arch: $(basename "$program"), $(wine --version) in a $WINEARCH prefix on" \
             "$(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
        samples=$(mktemp)
        while :; do
            awk -v t="$(now)" '/^cpu / { c = $0 } /^procs_running/ { r = $2 }
                END { print t, r, c }' /proc/stat
            sleep 0.5
        done >"$samples" &
        sampler=$!
        trap 'stop_session; kill "$sampler"; rm -f "$samples"' EXIT
        load_before=$(load) started=$(now)
        run "$bench/bench_driver.exe" startup "$rounds" "$startup_seconds" \
            "$(windows_path "$program")" "$(windows_path "$bench/bench_bare.exe")" \
            "$(windows_path "$bench/bench_setup_floor.exe")"
        startup_busy=$(busy_change "$samples" "$started $(now)")
        started=$(now)
        run "$bench/bench_driver.exe" session "$reloads" "$reload_seconds" "$updates" \
            "$(windows_path "$program")" "$(windows_path "$bench/bench_probe.dll")" \
            "$(windows_path "$bench/bench_setup_floor.exe")"
        session_busy=$(busy_change "$samples" "$(awk -v a="$started" -v b="$pairs_from" \
            -v c="$pairs_to" 'BEGIN { printf "%.1f %.1f", a + b, a + c }')")
        started=$(now)
        run "$bench/bench_driver.exe" sweep "$sweep_rounds" "$sweep_seconds" \
            "$(windows_path "$program")" "$(windows_path "$bench")"
        sweep_busy=$(busy_change "$samples" "$started $(now)")
        load_after=$(load)
        # The bench alone moves the one-minute load by a few tenths; half a process more or
        # less is other programs starting or ending.
        changed=
        if [[ "$startup_busy$session_busy$sweep_busy" == *CHANGED* ]] ||
            awk -v a="$load_before" -v b="$load_after" 'BEGIN { exit !((b - a) ^ 2 >= 0.25) }'; then
            changed=", THE LOAD CHANGED"
        fi
        echo "$arch: machine load (1 minute) $load_before before, $load_after after${changed}; start-up" \
             "rounds: $startup_busy; reloads: $session_busy; size sweep: $sweep_busy"
        echo "$arch: start-up against its cold floor (the window's set-up and one load):" \
             "$(verdict ratio_floor 1.10 rounds) (goal 1.10)"
        echo "$arch: reload against one load's platform calls: $(verdict reload_ratio 1.00 pairs)" \
             "(median of the pairs), p95 against p95 x$(ratio "$reload_p95" "$floor_p95")" \
             "(goal 1.00: the program's reader against the platform's stretch); the program's own work" \
             "$(awk -v a="$reload_median" -v b="$floor_median" 'BEGIN { printf "%.1f", a - b }') ms" \
             "beside registry $floor_registry, style files $floor_styles, pictures" \
             "$floor_pictures, controls $floor_controls (the click's notification counted on" \
             "both sides, each sent to its window: a message's round trip $round_trip ms; a" \
             "click alone $click ms)"

        growth="handles $(signed "$growth_handles"), GDI objects $(signed "$growth_gdi")"
        growth+=", private memory $(signed "$growth_private_kb") KB"
        [ -z "${growth_ws_kb:-}" ] || growth+=", working set $(signed "$growth_ws_kb") KB"
        echo "$arch start-up $(verdict ratio_floor 1.10), $arch reload $(verdict reload_ratio 1.00)" \
             "(load $load_before to $load_after$changed; x$ratio_bare bare window, floor" \
             "x$ratio_floor_bare bare; reload median ${reload_median} ms p95 ${reload_p95} ms;" \
             "update ${update_median} ms; after $reloads_done reloads: $growth); $arch size sweep" \
             "320x240 to 4000x3000: working set $sweep_ws_mb MB $sweep_ws, repaint" \
             "x$sweep_repaint $sweep_repaint_goal, pictures x$sweep_pictures the files read" \
             "$sweep_pictures_goal, reload x$sweep_reload loading and stretching" \
             "$sweep_reload_goal" >>"$summaries"
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
