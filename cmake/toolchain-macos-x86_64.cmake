# Cross build of the x86-64 slice of vantrel-mac with Zig (see scripts/build-macos).
set(VANTREL_MACOS_ARCH x86_64)
set(VANTREL_ZIG_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/macos-zig-common.cmake)
