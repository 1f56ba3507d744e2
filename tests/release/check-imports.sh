#!/usr/bin/env bash
# Checks that the release programs in DIST start on Windows XP SP3 (x86) and XP x64: every
# function they import is in LIST (functions XP exports), every entry of LIST is still used,
# no MinGW or Visual C++ runtime DLL is imported, the subsystem version is one XP accepts, and
# the manifest names a version the loader can parse.
#   check-imports.sh LIST DIST
set -euo pipefail
list=$1 dist=$2

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# "DLL FUNCTION" per import, DLL names in capitals. The name's column is the one its heading
# names: binutils 2.40 heads the table "vma:  Hint/Ord Member-Name Bound-To", 2.44 puts an
# "Ordinal" column before the hint ("vma:  Ordinal  Hint  Member-Name  Bound-To").
imports() {  # objdump program
    "$1" -p "$2" | awk '
        /^\tDLL Name:/ { dll = toupper($3); next }
        /^\tvma:/ { for (name = 1; name <= NF && $name != "Member-Name"; name++); next }
        name && NF == 0 { name = 0 }
        name && NF >= name { print dll, $name }'
}

allowed=$(grep -v '^#' "$list" | awk 'NF { print toupper($1), $2 }' | sort -u)
# The entries the programs of this toolchain must still import: those marked for no compiler
# and those marked for this one.
gcc=$(x86_64-w64-mingw32-gcc-win32 -dumpversion | sed 's/[^0-9].*//')
expected=$(grep -v '^#' "$list" | awk -v gcc="GCC $gcc" \
    'NF && (!match($0, /GCC [0-9]+/) || substr($0, RSTART, RLENGTH) == gcc) { print toupper($1), $2 }' | sort -u)
used=""
programs=0
for program in "$dist"/quillane-*-x64.exe "$dist"/quillane-*-x86.exe; do
    [ -f "$program" ] || continue
    programs=$((programs + 1))
    name=$(basename "$program")
    case $name in
        *-x64.exe) objdump=x86_64-w64-mingw32-objdump most=52 ;;
        *) objdump=i686-w64-mingw32-objdump most=51 ;;
    esac
    found=$(imports "$objdump" "$program" | sort -u)
    [ -n "$found" ] || fail "$name: no import table read"
    used+="$found"$'\n'
    while read -r dll function; do
        case $dll in
            LIBGCC*|LIBSTDC++*|LIBWINPTHREAD*|MSVCR[0-9]*|MSVCP*|VCRUNTIME*|UCRTBASE*|API-MS-WIN-CRT-*)
                fail "$name imports the runtime DLL $dll ($function)" ;;
        esac
        grep -qxF "$dll $function" <<<"$allowed" ||
            fail "$name imports $function from $dll, which the list of checked Windows XP exports lacks"
    done <<<"$found"
    subsystem=$("$objdump" -p "$program" |
        awk '/^MajorSubsystemVersion/ { major = $2 } /^MinorSubsystemVersion/ { minor = $2 }
             END { print major * 10 + minor }')
    [ "$subsystem" -le "$most" ] ||
        fail "$name: subsystem version $((subsystem / 10)).$((subsystem % 10)) is newer than XP's"
    version=$(grep -ao 'name="Tollemark.Quillane" version="[^"]*"' "$program" | sed 's/.*version="//; s/"//')
    [[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+\.[0-9]+$ ]] ||
        fail "$name: the manifest's version \"$version\" is not four numbers"
done
[ "$programs" -eq 2 ] || fail "expected the x64 and the x86 release program in $dist (scripts/release.sh)"

while read -r dll function; do
    grep -qxF "$dll $function" <<<"$used" || fail "$function ($dll) is listed but no longer imported"
done <<<"$expected"

[ "$failures" -eq 0 ] && echo "the release programs import only what Windows XP exports"
exit $((failures > 0))
