# Shared by the macOS toolchain files: set VANTREL_MACOS_ARCH (the Mach-O name: x86_64,
# arm64) and VANTREL_ZIG_ARCH (Zig's name: x86_64, aarch64) before including. Zig, installed
# by `npm ci` into node_modules, compiles against the macOS C library headers and libc++ it
# carries: the program links libc++ statically and only libSystem dynamically. Nothing here
# runs on this machine, so tests are not built.
set(CMAKE_SYSTEM_NAME Darwin)
set(CMAKE_SYSTEM_PROCESSOR ${VANTREL_MACOS_ARCH})

# The lowest macOS this toolchain has C library headers for (lib/libc/include/*-macos.11-*).
set(VANTREL_MACOS_DEPLOYMENT_TARGET 11.0)

set(CMAKE_C_COMPILER ${CMAKE_CURRENT_LIST_DIR}/zig/zig-cc)
set(CMAKE_CXX_COMPILER ${CMAKE_CURRENT_LIST_DIR}/zig/zig-c++)
set(CMAKE_AR ${CMAKE_CURRENT_LIST_DIR}/zig/zig-ar CACHE FILEPATH "Archiver")
set(CMAKE_RANLIB ${CMAKE_CURRENT_LIST_DIR}/zig/zig-ranlib CACHE FILEPATH "Archive indexer")
set(CMAKE_C_COMPILER_TARGET ${VANTREL_ZIG_ARCH}-macos.${VANTREL_MACOS_DEPLOYMENT_TARGET})
set(CMAKE_CXX_COMPILER_TARGET ${VANTREL_ZIG_ARCH}-macos.${VANTREL_MACOS_DEPLOYMENT_TARGET})

# The compiler checks only compile: linking would build libc++ once more for their flags.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(VANTREL_PROGRAM_NAME "vantrel-mac" CACHE STRING "File name of the built program")
set(VANTREL_TESTS OFF CACHE BOOL "Build the tests")
