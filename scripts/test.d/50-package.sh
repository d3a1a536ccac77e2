#!/usr/bin/env bash
# What `cmake --install` ships: installs into a temporary prefix and builds the sample
# plug-in project against it (Ninja, Make, and MinGW-w64 cross builds), validates the JSON Schema with a real
# validator and against the program, and renders the man page without warnings.
source "$(dirname "$0")/../lib/common.sh"
# python3-jsonschema is Debian's: the tests run with /usr/bin/python3, which sees it.
ensure_packages g++ cmake ninja-build make python3 python3-jsonschema groff-base groff \
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 g++-mingw-w64-i686-posix binutils-mingw-w64-i686
build="$VANTREL_ROOT/build/package"
cmake -S "$VANTREL_ROOT" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DVANTREL_TESTS=OFF -DVANTREL_PACKAGE_TESTS=ON >/dev/null
cmake --build "$build" --target vantrel -j "$VANTREL_JOBS"
run_ctest "$build"
