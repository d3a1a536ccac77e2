# Shared by the scripts: where things are, and installing missing Debian packages.
set -euo pipefail
VANTREL_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
VANTREL_JOBS="${VANTREL_JOBS:-$(nproc)}"

log() { printf '== %s\n' "$*" >&2; }

# ensure_packages PACKAGE...: installs with apt-get those not installed yet.
ensure_packages() {
    local missing=()
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed' \
            || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    log "installing ${missing[*]}"
    if [ -z "${VANTREL_APT_UPDATED:-}" ]; then
        $sudo apt-get update -qq
        export VANTREL_APT_UPDATED=1
    fi
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
}

# The native build every script starts from: build/native, Release.
build_native() {
    ensure_packages g++ cmake ninja-build libgtest-dev python3
    cmake -S "$VANTREL_ROOT" -B "$VANTREL_ROOT/build/native" -G Ninja \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$VANTREL_ROOT/build/native" -j "$VANTREL_JOBS"
}
