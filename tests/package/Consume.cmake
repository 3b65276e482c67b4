# Functions of the cmake -P scripts of this folder.

# run(COMMAND...): fails, with the output, unless the command succeeds; its
# standard output is then in last_output.
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT code EQUAL 0)
    message(FATAL_ERROR "failed: ${ARGN}\n${out}\n${err}")
  endif()
  set(last_output "${out}" PARENT_SCOPE)
endfunction()

# check_consumer(COMMAND...): runs a consumer built from consumer/, which
# prints what the libraries computed (CR LF folded, for Windows).
function(check_consumer)
  run(${ARGN})
  string(REPLACE "\r\n" "\n" out "${last_output}")
  if(NOT out STREQUAL "consumer: 42 W/W=11 json=same\n")
    message(FATAL_ERROR "unexpected output of ${ARGN}: '${out}'")
  endif()
endfunction()

# check_dump_types(COMMAND...): runs norvext-dump --list-types.
function(check_dump_types)
  run(${ARGN} --list-types)
  if(NOT last_output MATCHES "^DBField ")
    message(FATAL_ERROR "unexpected output of ${ARGN} --list-types: '${last_output}'")
  endif()
endfunction()
