#!/usr/bin/env bash
# Builds everything and runs every test: on this machine the text routine tests and the checks
# of the release programs (Windows XP imports, reproducible bytes), then the test programs under
# Wine on a private X display. Exits non-zero on any failure.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build"

"$top/scripts/build.sh"
"$top/scripts/release.sh"
echo "test: the native tests and the checks of the release programs"
ctest --test-dir "$top/build-native" --output-on-failure

source "$top/scripts/wine-session.sh"
trap stop_session EXIT
start_display
init_prefix
start_wineserver

echo "test: the test programs under Wine"
ctest --test-dir "$build" --output-on-failure -j2
# The end-to-end run leaves a picture of the window for a person to look at.
for shot in quillane-window quillane-window-144dpi; do
    [ -f "$build/tests/$shot.bmp" ] || continue
    convert "$build/tests/$shot.bmp" "$build/tests/$shot.png"
    echo "window screenshot: $build/tests/$shot.png"
done
