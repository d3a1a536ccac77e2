# Cross build of vantrel-win64.exe (Windows x64 console) with MinGW-w64.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VANTREL_MINGW_TRIPLE x86_64-w64-mingw32)
set(VANTREL_WINDOWS_BITS 64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
