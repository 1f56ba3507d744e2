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

wine() { "$wine_dir/wine64" "$@"; }
windows_path() { printf 'Z:%s' "$1" | tr / '\\'; }
set_value() {  # root\key name data
    wine reg add "$1" /v "$2" /t REG_SZ /d "$3" /f >/dev/null
}
set_colours() {  # key, then name=R G B pairs
    local key=$1
    shift
    wine reg delete "$key" /f >/dev/null 2>&1 || true
    for pair in "$@"; do set_value "$key" "${pair%%=*}" "${pair#*=}"; done
}

convert -size 320x240 gradient:'#4a90d9-#0b2a5b' "BMP3:$demo/current-wallpaper.bmp"
convert -size 320x240 gradient:'#c8e6a0-#2f6b2f' "BMP3:$demo/logon-wallpaper.bmp"
cp "$build/tests/style_full.msstyles" "$demo/Quillane Classic.msstyles"

cu='HKCU' du='HKU\.DEFAULT'
set_value "$cu\\Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager" DllName \
    '%SystemRoot%\resources\themes\light\light.msstyles'
set_value "$cu\\Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager" ColorName Blue
set_value "$cu\\Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager" SizeName NormalSize
set_value "$cu\\Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager" ThemeActive 1
set_value "$du\\Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager" DllName \
    "$(windows_path "$demo/Quillane Classic.msstyles")"
set_value "$du\\Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager" ColorName HomeStead
set_value "$du\\Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager" SizeName 標準
set_value "$du\\Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager" ThemeActive 1
set_colours "$du\\Control Panel\\Colors" 'ActiveTitle=10 36 106' 'Background=58 110 165' \
    'ButtonFace=212 208 200' 'Hilight=10 36 106' 'InfoWindow=255 255 225' 'Menu=212 208 200' \
    'TitleText=255 255 255' 'Window=255 255 255' 'WindowText=0 0 0'
set_colours "$cu\\Control Panel\\Colors" 'ActiveTitle=0 84 227' 'Background=0 78 152' \
    'ButtonFace=236 233 216' 'Hilight=49 106 197' 'InfoWindow=255 255 225' 'Menu=255 255 255' \
    'TitleText=255 255 255' 'Window=255 255 255' 'WindowText=0 0 0'
set_value "$cu\\Control Panel\\Desktop" Wallpaper "$(windows_path "$demo/current-wallpaper.bmp")"
set_value "$du\\Control Panel\\Desktop" Wallpaper "$(windows_path "$demo/logon-wallpaper.bmp")"
set_value "$du\\Control Panel\\Keyboard" InitialKeyboardIndicators 2
wine reg delete "$du\\Keyboard Layout\\Preload" /f >/dev/null 2>&1 || true
set_value "$du\\Keyboard Layout\\Preload" 1 00000411
set_value "$du\\Keyboard Layout\\Preload_bak" 1 E0010411

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
