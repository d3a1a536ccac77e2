# Included after project() by the cross-built bundle test (CMAKE_PROJECT_INCLUDE). Zig 0.11
# cannot link an MH_BUNDLE (-bundle), so a MODULE library is linked as a dylib (-shared);
# CMake still lays it out as a bundle, which is what the test looks at. The sample's code
# uses no C++ library, and Zig would otherwise build libc++ for it first, for minutes:
# link without it, and without the sanitizer checks of Zig's debug builds that need it.
set(CMAKE_SHARED_MODULE_CREATE_CXX_FLAGS "-shared -nostdlib++")
add_compile_options(-fno-sanitize=undefined)
