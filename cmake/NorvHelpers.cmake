# Small helpers shared by every target of the project.

# Warnings we keep at zero; NORVEXT_WERROR makes them errors.
function(norv_set_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 $<$<BOOL:${NORVEXT_WERROR}>:/WX>)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic $<$<BOOL:${NORVEXT_WERROR}>:-Werror>)
  endif()
endfunction()

# norv_add_library(NAME BUILD_MACRO <macro> INCLUDE_ROOT <dir> SOURCES ... [LINK ...]
#                  [EXPORT_NAME <name>])
# A shared library with hidden visibility, exported as NorvExt::NAME (or
# NorvExt::<name>).
# BUILD_MACRO is defined while the library itself is compiled so that its
# export header switches to dllexport / default visibility.
function(norv_add_library name)
  cmake_parse_arguments(ARG "" "BUILD_MACRO;INCLUDE_ROOT;EXPORT_NAME" "SOURCES;LINK" ${ARGN})
  if(NOT ARG_EXPORT_NAME)
    set(ARG_EXPORT_NAME ${name})
  endif()
  add_library(${name} SHARED ${ARG_SOURCES})
  add_library(NorvExt::${ARG_EXPORT_NAME} ALIAS ${name})
  target_compile_definitions(${name} PRIVATE ${ARG_BUILD_MACRO})
  target_include_directories(${name} PUBLIC
    $<BUILD_INTERFACE:${ARG_INCLUDE_ROOT}>
    $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
  target_link_libraries(${name} PUBLIC Boost::headers ${ARG_LINK})
  set_target_properties(${name} PROPERTIES
    VERSION ${PROJECT_VERSION}
    SOVERSION ${PROJECT_VERSION_MAJOR}
    EXPORT_NAME ${ARG_EXPORT_NAME})
  if(WIN32)
    # NorvUtil.dll, NorvSeq.dll, NorvExt.dll, whatever the toolchain's habit.
    set_target_properties(${name} PROPERTIES PREFIX "" IMPORT_PREFIX "")
  endif()
  if(UNIX AND NOT APPLE)
    # Installed side by side, the libraries find each other without a
    # search path.
    set_target_properties(${name} PROPERTIES INSTALL_RPATH "$ORIGIN")
  endif()
  norv_set_warnings(${name})
endfunction()

# norv_add_header_library(NAME INCLUDE_ROOT <dir>)
# A header-only library, exported as NorvExt::NAME.
function(norv_add_header_library name)
  cmake_parse_arguments(ARG "" "INCLUDE_ROOT" "" ${ARGN})
  add_library(${name} INTERFACE)
  add_library(NorvExt::${name} ALIAS ${name})
  target_include_directories(${name} INTERFACE
    $<BUILD_INTERFACE:${ARG_INCLUDE_ROOT}>
    $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
  target_compile_features(${name} INTERFACE cxx_std_17)
  set_target_properties(${name} PROPERTIES EXPORT_NAME ${name})
endfunction()

# norv_add_tool(NAME SOURCES ... LINK ...): a command-line tool, installed in
# bin/ (component Tools), that knows the project's version (NORVEXT_VERSION).
function(norv_add_tool name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINK" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LINK})
  target_compile_definitions(${name} PRIVATE NORVEXT_VERSION="${PROJECT_VERSION}")
  norv_set_warnings(${name})
  if(UNIX AND NOT APPLE)
    # Installed in bin/, it finds the libraries in the lib/ folder beside it.
    set_target_properties(${name} PROPERTIES INSTALL_RPATH "$ORIGIN/../${CMAKE_INSTALL_LIBDIR}")
  endif()
  if(NORVEXT_INSTALL)
    install(TARGETS ${name} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Tools)
  endif()
endfunction()

# norv_add_tests(SOURCES ... [LINK ...]): GoogleTest sources of one folder of
# tests/, compiled into the one test program norvext_tests, which
# tests/CMakeLists.txt makes before and registers after the folders.
function(norv_add_tests)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINK" ${ARGN})
  target_sources(norvext_tests PRIVATE ${ARG_SOURCES})
  target_link_libraries(norvext_tests PRIVATE ${ARG_LINK})
endfunction()

# norv_host_headers(TARGET NAME DIR): an imported target TARGET for the
# header-only library whose headers the build machine keeps in DIR, included
# as <NAME/...>. For cross builds: the include folder holds nothing but a link
# named NAME to DIR, so the rest of the build machine's /usr/include stays out.
function(norv_host_headers target name dir)
  set(root ${PROJECT_BINARY_DIR}/host-headers/${name})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${dir} ${root}/${name} SYMBOLIC)
  add_library(${target} INTERFACE IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${root})
endfunction()
