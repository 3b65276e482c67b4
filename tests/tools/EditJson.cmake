# cmake -P script: a bad JSON document for norvext-dump --encode, made from
# the tool's own JSON of a good buffer.
#   TOOL, EMULATOR  the program (and what runs it, for a cross build)
#   TYPE, SAMPLE    the class and the buffer whose JSON is edited
#   FROM, TO        the edit: FROM must occur exactly once; an empty FROM
#                   stands for the whole document; @LB@ and @RB@ stand for
#                   [ and ]
#   WORK            where the edited document is written, as NAME.json
#   NAME            the case's name
#   STDERR          what --encode must say on standard error after
#                   "norvext-dump: <file>: ", exactly (one line)
#   STDERR_HAS      or a regular expression that that must match
# --encode must exit with 1 and write nothing to standard output.
include(${CMAKE_CURRENT_LIST_DIR}/ToolSteps.cmake)
set(problems)
norv_tool(ok OUTPUT_VARIABLE json --json --type ${TYPE} ${SAMPLE})
norv_report("the JSON to edit")
foreach(edit FROM TO)
  string(REPLACE "@LB@" "[" ${edit} "${${edit}}")
  string(REPLACE "@RB@" "]" ${edit} "${${edit}}")
endforeach()
if(FROM STREQUAL "")
  set(json "${TO}")
else()
  string(FIND "${json}" "${FROM}" first)
  string(FIND "${json}" "${FROM}" last REVERSE)
  if(first EQUAL -1 OR NOT first EQUAL last)
    message(FATAL_ERROR "'${FROM}' does not occur exactly once in\n${json}")
  endif()
  string(REPLACE "${FROM}" "${TO}" json "${json}")
endif()
set(file ${WORK}/${NAME}.json)
file(WRITE ${file} "${json}")

execute_process(COMMAND ${EMULATOR} ${TOOL} --encode --type ${TYPE} ${file}
  RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
string(REPLACE "\r\n" "\n" err "${err}")
if(NOT code EQUAL 1)
  list(APPEND problems "exit status ${code}, expected 1")
endif()
if(NOT out STREQUAL "")
  list(APPEND problems "standard output is not empty")
endif()
set(prefix "norvext-dump: ${file}: ")
if(DEFINED STDERR AND NOT err STREQUAL "${prefix}${STDERR}\n")
  list(APPEND problems "standard error is not\n${prefix}${STDERR}")
endif()
if(DEFINED STDERR_HAS AND NOT err MATCHES "^${prefix}${STDERR_HAS}")
  list(APPEND problems "standard error does not match '${prefix}${STDERR_HAS}'")
endif()
if(problems)
  list(APPEND problems "standard error:\n${err}")
endif()
norv_report("norvext-dump --encode --type ${TYPE} ${file}")
