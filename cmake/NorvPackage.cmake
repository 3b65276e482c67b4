# Packages of what cmake/NorvInstall.cmake installs, made by CPack into
# <build>/packages (scripts/package, `make package`). The native Linux build
# makes one Debian package per install component:
#   libnorvextN     Runtime      the shared libraries (N: the SOVERSION)
#   norvext-tools   Tools        norvext-dump, norvext-search
#   libnorvext-dev  Development  headers, .so links, CMake package, .pc files
#   python3-norvext Python       the Python package norvext, where it is built
# The tools are not in libnorvextN, so that the libraries of two SOVERSIONs
# can be installed side by side. The MinGW build makes one .zip of
# everything, MinGW's runtime DLLs included.
# The name, version and contact of the packages are set here only.
set(CPACK_PACKAGE_NAME norvext)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR NorvExt)
set(CPACK_PACKAGE_CONTACT "NorvExt maintainers <maintainers@norvext.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "data classes of a sequence-analysis suite, in one byte layout")
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES ON)

# First line: the synopsis of the Debian package.
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION "NorvExt data classes - shared libraries
NorvUtil, NorvSeq and NorvExt: plain data classes of a sequence-analysis
suite, persisted in one byte layout, printed and visited; NorvJson: the
same classes as JSON; NorvSearch: BLAST+ and FASTA36 output read into
search records.")
set(CPACK_COMPONENT_TOOLS_DESCRIPTION "NorvExt data classes - norvext-dump and norvext-search
norvext-dump prints an object that NorvExt persisted, as its dump or as
JSON, and turns such JSON back into bytes; norvext-search reads BLAST+ and
FASTA36 output into search records and prints them as JSON.")
set(CPACK_COMPONENT_TOOLS_DEPENDS Runtime)
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION "NorvExt data classes - development files
The headers, the .so links, the CMake package NorvExt, norvext.pc,
norvjson.pc and norvsearch.pc. The headers include Boost's.")
set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS Runtime)
set(CPACK_COMPONENT_PYTHON_DESCRIPTION "NorvExt data classes - Python module
The package norvext for python3: the data classes with the same bytes,
JSON and dumps as the C++ library, BLAST+ and FASTA36 output read query by
query or into pandas DataFrames, and many outputs as one Dask DataFrame.")
set(CPACK_COMPONENT_PYTHON_DEPENDS Runtime)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
else()
  set(CPACK_GENERATOR DEB)
endif()

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
# Packages built against libnorvextN accept any later release of it.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
# The tools' libraries are in the build tree, not yet in a package.
foreach(lib NorvUtil NorvSeq NorvExt NorvJson NorvSearch)
  if(NOT TARGET ${lib})
    continue()
  endif()
  get_target_property(dir ${lib} BINARY_DIR)
  list(APPEND CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${dir})
endforeach()
list(REMOVE_DUPLICATES CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libnorvext${PROJECT_VERSION_MAJOR})
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_TOOLS_PACKAGE_NAME norvext-tools)
set(CPACK_DEBIAN_TOOLS_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libnorvext-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_PYTHON_PACKAGE_NAME python3-norvext)
set(CPACK_DEBIAN_PYTHON_PACKAGE_SECTION python)
# The extension is built for one Python version; read_frame needs pandas,
# norvext.dask needs Dask.
if(NORVEXT_PYTHON_MINOR)
  math(EXPR next "${NORVEXT_PYTHON_MINOR} + 1")
  set(CPACK_DEBIAN_PYTHON_PACKAGE_DEPENDS
    "python3 (>= 3.${NORVEXT_PYTHON_MINOR}), python3 (<< 3.${next}), python3-numpy, python3-pandas")
endif()
set(CPACK_DEBIAN_PYTHON_PACKAGE_SUGGESTS "python3-dask, python3-distributed")
# The public headers include Boost's.
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS "libboost-dev (>= 1.65)")

include(CPack)
