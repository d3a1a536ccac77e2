#!/usr/bin/env bash
# The universal macOS program, cross-built with Zig (a warning fails the build), and the
# static checks of its Mach-O file: this machine cannot run it.
source "$(dirname "$0")/../lib/common.sh"
source "$VANTREL_ROOT/scripts/lib/macos.sh"
ensure_macos_toolchain
build_macos
python3 "$VANTREL_ROOT/tests/macos/check_program.py" --program "$MACOS_PROGRAM" \
    --llvm-bin "$(llvm_bin)" --zig-lib "$ZIG_PACKAGE_DIR/lib" --readme "$VANTREL_ROOT/README.md"
# The sample plug-in cross-built as a macOS bundle against the package of a native
# program, its .rsrc read back by the tests' own reader.
host="$VANTREL_ROOT/build/mac-host"
cmake -S "$VANTREL_ROOT" -B "$host" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVANTREL_TESTS=OFF >/dev/null
cmake --build "$host" --target vantrel -j "$VANTREL_JOBS"
for arch in "${MACOS_ARCHS[@]}"; do
    python3 "$VANTREL_ROOT/tests/macos/cmake_bundle.py" --build-dir "$host" --arch "$arch"
done
