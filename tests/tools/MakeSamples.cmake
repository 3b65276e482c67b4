# cmake -P script: fills SAMPLES with the buffers that the example programs
# save (EXAMPLES, |-separated) and the files of WRITER, run through EMULATOR.
file(REMOVE_RECURSE ${SAMPLES})
file(MAKE_DIRECTORY ${SAMPLES})
string(REPLACE "|" ";" EXAMPLES "${EXAMPLES}")
foreach(program ${EXAMPLES} ${WRITER})
  execute_process(COMMAND ${EMULATOR} ${program} ${SAMPLES} RESULT_VARIABLE code OUTPUT_QUIET ERROR_VARIABLE err)
  if(NOT code EQUAL 0)
    message(FATAL_ERROR "${program} ${SAMPLES} exited with ${code}\n${err}")
  endif()
endforeach()
