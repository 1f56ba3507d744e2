# Sourced by the demo and bench scripts, inside a Wine session (scripts/wine-session.sh):
# writes a realistic Japanese profile into the session's prefix. The current user runs
# Wine's own light style, the default user one of our test styles; they differ in colour
# schemes, colour tables, wallpapers, NumLock and logon keyboard lists. The style file and
# the wallpapers are made in the folder given. Needs $build (the build tree).

wine() { "$wine_loader" "$@"; }
set_value() {  # root\key name data
    wine reg add "$1" /v "$2" /t REG_SZ /d "$3" /f >/dev/null
}
set_colours() {  # key, then name=R G B pairs
    local key=$1
    shift
    wine reg delete "$key" /f >/dev/null 2>&1 || true
    for pair in "$@"; do set_value "$key" "${pair%%=*}" "${pair#*=}"; done
}

make_demo_profile() {  # folder
    local demo=$1
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
}
