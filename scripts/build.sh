#!/usr/bin/env bash
# Sets up what is missing and builds: the 64-bit program and test programs in build/, and the
# native tests of the text routines and the release programs in build-native/. Only what
# changed is rebuilt. scripts/release.sh builds the programs to ship, both architectures.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

"$top/scripts/setup.sh"
source "$top/scripts/cmake-tree.sh"

build_tree "$top" "$top/build" "the 64-bit program and its test programs" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake"
build_tree "$top/tests/native" "$top/build-native" "the native tests"
