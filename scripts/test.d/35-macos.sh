#!/usr/bin/env bash
# The universal macOS program, cross-built with Zig (a warning fails the build), and the
# static checks of its Mach-O file: this machine cannot run it.
source "$(dirname "$0")/../lib/common.sh"
source "$VANTREL_ROOT/scripts/lib/macos.sh"
ensure_macos_toolchain
build_macos
python3 "$VANTREL_ROOT/tests/macos/check_program.py" --program "$MACOS_PROGRAM" \
    --llvm-bin "$(llvm_bin)" --zig-lib "$ZIG_PACKAGE_DIR/lib" --readme "$VANTREL_ROOT/README.md"
