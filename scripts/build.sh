#!/usr/bin/env bash
# Sets up what is missing and builds: the 64-bit program and test programs in build/, the
# 32-bit program in build-i686/ (compiled to prove it builds, not run), and the native text
# routine tests in build-native/. Only what changed is rebuilt.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

"$top/scripts/setup.sh"

configure() {  # source build-dir [options]
    local source=$1 dir=$2
    shift 2
    [ -f "$dir/CMakeCache.txt" ] ||
        cmake -S "$source" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
}
configure "$top" "$top/build" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake"
cmake --build "$top/build"
configure "$top" "$top/build-i686" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-i686.cmake" \
    -DQUILLANE_TESTS=OFF
cmake --build "$top/build-i686"
configure "$top/tests/native" "$top/build-native"
cmake --build "$top/build-native"
