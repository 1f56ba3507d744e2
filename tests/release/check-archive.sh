#!/usr/bin/env bash
# Checks the release archive in TOP/dist: it holds exactly both programs, readme.txt and
# license.txt; both texts are code page 932 with CR LF on every line and at most 80 columns;
# the readme's title and newest history entry name the CMake project's version; the programs'
# LegalCopyright is the licence's copyright line.
#   check-archive.sh TOP
set -euo pipefail
top=$1
source "$top/scripts/cmake-tree.sh"
version=$(release_version "$top")
archive="$top/dist/quillane-$version.zip"
[ -n "$version" ] && [ -f "$archive" ] ||
    { echo "FAIL: no archive for version \"$version\" in $top/dist (scripts/release.sh)"; exit 1; }

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

expected=$(printf '%s\n' "quillane-$version-x64.exe" "quillane-$version-x86.exe" license.txt \
    readme.txt | sort)
listed=$(unzip -Z1 "$archive" | sort)
[ "$listed" = "$expected" ] || fail "the archive holds $(echo $listed), not $(echo $expected)"

# In code page 932 a byte is a column: a full-width character is two bytes and two columns.
for name in readme.txt license.txt; do
    unzip -p "$archive" "$name" | iconv -f CP932 -t UTF-8 >/dev/null ||
        fail "$name is not code page 932 text"
    unzip -p "$archive" "$name" | LC_ALL=C awk -v name="$name" '
        !/\r$/ { printf "FAIL: %s line %d does not end in CR LF\n", name, NR; bad = 1 }
        length($0) - /\r$/ > 80 {
            printf "FAIL: %s line %d has %d columns\n", name, NR, length($0) - /\r$/; bad = 1 }
        END { exit bad }' || failures=$((failures + 1))
done

# Text that is not code page 932 has failed above; what converts is still checked.
readme=$(unzip -p "$archive" readme.txt | iconv -f CP932 -t UTF-8 2>/dev/null | tr -d '\r') || true
[[ $(head -n 1 <<<"$readme") == "Quillane Ver.$version "* ]] ||
    fail "readme.txt's first line does not name Ver.$version"
[ "$(sed -n '/^■ 更新履歴/,$ { /^Ver\./ { p; q } }' <<<"$readme")" = "Ver.$version" ] ||
    fail "readme.txt's newest 更新履歴 entry is not Ver.$version"

copyright=$(grep -m1 '^Copyright ' "$top/LICENSE")
for name in "quillane-$version-x64.exe" "quillane-$version-x86.exe"; do
    # The version block's strings are UTF-16: each name is followed by its value.
    legal=$(unzip -p "$archive" "$name" | strings -el | grep -A1 -x LegalCopyright | sed -n 2p) ||
        true
    [ "$legal" = "$copyright" ] || fail "$name: LegalCopyright is \"$legal\", not \"$copyright\""
done

[ "$failures" -eq 0 ] && echo "the archive holds the programs, readme.txt and license.txt as shipped"
exit $((failures > 0))
