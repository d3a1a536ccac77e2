#!/usr/bin/env bash
# The release files: scripts/package writes them into dist/ (building what is missing),
# then each is used as a user would (tests/package/test_release_archives.py), and the
# macOS program taken from its archive passes the Mach-O checks again.
source "$(dirname "$0")/../lib/common.sh"
source "$VANTREL_ROOT/scripts/lib/windows.sh"
source "$VANTREL_ROOT/scripts/lib/macos.sh"
ensure_wine
bash "$VANTREL_ROOT/scripts/package"

version=$(project_version)
win32_prefix=""
if ensure_wine32_runs; then
    win32_prefix="$(windows_build_dir win32)/wineprefix"
else
    log "SKIPPED: the packaged win32 program's runs; the 32-bit Wine loader cannot run here"
fi

status=0
python3 "$VANTREL_ROOT/tests/package/test_release_archives.py" --dist "$VANTREL_ROOT/dist" \
    --version "$version" --native-program "$VANTREL_ROOT/build/native/Sources/vantrel" \
    --wine-run "$VANTREL_ROOT/scripts/wine-run" \
    --win64-prefix "$(windows_build_dir win64)/wineprefix" --win32-prefix "$win32_prefix" \
    --apt-lock-timeout "$VANTREL_APT_LOCK_TIMEOUT" || status=1

unpacked=$(mktemp -d)
tar -xzf "$VANTREL_ROOT/dist/vantrel-$version-macos-universal.tar.gz" -C "$unpacked"
python3 "$VANTREL_ROOT/tests/macos/check_program.py" \
    --program "$unpacked/vantrel-$version-macos-universal/bin/vantrel-mac" \
    --llvm-bin "$(llvm_bin)" --zig-lib "$ZIG_PACKAGE_DIR/lib" \
    --readme "$unpacked/vantrel-$version-macos-universal/README.md" || status=1
rm -rf "$unpacked"
for target in "${WINDOWS_TARGETS[@]}"; do
    stop_wine "$target"
done
exit $status
