# Sourced by the build and release scripts.

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
