#!/usr/bin/env bash
# The native (POSIX) build and its unit and command-line tests.
source "$(dirname "$0")/../lib/common.sh"
build_native
run_ctest "$VANTREL_ROOT/build/native" -j "$VANTREL_JOBS"
