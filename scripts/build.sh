#!/usr/bin/env bash
# Sets up what is missing and builds: the 64-bit program and test programs in build/, the same
# for 32-bit x86 in build-x86/ (built for size and stripped, as the x86 program ships), and the
# native tests of the text routines and the release programs in build-native/. Only what
# changed is rebuilt. scripts/release.sh builds the programs to ship, both architectures.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

"$top/scripts/setup.sh"
source "$top/scripts/cmake-tree.sh"

build_tree "$top" "$top/build" "the 64-bit program and its test programs" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake"
build_tree "$top" "$top/build-x86" "the 32-bit program and its test programs" \
    -DCMAKE_BUILD_TYPE=MinSizeRel -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-i686.cmake"
build_tree "$top/tests/native" "$top/build-native" "the native tests"
