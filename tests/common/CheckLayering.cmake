cmake_minimum_required(VERSION 3.16)
# Keeps the layers apart: the visitor frame (norvext/common/*.h) includes
# only itself; the stand-ins (interfaces/) include of NorvExt only the frame.
# No class of either keeps a mutable member: a const call changes nothing,
# so const objects can be read from several threads.
# Usage: cmake -DSOURCE_DIR=<tree> -P CheckLayering.cmake
set(failures 0)
file(GLOB frame RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/norvext/common/*.h)

# check_includes(FILES...): each #include <norvext/...> must name a frame header.
function(check_includes)
  foreach(file IN LISTS ARGN)
    file(STRINGS ${SOURCE_DIR}/${file} lines REGEX "^#include <norvext/")
    foreach(line IN LISTS lines)
      string(REGEX MATCH "<([^>]+)>" _ "${line}")
      if(NOT CMAKE_MATCH_1 IN_LIST frame)
        message(SEND_ERROR "${file} includes ${CMAKE_MATCH_1}, which is not a header of the visitor frame")
        math(EXPR failures "${failures} + 1")
      endif()
    endforeach()
  endforeach()
  set(failures ${failures} PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE stand_ins RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/interfaces/*.h ${SOURCE_DIR}/interfaces/*.cpp)
check_includes(${frame} ${stand_ins})

file(GLOB_RECURSE library RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/norvext/*.h ${SOURCE_DIR}/norvext/*.cpp)
foreach(file IN LISTS library stand_ins)
  file(STRINGS ${SOURCE_DIR}/${file} lines REGEX "(^|[ \t(,])mutable[ \t]")
  foreach(line IN LISTS lines)
    if(NOT line MATCHES "^[ \t]*//")
      message(SEND_ERROR "${file} has a mutable member: ${line}")
      math(EXPR failures "${failures} + 1")
    endif()
  endforeach()
endforeach()

list(LENGTH stand_ins count)
if(count EQUAL 0 OR NOT frame)
  message(FATAL_ERROR "no sources found under ${SOURCE_DIR}")
endif()
message(STATUS "layering: ${count} stand-in files checked, ${failures} wrong")
