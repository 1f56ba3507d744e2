#!/usr/bin/env bash
# Sets up what is missing, builds (64-bit, and the 32-bit program to prove it compiles) and
# runs every test program under Wine on a private X display. Exits non-zero on any failure.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build"
build32="$top/build-i686"

"$top/scripts/setup.sh"

configure() {  # build-dir toolchain [options]
    local dir=$1 toolchain=$2
    shift 2
    [ -f "$dir/CMakeCache.txt" ] ||
        cmake -S "$top" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
            -DCMAKE_TOOLCHAIN_FILE="$top/cmake/$toolchain" "$@" >/dev/null
}
configure "$build" mingw-w64-x86_64.cmake
cmake --build "$build"
configure "$build32" mingw-w64-i686.cmake -DQUILLANE_TESTS=OFF
cmake --build "$build32"
[ -f "$top/build-native/CMakeCache.txt" ] ||
    cmake -S "$top/tests/native" -B "$top/build-native" -G Ninja >/dev/null
cmake --build "$top/build-native"
ctest --test-dir "$top/build-native" --output-on-failure

source "$top/scripts/wine-session.sh"
trap stop_session EXIT
start_display
init_prefix
start_wineserver

ctest --test-dir "$build" --output-on-failure -j2
