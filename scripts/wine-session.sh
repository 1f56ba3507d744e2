# Sourced by the test, demo and bench scripts: the build tree's Wine prefix, a private X
# display and a persistent wineserver for one session. Needs $build (the build tree) set by the
# caller; $prefix, when set, names another prefix. With $arch x86 the prefix is a pure 32-bit
# Windows, as Windows XP x86 is, run by the 32-bit loader; otherwise a 64-bit one.

wine_dir=/usr/lib/wine
if [ "${arch:-x64}" = x86 ]; then
    wine_loader=$wine_dir/wine
    export WINEARCH=win32
else
    wine_loader=$wine_dir/wine64
    export WINEARCH=win64
fi
export WINEPREFIX="${prefix:-$build/wineprefix}"
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='

session_pids=()

windows_path() { printf 'Z:%s' "$1" | tr / '\\'; }

# SIGINT makes the wineserver end its Wine processes with it.
stop_session() {
    local pid
    for pid in "${session_pids[@]}"; do
        kill -INT "$pid" 2>/dev/null || true
    done
    for pid in "${session_pids[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    session_pids=()
}

# Xvfb on the first free display number, unless a display is asked for.
start_display() {
    local number_file
    number_file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number_file" 2>/dev/null &
    session_pids+=($!)
    for _ in $(seq 100); do
        [ -s "$number_file" ] && break
        sleep 0.1
    done
    export DISPLAY=":$(tr -d '\n' <"$number_file")"
    rm -f "$number_file"
    [ "$DISPLAY" != ":" ] || { echo "Xvfb did not start" >&2; return 1; }
}

# Wine's services and its desktop process start with the first program that needs them and
# keep its output open; started here with no output, and the desktop held for the whole
# session (tests/HoldDesktop.cpp), they hold no pipe of a program that the session runs.
start_wineserver() {
    local ready
    "$wine_dir/wineserver" -f -p &
    session_pids+=($!)
    "$wine_loader" cmd /c exit </dev/null >/dev/null 2>&1
    ready=$(mktemp -u)
    "$wine_loader" "$build/tests/hold_desktop.exe" "$(windows_path "$ready")" </dev/null \
        >/dev/null 2>&1 &
    session_pids+=($!)
    for _ in $(seq 300); do
        [ -f "$ready" ] && break
        sleep 0.1
    done
    [ -f "$ready" ] || { echo "wine: the session's desktop did not start" >&2; return 1; }
    rm -f "$ready"
}

# A fresh prefix with the settings the windows are measured with: the proportional Japanese
# face for "ＭＳ Ｐゴシック" and a frame Wine paints itself (there is no window manager).
init_prefix() {
    install_caption_font
    [ -f "$WINEPREFIX/.quillane-ready" ] && return 0
    echo "wine: creating the prefix $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    "$wine_loader" wineboot -i >/dev/null 2>&1
    "$wine_loader" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ Ｐゴシック' \
        /t REG_SZ /d IPAPGothic /f >/dev/null
    "$wine_loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f \
        >/dev/null
    "$wine_dir/wineserver" -w
    install_caption_font
    touch "$WINEPREFIX/.quillane-ready"
}

# Wine draws the caption buttons with Marlett but does not find its own copy of the font;
# without it the close box shows the letter "r". A font in the prefix's Fonts folder is found.
install_caption_font() {
    local fonts="$WINEPREFIX/drive_c/windows/Fonts"
    [ -d "$fonts" ] && [ ! -f "$fonts/marlett.ttf" ] || return 0
    cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
}
