# 32-bit x86 Linux build on a 64-bit Debian host (g++-multilib): the data
# model of the library's own platform, 32-bit pointers and size_t, tested
# with the host's compiler. GoogleTest is built from Debian's sources with
# the same flags, since only a 64-bit build of it is installed.
set(CMAKE_C_FLAGS_INIT -m32)
set(CMAKE_CXX_FLAGS_INIT -m32)
set(CMAKE_EXE_LINKER_FLAGS_INIT -m32)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -m32)
set(CMAKE_MODULE_LINKER_FLAGS_INIT -m32)
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)
set(NORVEXT_GTEST_FROM_SOURCE ON CACHE BOOL "Build GoogleTest from its sources")
# The search-output library reads XML with pugixml, of which Debian installs
# only the host's build: it is left out here (docs/search.md).
set(NORVEXT_BUILD_SEARCH OFF CACHE BOOL "Build the search-output library NorvSearch")
