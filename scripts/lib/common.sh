# Shared by the scripts: where things are, and installing missing Debian packages.
set -euo pipefail
VANTREL_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
VANTREL_JOBS="${VANTREL_JOBS:-$(nproc)}"

log() { printf '== %s\n' "$*" >&2; }

# Where the steps note what failed, for scripts/test-all to repeat at the end of its output:
# a long log is often read from its end.
VANTREL_FAILURES="$VANTREL_ROOT/build/failures.txt"

# note_failure TITLE: appends TITLE and standard input to the failure notes.
note_failure() {
    mkdir -p "$(dirname "$VANTREL_FAILURES")"
    { printf '== %s\n' "$1"; cat; } >>"$VANTREL_FAILURES"
}

# run_ctest BUILD_DIR [CTEST_OPTION...]: runs the tests of a build, and notes the name and
# output of each test that failed.
run_ctest() {
    local build=$1
    shift
    ctest --test-dir "$build" --output-on-failure "$@" && return 0
    local status=$?
    python3 "$VANTREL_ROOT/scripts/lib/failed_tests.py" "$build" 2>&1 \
        | note_failure "failed tests in ${build#"$VANTREL_ROOT"/}"
    return $status
}

# How long apt waits for another apt or dpkg run to let go of its lock, in seconds.
VANTREL_APT_LOCK_TIMEOUT="${VANTREL_APT_LOCK_TIMEOUT:-1200}"

# apt-get as root, waiting for the dpkg lock instead of failing while another run holds it.
apt_get() {
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo env DEBIAN_FRONTEND=noninteractive LC_ALL=C \
        apt-get -o DPkg::Lock::Timeout="$VANTREL_APT_LOCK_TIMEOUT" "$@"
}

# How often apt-get update is tried when a download fails (a mirror in the middle of a sync
# serves lists that do not match their index), and the pause before the next try, in seconds.
VANTREL_APT_UPDATE_TRIES="${VANTREL_APT_UPDATE_TRIES:-4}"
VANTREL_APT_UPDATE_PAUSE="${VANTREL_APT_UPDATE_PAUSE:-20}"

# apt-get update, once per run of a script unless the sources changed. It takes the package
# lists' lock, for which apt itself does not wait: it is tried again while that is held. A
# failed download is tried again a few times; if it still fails, the install goes on with the
# lists apt has, which often hold the packages asked for, and fails only if they do not.
apt_update() {
    [ -n "${VANTREL_APT_UPDATED:-}" ] && return 0
    local output waited=0 tries=1
    until output=$(apt_get update -qq 2>&1); do
        if grep -q 'Could not get lock' <<<"$output" \
                && [ "$waited" -lt "$VANTREL_APT_LOCK_TIMEOUT" ]; then
            sleep 5
            waited=$((waited + 5))
            continue
        fi
        printf '%s\n' "$output" >&2
        if [ "$tries" -ge "$VANTREL_APT_UPDATE_TRIES" ]; then
            log "apt-get update failed $tries times: installing from the package lists apt has"
            output=""
            break
        fi
        log "apt-get update failed; trying again in $VANTREL_APT_UPDATE_PAUSE s"
        sleep "$VANTREL_APT_UPDATE_PAUSE"
        tries=$((tries + 1))
    done
    [ -z "$output" ] || printf '%s\n' "$output" >&2
    export VANTREL_APT_UPDATED=1
}

# ensure_packages PACKAGE...: installs with apt-get those not installed yet.
ensure_packages() {
    local missing=()
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed' \
            || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    log "installing ${missing[*]}"
    apt_update
    apt_get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# build_native [OPTION...]: configures and builds the native build every script starts
# from, build/native (Release); the options (such as --target vantrel) go to cmake --build.
build_native() {
    ensure_packages g++ cmake ninja-build libgtest-dev python3
    cmake -S "$VANTREL_ROOT" -B "$VANTREL_ROOT/build/native" -G Ninja \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$VANTREL_ROOT/build/native" -j "$VANTREL_JOBS" "$@"
}

# The project version the native build was configured with.
project_version() {
    sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$VANTREL_ROOT/build/native/CMakeCache.txt"
}
