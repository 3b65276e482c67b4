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
execute_process(COMMAND ${EMULATOR} ${TOOL} --json --type ${TYPE} ${SAMPLE}
  RESULT_VARIABLE code OUTPUT_VARIABLE json ERROR_VARIABLE err)
if(NOT code EQUAL 0)
  message(FATAL_ERROR "--json --type ${TYPE} ${SAMPLE}: exit ${code}\n${err}")
endif()
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
set(problems)
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
  string(REPLACE ";" "\n  " problems "${problems}")
  message(FATAL_ERROR "norvext-dump --encode --type ${TYPE} ${file}\n  ${problems}\n--- standard error:\n${err}")
endif()
