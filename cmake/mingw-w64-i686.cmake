# Cross build for 32-bit Windows with Debian's MinGW-w64 (posix threads, so
# that std::thread is available), run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(NORV_MINGW_TRIPLET i686-w64-mingw32)

set(CMAKE_C_COMPILER ${NORV_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${NORV_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${NORV_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${NORV_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR wine)
# The search-output library reads XML with pugixml, which Debian does not build
# for MinGW: it is left out of the Windows build (docs/windows.md).
set(NORVEXT_BUILD_SEARCH OFF CACHE BOOL "Build the search-output library NorvSearch")
