# cmake -P script: install, configure and build the consumer, run it. With
# -DSUBPROJECT=<dir>, build the project in <dir>, which adds this source
# tree (SOURCE_DIR) with add_subdirectory, and run its consumer instead.
file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)

include(${CMAKE_CURRENT_LIST_DIR}/Consume.cmake)

set(toolchain)
if(TOOLCHAIN)
  # The consumer is built for the same target as the package.
  set(toolchain -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN})
endif()

if(SUBPROJECT)
  run(${CMAKE_COMMAND} -S ${SUBPROJECT} -B ${WORK_DIR}/build -G "${GENERATOR}"
      -DNORVEXT_SOURCE_DIR=${SOURCE_DIR} -DCMAKE_BUILD_TYPE=Release ${toolchain})
  run(${CMAKE_COMMAND} --build ${WORK_DIR}/build --target consumer)
  check_consumer(${WORK_DIR}/build/consumer)
  return()
endif()

run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
foreach(header norvext/NorvExt.h norvext/json/NorvJson.h norvutil/NorvUtil.h norvseq/NorvSeq.h)
  if(NOT EXISTS ${prefix}/include/${header})
    message(FATAL_ERROR "missing installed header ${header}")
  endif()
endforeach()
if(WITH_TOOLS)
  # The installed tool finds the installed libraries by itself.
  check_dump_types(${prefix}/bin/norvext-dump)
endif()
file(GLOB_RECURSE internal_headers ${prefix}/include/*/internal/*)
if(internal_headers)
  message(FATAL_ERROR "internal headers were installed: ${internal_headers}")
endif()

run(${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${WORK_DIR}/build -G "${GENERATOR}"
    -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_BUILD_TYPE=Release ${toolchain})
run(${CMAKE_COMMAND} --build ${WORK_DIR}/build)
check_consumer(${WORK_DIR}/build/consumer)
