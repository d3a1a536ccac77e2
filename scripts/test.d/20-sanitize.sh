#!/usr/bin/env bash
# The whole test suite again on a build with AddressSanitizer (leak checking included) and
# UndefinedBehaviorSanitizer. Any report fails the step, even one inside a test whose
# status happened to match: reports go to files under build/sanitize/reports.
source "$(dirname "$0")/../lib/common.sh"

# Where the kernel spreads mappings over more random bits than this AddressSanitizer allows
# for (vm.mmap_rnd_bits 32), about one instrumented run in four never ends. Without address
# randomisation every run gets the layout the sanitizer expects.
if [ -z "${VANTREL_NO_ASLR:-}" ] && setarch "$(uname -m)" -R true 2>/dev/null; then
    export VANTREL_NO_ASLR=1
    exec setarch "$(uname -m)" -R bash "$0" "$@"
fi
ensure_packages g++ cmake ninja-build libgtest-dev python3

build="$VANTREL_ROOT/build/sanitize"
reports="$build/reports"
cmake -S "$VANTREL_ROOT" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVANTREL_SANITIZE=ON >/dev/null
cmake --build "$build" -j "$VANTREL_JOBS"

rm -rf "$reports"
mkdir -p "$reports"
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:abort_on_error=0:detect_stack_use_after_return=1:strict_string_checks=1:check_initialization_order=1:log_path=$reports/asan"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:log_path=$reports/ubsan"
export LSAN_OPTIONS="log_path=$reports/lsan"
# Tells the slow hostile cases that they run instrumented.
export VANTREL_SANITIZED=1

status=0
run_ctest "$build" -j "$VANTREL_JOBS" --timeout 1500 || status=1
if compgen -G "$reports/*" >/dev/null; then
    log "sanitizer reports:"
    cat "$reports"/* >&2
    for report in "$reports"/*; do
        head -n 40 "$report" | note_failure "sanitizer report $(basename "$report")"
    done
    status=1
fi
exit $status
