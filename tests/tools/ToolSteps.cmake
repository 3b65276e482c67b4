# Included by the cmake -P scripts that run norvext-dump (TOOL, through
# EMULATOR in a cross build) step by step and collect what went wrong in
# `problems`.

# norv_tool(OK OUTPUT_FILE|OUTPUT_VARIABLE where ARG...): runs the tool with
# the ARGs, its standard output into `where`, its standard error into `err`.
# OK tells whether it exited with 0; when not, a line goes to `problems`.
macro(norv_tool ok how where)
  execute_process(COMMAND ${EMULATOR} ${TOOL} ${ARGN} RESULT_VARIABLE code ${how} ${where} ERROR_VARIABLE err)
  if(code EQUAL 0)
    set(${ok} TRUE)
  else()
    set(${ok} FALSE)
    list(APPEND problems "norvext-dump ${ARGN}: exit ${code}: ${err}")
  endif()
endmacro()

# Fails, headed by `what`, with every line of `problems`, if there is one.
function(norv_report what)
  if(problems)
    string(REPLACE ";" "\n  " lines "${problems}")
    message(FATAL_ERROR "${what}:\n  ${lines}")
  endif()
endfunction()
