#!/usr/bin/env bash
# Builds Quillane and runs it on a ready demo profile: a Wine prefix of its own whose current
# user and default user differ in style, colours, wallpaper, NumLock and keyboard lists. Uses
# the screen in $DISPLAY; without one, runs under Xvfb and saves a screenshot of the window.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build"
demo="$build/demo"
prefix="$demo/prefix"

"$top/scripts/build.sh"
mkdir -p "$demo"

source "$top/scripts/wine-session.sh"
trap stop_session EXIT
screen="${DISPLAY:-}"
[ -n "$screen" ] || start_display
init_prefix
start_wineserver

source "$top/scripts/demo-profile.sh"
make_demo_profile "$demo"

if [ -n "$screen" ]; then
    echo "demo: running Quillane on $DISPLAY (close its window to end)"
    wine "$build/src/quillane.exe"
    exit 0
fi

wine "$build/src/quillane.exe" &
for _ in $(seq 100); do
    sleep 0.2
    xwd_id=$(DISPLAY=$DISPLAY xwininfo -root -tree 2>/dev/null | awk '/"Quillane": \("quillane.exe"/ {print $1; exit}')
    [ -n "$xwd_id" ] && break
done
sleep 2
import -window "${xwd_id:-root}" "$demo/quillane.png"
echo "demo: screenshot of the window saved as $demo/quillane.png"
