#!/usr/bin/env bash
# Builds the programs to ship, both architectures, for size and stripped, in build-release/,
# and leaves in dist/ quillane-<version>-x64.exe, quillane-<version>-x86.exe and SHA256SUMS.
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

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$top/build-release/x64/CMakeCache.txt")
grep -q "quillane-$version-x64.exe" "$top/README.md" ||
    { echo "release: README.md does not name quillane-$version-x64.exe" >&2; exit 1; }

dist="$top/dist"
rm -rf "$dist"
mkdir -p "$dist"
for arch in x64 x86; do
    cp "$top/build-release/$arch/src/quillane.exe" "$dist/quillane-$version-$arch.exe"
done
(cd "$dist" && sha256sum quillane-*.exe >SHA256SUMS)
for arch in x64 x86; do
    printf 'release: %s  %s bytes\n' "dist/quillane-$version-$arch.exe" \
        "$(stat -c %s "$dist/quillane-$version-$arch.exe")"
done
