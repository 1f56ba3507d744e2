#!/usr/bin/env bash
# Builds the release a second time from a copy of the sources in another folder, and checks
# that it matches TOP/dist byte for byte.
#   check-reproducible.sh TOP
set -euo pipefail
top=$1
again=$(mktemp -d /tmp/quillane-release-again.XXXXXX)
trap 'rm -rf "$again"' EXIT

tar -C "$top" --exclude=./.git --exclude=./build --exclude='./build-*' --exclude=./dist -cf - . |
    tar -C "$again" -xf -
echo "building the release again in $again"
"$again/scripts/release.sh" >"$again/release.log" 2>&1 ||
    { cat "$again/release.log"; echo "FAIL: the second release build failed"; exit 1; }

failures=0
for file in "$top"/dist/*; do
    name=$(basename "$file")
    if cmp -s "$file" "$again/dist/$name"; then
        echo "same: $name"
    else
        echo "FAIL: $name differs between $top/dist and $again/dist"
        failures=$((failures + 1))
    fi
done
# Both programs, the archive and SHA256SUMS.
[ "$(ls "$top/dist" | wc -l)" -eq 4 ] && [ "$(ls "$again/dist" | wc -l)" -eq 4 ] ||
    { echo "FAIL: expected four release files in each dist/"; failures=$((failures + 1)); }
exit $((failures > 0))
