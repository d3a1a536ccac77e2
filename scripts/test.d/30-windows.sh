#!/usr/bin/env bash
# The Windows programs, cross-built with MinGW-w64, and every test run on them under Wine:
# the library tests, the command-line cases (CR LF text files) and the Windows-only checks.
source "$(dirname "$0")/../lib/common.sh"
source "$VANTREL_ROOT/scripts/lib/windows.sh"
ensure_windows_toolchain
ensure_wine

failed=0
for target in "${WINDOWS_TARGETS[@]}"; do
    log "building $target"
    build_windows "$target" || { failed=1; continue; }
    if [ "$target" = win32 ] && ! ensure_wine32_runs; then
        log "SKIPPED: the win32 tests; the 32-bit Wine loader cannot run here (see above)"
        continue
    fi
    log "testing $target under Wine"
    run_ctest "$(windows_build_dir "$target")" -j "$VANTREL_JOBS" || failed=1
    stop_wine "$target"
done
exit $failed
