# Installs the three libraries, their public headers and a CMake package so
# that a consumer writes find_package(NorvExt CONFIG REQUIRED).
include(CMakePackageConfigHelpers)

set(NORVEXT_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/NorvExt)

install(TARGETS NorvCommon NorvUtil NorvSeq NorvExt
  EXPORT NorvExtTargets
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})

# Public headers only: internal/ folders hold helpers of the .cpp files.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/norvext
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
  FILES_MATCHING PATTERN "*.h"
  PATTERN "internal" EXCLUDE)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/interfaces/norvutil ${PROJECT_SOURCE_DIR}/interfaces/norvseq
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
  FILES_MATCHING PATTERN "*.h"
  PATTERN "internal" EXCLUDE)

install(EXPORT NorvExtTargets
  NAMESPACE NorvExt::
  DESTINATION ${NORVEXT_CMAKE_DIR})

configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/NorvExtConfig.cmake.in
  ${PROJECT_BINARY_DIR}/NorvExtConfig.cmake
  INSTALL_DESTINATION ${NORVEXT_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/NorvExtConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES
  ${PROJECT_BINARY_DIR}/NorvExtConfig.cmake
  ${PROJECT_BINARY_DIR}/NorvExtConfigVersion.cmake
  DESTINATION ${NORVEXT_CMAKE_DIR})
