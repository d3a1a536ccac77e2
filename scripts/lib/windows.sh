# Shared by the Windows scripts: the MinGW-w64 cross toolchains, Wine, and the two builds.
# Source after lib/common.sh.

WINDOWS_TARGETS=(win64 win32)

# The cross compilers and binutils (windres included) for both targets, and what the
# cross-built tests need on the build machine (GoogleTest as sources, compiled per target).
ensure_windows_toolchain() {
    ensure_packages cmake ninja-build python3 googletest \
        g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix \
        binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
}

# Wine for the 64-bit programs, and the 32-bit loader (an i386 package) for the 32-bit ones.
ensure_wine() {
    ensure_packages wine wine64
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        log "enabling the i386 architecture for wine32"
        dpkg --add-architecture i386
        unset VANTREL_APT_UPDATED
    fi
    ensure_packages wine32:i386
}

# True when this machine can run the 32-bit Wine loader; some kernels are built without
# 32-bit program support, and then every 32-bit Windows program fails before it starts.
can_run_wine32() {
    /usr/lib/wine/wine --version >/dev/null 2>&1
}

# True when the 32-bit Wine loader runs: natively, or else through qemu-i386 from the
# backports suite, registered with binfmt_misc. Only then: a registration would take
# precedence over native execution. Otherwise says why not and fails.
ensure_wine32_runs() {
    can_run_wine32 && return 0
    log "this kernel cannot run 32-bit programs; trying qemu-i386 from backports"
    ensure_backports_qemu && register_qemu_i386 || return 1
    can_run_wine32 && return 0
    log "the 32-bit Wine loader does not run under qemu-i386 either"
    return 1
}

# Debian 12's own qemu-user takes about a minute for one run of the program; the one of
# the backports suite is fast enough for the whole suite.
ensure_backports_qemu() {
    local codename version
    codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    version=$(dpkg-query -W -f='${Version}' qemu-user 2>/dev/null || true)
    if [ -n "$version" ] && dpkg --compare-versions "$version" ge 1:8; then
        return 0
    fi
    add_backports_source "$codename" || return 1
    apt_update && apt_get install -y -qq --no-install-recommends \
        "qemu-user/$codename-backports" >/dev/null
}

# Adds the backports suite of the Debian mirror the apt sources already name for the
# release itself, in the same format; fails, saying why, when there is none.
add_backports_source() {
    local codename=$1 sources=/etc/apt/sources.list.d text
    if [ -z "$codename" ]; then
        log "no release code name in /etc/os-release to find its backports suite by"
        return 1
    fi
    if grep -rqs -- "$codename-backports" /etc/apt/sources.list "$sources"/*.list \
            "$sources"/*.sources; then
        return 0
    fi
    text=$(deb822_backports_source "$codename" "$sources"/*.sources)
    if [ -n "$text" ]; then
        printf '%s\n' "$text" > "$sources/vantrel-backports.sources"
    else
        text=$(one_line_backports_source "$codename" /etc/apt/sources.list "$sources"/*.list)
        if [ -z "$text" ]; then
            log "no apt source names the suite $codename, so none for $codename-backports"
            return 1
        fi
        printf '%s\n' "$text" > "$sources/vantrel-backports.list"
    fi
    log "added the apt source of $codename-backports beside that of $codename"
    unset VANTREL_APT_UPDATED
}

# deb822_backports_source CODENAME FILE...: the first enabled "deb" stanza whose suites
# include CODENAME, for the suite CODENAME-backports.
deb822_backports_source() {
    local codename=$1
    shift
    existing_files "$@" | xargs -r -d '\n' awk -v suite="$codename" '
        BEGIN { RS = ""; FS = "\n" }
        {
            delete field
            for (i = 1; i <= NF; i++) {
                if ($i !~ /^[A-Za-z-]+:/) continue
                colon = index($i, ":")
                key = tolower(substr($i, 1, colon - 1))
                field[key] = substr($i, colon + 1)
                sub(/^[ \t]+/, "", field[key])
            }
            if (tolower(field["enabled"]) == "no" || (" " field["types"] " ") !~ / deb / \
                || (" " field["suites"] " ") !~ (" " suite " ")) next
            printf "Types: deb\nURIs: %s\nSuites: %s-backports\nComponents: %s\n",
                field["uris"], suite, field["components"]
            if (field["signed-by"] != "") printf "Signed-By: %s\n", field["signed-by"]
            exit
        }'
}

# one_line_backports_source CODENAME FILE...: the first "deb" line for the suite CODENAME,
# for the suite CODENAME-backports.
one_line_backports_source() {
    local codename=$1
    shift
    existing_files "$@" | xargs -r -d '\n' awk -v suite="$codename" '
        $1 == "deb" {
            n = 2
            if ($n ~ /^\[/) { while (n < NF && $n !~ /\]$/) n++; n++ }
            if ($(n + 1) == suite) { $(n + 1) = suite "-backports"; print; exit }
        }'
}

existing_files() {
    local file
    for file in "$@"; do
        [ -f "$file" ] && printf '%s\n' "$file"
    done
    return 0
}

# Hands i386 ELF programs (executables and shared objects) to qemu-i386. The F flag makes
# the kernel open the emulator now, so it is found from any root or mount namespace.
register_qemu_i386() {
    local binfmt=/proc/sys/fs/binfmt_misc
    local magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
    local mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
    if [ ! -e "$binfmt/register" ] && ! mount -t binfmt_misc binfmt_misc "$binfmt"; then
        log "cannot mount binfmt_misc to register qemu-i386"
        return 1
    fi
    [ -e "$binfmt/qemu-i386" ] && return 0
    if ! printf ':qemu-i386:M::%s:%s:%s:F\n' "$magic" "$mask" "$(command -v qemu-i386)" \
            > "$binfmt/register"; then
        log "binfmt_misc refused the registration of qemu-i386"
        return 1
    fi
    log "registered qemu-i386 for 32-bit programs"
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
