# Cross build of the arm64 slice of vantrel-mac with Zig (see scripts/build-macos).
set(VANTREL_MACOS_ARCH arm64)
set(VANTREL_ZIG_ARCH aarch64)
include(${CMAKE_CURRENT_LIST_DIR}/macos-zig-common.cmake)
