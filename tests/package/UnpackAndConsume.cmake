# cmake -P script of scripts/package: unpacks the packages of one build into
# the scratch root WORK_DIR/root and builds consumer/ (CONSUMER_DIR) against
# them, as a user of the packages would.
#   -DDEBS=<a.deb;...> -DCXX=<compiler>: the Debian packages. Each must hold
#     its share of the files and depend on the right packages; unpacked
#     together, they give a consumer through CMake and one through
#     pkg-config (built by CXX), and both run, as does norvext-dump.
#   -DZIP=<file> -DTOOLCHAIN=<file> -DOBJDUMP=<program> [-DWINE=<program>]:
#     the Windows .zip. The consumer is built with TOOLCHAIN; it and every
#     program and DLL of bin/ must find each DLL it imports in bin/ or in
#     Windows. With WINE, the consumer and norvext-dump.exe run.
cmake_minimum_required(VERSION 3.16)
include(${CMAKE_CURRENT_LIST_DIR}/Consume.cmake)
file(REMOVE_RECURSE ${WORK_DIR})
set(root ${WORK_DIR}/root)
set(build ${WORK_DIR}/build)
file(MAKE_DIRECTORY ${root})

if(DEBS)
  set(packages)
  foreach(deb IN LISTS DEBS)
    run(dpkg-deb --show "--showformat=\${Package} \${Depends}" ${deb})
    string(REGEX MATCH "^([^ ]+) (.*)" _ "${last_output}")
    set(package ${CMAKE_MATCH_1})
    set(depends ${CMAKE_MATCH_2})
    run(dpkg-deb -x ${deb} ${WORK_DIR}/${package})
    file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${WORK_DIR}/${package} ${WORK_DIR}/${package}/*)
    if(package MATCHES "^libnorvext([0-9]+)$")
      # The libraries of one SOVERSION and nothing else, so that two such
      # packages can be installed together.
      foreach(lib NorvUtil NorvSeq NorvExt NorvJson)
        if(NOT "usr/lib/lib${lib}.so.${CMAKE_MATCH_1}" IN_LIST files)
          message(FATAL_ERROR "${package} lacks lib${lib}.so.${CMAKE_MATCH_1}: ${files}")
        endif()
      endforeach()
      list(FILTER files EXCLUDE REGEX "^usr/lib/libNorv(Util|Seq|Ext|Json)\\.so\\.[0-9.]+$")
      if(files OR NOT depends MATCHES "libstdc\\+\\+6")
        message(FATAL_ERROR "${package} holds more than the libraries (${files}) or lacks their dependencies (${depends})")
      endif()
    elseif(package STREQUAL "libnorvext-dev")
      if(NOT depends MATCHES "libnorvext[0-9]+ \\(= [^)]+\\).*libboost-dev")
        message(FATAL_ERROR "${package} does not depend on its libraries and Boost: ${depends}")
      endif()
    elseif(package STREQUAL "norvext-tools")
      if(NOT files STREQUAL "usr/bin/norvext-dump" OR NOT depends MATCHES "libnorvext[0-9]+ \\(= ")
        message(FATAL_ERROR "${package} holds more than norvext-dump (${files}) or lacks its libraries (${depends})")
      endif()
    else()
      message(FATAL_ERROR "a package none of the three: ${package}")
    endif()
    list(APPEND packages ${package})
    run(dpkg-deb -x ${deb} ${root})
  endforeach()
  list(LENGTH packages count)
  if(NOT count EQUAL 3)
    message(FATAL_ERROR "expected three packages, got: ${packages}")
  endif()

  check_dump_types(${root}/usr/bin/norvext-dump)

  run(${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${build} -G "${GENERATOR}"
      -DCMAKE_PREFIX_PATH=${root}/usr -DCMAKE_BUILD_TYPE=Release)
  file(STRINGS ${build}/CMakeCache.txt found REGEX "^NorvExt_DIR:")
  if(NOT found MATCHES "=${root}/usr/")
    message(FATAL_ERROR "the consumer found another NorvExt: ${found}")
  endif()
  run(${CMAKE_COMMAND} --build ${build})
  check_consumer(${build}/consumer)

  # Only the unpacked .pc files, found from their own place.
  file(GLOB_RECURSE pc ${root}/*/norvjson.pc)
  get_filename_component(pc_dir "${pc}" DIRECTORY)
  set(ENV{PKG_CONFIG_LIBDIR} ${pc_dir})
  run(pkg-config --cflags --libs norvjson)
  separate_arguments(flags UNIX_COMMAND "${last_output}")
  run(pkg-config --variable=libdir norvext)
  string(STRIP "${last_output}" libdir)
  run(${CXX} -std=c++17 ${CONSUMER_DIR}/main.cpp ${flags} -Wl,-rpath,${libdir} -o ${WORK_DIR}/consumer-pc)
  check_consumer(${WORK_DIR}/consumer-pc)
  return()
endif()

run(${CMAKE_COMMAND} -E tar xf ${ZIP} WORKING_DIRECTORY ${root})
file(GLOB prefix ${root}/*)
if(NOT EXISTS "${prefix}/bin/norvext-dump.exe")
  message(FATAL_ERROR "no bin/norvext-dump.exe in one top folder under ${root}")
endif()

# The toolchain file searches packages in MinGW's root only; Boost comes from
# the build machine's headers, alone in a folder.
file(MAKE_DIRECTORY ${WORK_DIR}/boost)
file(CREATE_LINK /usr/include/boost ${WORK_DIR}/boost/boost SYMBOLIC)
run(${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${build} -G "${GENERATOR}" -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN} -DNorvExt_DIR=${prefix}/lib/cmake/NorvExt
    -DBoost_INCLUDE_DIR=${WORK_DIR}/boost)
run(${CMAKE_COMMAND} --build ${build})

file(GLOB dlls RELATIVE ${prefix}/bin ${prefix}/bin/*.dll)
string(TOLOWER "${dlls}" dlls)
file(GLOB programs ${prefix}/bin/*.dll ${prefix}/bin/*.exe ${build}/consumer.exe)
foreach(program IN LISTS programs)
  run(${OBJDUMP} -p ${program})
  string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${last_output}")
  string(REPLACE "DLL Name: " "" imports "${imports}")
  string(TOLOWER "${imports}" imports)
  foreach(dll IN LISTS imports)
    if(NOT dll IN_LIST dlls AND NOT dll MATCHES "^(kernel32|msvcrt|user32|advapi32|ws2_32)\\.dll$")
      message(FATAL_ERROR "${program} needs ${dll}, which is neither in bin/ nor part of Windows")
    endif()
  endforeach()
endforeach()

if(WINE)
  # The prefix handed in (the Windows run's), else one of its own.
  if(NOT DEFINED ENV{WINEPREFIX})
    set(ENV{WINEPREFIX} ${WORK_DIR}/wineprefix)
  endif()
  # Under qemu-user, Wine needs a 64 KiB aligned top of the address space
  # (scripts/test-windows says why); elsewhere the variable is not read.
  set(ENV{QEMU_RESERVED_VA} 0xffff0000)
  set(ENV{WINEDEBUG} -all)
  set(ENV{WINEPATH} ${prefix}/bin)
  check_consumer(${WINE} ${build}/consumer.exe)
  check_dump_types(${WINE} ${prefix}/bin/norvext-dump.exe)
endif()
