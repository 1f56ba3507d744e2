# Sourced by the build, release and bench scripts and the archive check.

# Configures a build tree unless its build files exist, then builds what changed. A tree whose
# configure failed or was cut short has no build.ninja, and its cache is not trusted.
build_tree() {  # source-dir build-dir what [cmake options...]
    local source=$1 dir=$2 what=$3
    shift 3
    if [ ! -f "$dir/build.ninja" ]; then
        echo "build: configuring $what in $dir"
        rm -rf "$dir/CMakeCache.txt" "$dir/CMakeFiles"
        cmake -S "$source" -B "$dir" -G Ninja "$@" >/dev/null
    fi
    echo "build: building $what"
    cmake --build "$dir"
}

# The version of the release programs: the CMake project's, as their x64 tree was configured.
release_version() {  # top
    sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$1/build-release/x64/CMakeCache.txt"
}
