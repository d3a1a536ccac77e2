# Cross build of vantrel-win32.exe (Windows x86 console) with MinGW-w64.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(VANTREL_MINGW_TRIPLE i686-w64-mingw32)
set(VANTREL_WINDOWS_BITS 32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
