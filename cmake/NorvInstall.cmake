# Installs the libraries (NorvJson and NorvSearch too where they are built), their public
# headers, a CMake package (so that a consumer writes find_package(NorvExt
# CONFIG REQUIRED)) and pkg-config files. Each file belongs to a component, which the packages of
# cmake/NorvPackage.cmake follow: Runtime (what a program needs to run),
# Development (what building one needs); norvext-dump is Tools.
include(CMakePackageConfigHelpers)

set(NORVEXT_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/NorvExt)

set(norv_libraries NorvCommon NorvUtil NorvSeq NorvExt)
set(norv_pc_files norvext)
# norvext/json/ and norvext/search/ hold the headers of NorvJson and
# NorvSearch, each installed where its library is built.
set(norv_unbuilt)
foreach(optional json:NorvJson search:NorvSearch)
  string(REPLACE ":" ";" optional ${optional})
  list(GET optional 0 folder)
  list(GET optional 1 library)
  if(TARGET ${library})
    list(APPEND norv_libraries ${library})
    string(TOLOWER ${library} pc)
    list(APPEND norv_pc_files ${pc})
  else()
    list(APPEND norv_unbuilt PATTERN ${folder} EXCLUDE)
  endif()
endforeach()
install(TARGETS ${norv_libraries}
  EXPORT NorvExtTargets
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Runtime
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Runtime NAMELINK_COMPONENT Development
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Development)

if(MINGW)
  # Without MinGW on the Windows machine, its runtime DLLs go beside ours.
  foreach(dll libstdc++-6.dll libgcc_s_dw2-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
      OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
      message(FATAL_ERROR "${CMAKE_CXX_COMPILER} does not know ${dll}")
    endif()
    # Stripped, as the packages strip ours: libstdc++-6.dll loses 19 MB.
    set(copy ${PROJECT_BINARY_DIR}/mingw-runtime/${dll})
    file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/mingw-runtime)
    execute_process(COMMAND ${CMAKE_STRIP} -o ${copy} ${path} RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "${CMAKE_STRIP} could not strip ${path}")
    endif()
    install(FILES ${copy} DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Runtime)
  endforeach()
endif()

# Public headers only: internal/ folders hold helpers of the .cpp files.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/norvext
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT Development
  FILES_MATCHING PATTERN "*.h"
  PATTERN "internal" EXCLUDE
  ${norv_unbuilt})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/interfaces/norvutil ${PROJECT_SOURCE_DIR}/interfaces/norvseq
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT Development
  FILES_MATCHING PATTERN "*.h"
  PATTERN "internal" EXCLUDE)

install(EXPORT NorvExtTargets
  NAMESPACE NorvExt::
  DESTINATION ${NORVEXT_CMAKE_DIR} COMPONENT Development)

configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/NorvExtConfig.cmake.in
  ${PROJECT_BINARY_DIR}/NorvExtConfig.cmake
  INSTALL_DESTINATION ${NORVEXT_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/NorvExtConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES
  ${PROJECT_BINARY_DIR}/NorvExtConfig.cmake
  ${PROJECT_BINARY_DIR}/NorvExtConfigVersion.cmake
  DESTINATION ${NORVEXT_CMAKE_DIR} COMPONENT Development)

# A .pc file finds the prefix from its own place, so that it holds wherever
# the files are unpacked or installed (--prefix, DESTDIR, a package).
file(RELATIVE_PATH NORVEXT_PC_TO_PREFIX /p/${CMAKE_INSTALL_LIBDIR}/pkgconfig /p)
string(REGEX REPLACE "/$" "" NORVEXT_PC_TO_PREFIX "${NORVEXT_PC_TO_PREFIX}")
foreach(pc ${norv_pc_files})
  configure_file(${PROJECT_SOURCE_DIR}/cmake/${pc}.pc.in ${PROJECT_BINARY_DIR}/${pc}.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/${pc}.pc
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT Development)
endforeach()
