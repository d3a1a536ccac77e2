# Shared by the Windows scripts: the MinGW-w64 cross toolchains, Wine, and the two builds.
# Source after lib/common.sh.
source "$VANTREL_ROOT/scripts/lib/qemu.sh"

WINDOWS_TARGETS=(win64 win32)

# The cross compilers and binutils (windres included) for both targets, and what the
# cross-built tests need on the build machine (GoogleTest as sources, compiled per target).
ensure_windows_toolchain() {
    ensure_packages cmake ninja-build python3 googletest \
        g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix \
        binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
}

# Wine for the 64-bit programs, and the 32-bit loader (an i386 package) for the 32-bit ones.
# The loader cannot always be installed: when a mirror serves no usable i386 lists, the
# i386 libraries it needs are not at the versions of their installed 64-bit twins. The
# 32-bit runs are then skipped (see ensure_wine32_runs), and the rest goes on.
ensure_wine() {
    ensure_packages wine wine64
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        log "enabling the i386 architecture for wine32"
        dpkg --add-architecture i386
        unset VANTREL_APT_UPDATED
    fi
    ensure_packages wine32:i386 || log "could not install wine32:i386 (see above)"
}

# The 32-bit Wine loader that wine32:i386 installs.
WINE32_LOADER=/usr/lib/wine/wine

# True when this machine can run the 32-bit Wine loader; some kernels are built without
# 32-bit program support, and then every 32-bit Windows program fails before it starts.
can_run_wine32() {
    "$WINE32_LOADER" --version >/dev/null 2>&1
}

# True when the 32-bit Wine loader runs: natively, or else through qemu-i386 from the
# backports suite, registered with binfmt_misc. Only then: a registration would take
# precedence over native execution. Otherwise says why not and fails.
ensure_wine32_runs() {
    can_run_wine32 && return 0
    if [ ! -e "$WINE32_LOADER" ]; then
        log "the 32-bit Wine loader is not installed"
        return 1
    fi
    log "this kernel cannot run 32-bit programs; trying qemu-i386 from backports"
    ensure_backports_qemu && register_qemu_i386 || return 1
    can_run_wine32 && return 0
    log "the 32-bit Wine loader does not run under qemu-i386 either"
    return 1
}

windows_build_dir() { echo "$VANTREL_ROOT/build/$1"; }

# build_windows win64|win32 [OPTION...]: configures and builds build/<target> (Release,
# static .exe); the options (such as --target vantrel) go to cmake --build.
build_windows() {
    local target=$1 bits=${1#win}
    shift
    cmake -S "$VANTREL_ROOT" -B "$(windows_build_dir "$target")" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$VANTREL_ROOT/cmake/toolchain-mingw$bits.cmake" \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$(windows_build_dir "$target")" -j "$VANTREL_JOBS" "$@"
}

# Ends the Wine server the tests of build/<target> left lingering.
stop_wine() {
    local server=/usr/lib/wine/wineserver64
    [ -x "$server" ] || server=wineserver
    WINEPREFIX="$(windows_build_dir "$1")/wineprefix" "$server" -k 2>/dev/null || true
}
