# cmake -P script: runs PROGRAM (through EMULATOR when given) and compares its
# standard output with the file GOLDEN byte for byte, line ends aside (a
# Windows program writes CR LF).
execute_process(COMMAND ${EMULATOR} ${PROGRAM} RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT code EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} exited with ${code}\n${err}")
endif()
string(REPLACE "\r\n" "\n" out "${out}")
file(READ ${GOLDEN} expected)
if(NOT out STREQUAL expected)
  get_filename_component(name ${GOLDEN} NAME)
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/${name}.actual "${out}")
  message(FATAL_ERROR "output differs from ${GOLDEN}; see ${CMAKE_CURRENT_BINARY_DIR}/${name}.actual")
endif()
