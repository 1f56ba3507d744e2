#!/usr/bin/env bash
# Builds the programs to ship, both architectures, for size and stripped, in build-release/,
# and leaves in dist/ quillane-<version>-x64.exe, quillane-<version>-x86.exe, the archive
# quillane-<version>.zip (both programs, readme.txt and license.txt) and SHA256SUMS.
# The same sources give the same bytes in any folder at any time.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

"$top/scripts/setup.sh"
source "$top/scripts/cmake-tree.sh"

for arch in x64:x86_64 x86:i686; do
    build_tree "$top" "$top/build-release/${arch%%:*}" "the ${arch%%:*} release program" \
        -DCMAKE_BUILD_TYPE=MinSizeRel -DQUILLANE_TESTS=OFF \
        -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-${arch#*:}.cmake"
done

version=$(release_version "$top")
grep -q "quillane-$version-x64.exe" "$top/README.md" ||
    { echo "release: README.md does not name quillane-$version-x64.exe" >&2; exit 1; }
[ "$(grep -m1 '^Ver\.' "$top/docs/readme.txt")" = "Ver.$version" ] ||
    { echo "release: the newest entry of 更新履歴 in docs/readme.txt is not Ver.$version" >&2; exit 1; }
copyright=$(grep -m1 '^Copyright ' "$top/LICENSE")

dist="$top/dist"
rm -rf "$dist"
mkdir -p "$dist"
for arch in x64 x86; do
    cp "$top/build-release/$arch/src/quillane.exe" "$dist/quillane-$version-$arch.exe"
done

# The texts as Windows' Notepad reads them: CR LF, and the readme in code page 932. Files in a
# fixed order with fixed modes and times, and no owner or extra attributes (-X), give the same
# archive every time; zip writes local times, hence UTC for both.
stage="$top/build-release/archive"
rm -rf "$stage"
mkdir -p "$stage"
cp "$dist"/quillane-*.exe "$stage/"
sed -e "s/@VERSION@/$version/g" -e "s/@COPYRIGHT@/$copyright/g" -e 's/\r$//; s/$/\r/' \
    "$top/docs/readme.txt" | iconv -f UTF-8 -t CP932 >"$stage/readme.txt"
sed 's/\r$//; s/$/\r/' "$top/LICENSE" >"$stage/license.txt"
files=("quillane-$version-x64.exe" "quillane-$version-x86.exe" readme.txt license.txt)
archive="quillane-$version.zip"
(cd "$stage" && chmod 644 "${files[@]}" && TZ=UTC touch -d '2026-01-01 00:00:00' "${files[@]}" &&
    TZ=UTC zip -q -X "$dist/$archive" "${files[@]}")
(cd "$dist" && sha256sum quillane-*.exe "$archive" >SHA256SUMS)
for file in "quillane-$version-x64.exe" "quillane-$version-x86.exe" "$archive"; do
    printf 'release: %s  %s bytes\n' "dist/$file" "$(stat -c %s "$dist/$file")"
done
