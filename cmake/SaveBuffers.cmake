# cmake -P script: runs each program of EXAMPLES (|-separated, through
# EMULATOR when given) with the folder SAMPLES, into which the example
# programs save their buffers. Their standard output is not shown. The
# folder is emptied first.
file(REMOVE_RECURSE ${SAMPLES})
file(MAKE_DIRECTORY ${SAMPLES})
string(REPLACE "|" ";" EXAMPLES "${EXAMPLES}")
foreach(program ${EXAMPLES})
  execute_process(COMMAND ${EMULATOR} ${program} ${SAMPLES} RESULT_VARIABLE code OUTPUT_QUIET ERROR_VARIABLE err)
  if(NOT code EQUAL 0)
    message(FATAL_ERROR "${program} ${SAMPLES} exited with ${code}\n${err}")
  endif()
endforeach()
file(GLOB saved RELATIVE ${SAMPLES} ${SAMPLES}/*)
list(SORT saved)
string(REPLACE ";" " " saved "${saved}")
message(STATUS "Saved in ${SAMPLES}: ${saved}")
