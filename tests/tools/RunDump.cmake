# cmake -P script: runs norvext-dump once and checks what it did.
#   TOOL, EMULATOR      the program (and what runs it, for a cross build)
#   ARGS                its arguments, separated by |; @DIR@ stands for SAMPLES
#   INPUT               a file for its standard input (optional)
#   CODE                the exit status expected
#   STDOUT_FILE         standard output must equal this file, or
#   STDOUT_IN, INDENT   standard output, each line indented by INDENT levels,
#                       must appear in this file as one stretch of text
#   STDOUT_HAS          regular expressions (|-separated) it must match
#   STDERR_LINES        standard error, exactly: lines separated by |
#   STDERR_HAS          a regular expression that standard error must match
foreach(var ARGS STDERR_LINES STDOUT_HAS)
  if(DEFINED ${var})
    string(REPLACE "@DIR@" "${SAMPLES}" ${var} "${${var}}")
    string(REPLACE "|" ";" ${var} "${${var}}")
  endif()
endforeach()

set(input_option)
if(INPUT)
  set(input_option INPUT_FILE ${INPUT})
endif()
execute_process(COMMAND ${EMULATOR} ${TOOL} ${ARGS} ${input_option}
  RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
string(REPLACE "\r\n" "\n" out "${out}")
string(REPLACE "\r\n" "\n" err "${err}")

set(problems)
if(NOT code STREQUAL CODE)
  list(APPEND problems "exit status ${code}, expected ${CODE}")
endif()
if(STDOUT_FILE)
  file(READ ${STDOUT_FILE} expected)
  if(NOT out STREQUAL expected)
    list(APPEND problems "standard output differs from ${STDOUT_FILE}")
  endif()
endif()
if(STDOUT_IN)
  set(shifted "${out}")
  if(INDENT GREATER 0)
    string(REPEAT "  " ${INDENT} pad)
    string(REGEX REPLACE "([^\n]*\n)" "${pad}\\1" shifted "${out}")
  endif()
  file(READ ${STDOUT_IN} within)
  string(FIND "${within}" "${shifted}" at)
  if(at EQUAL -1 OR out STREQUAL "")
    list(APPEND problems "standard output (indented ${INDENT} levels) is not part of ${STDOUT_IN}")
  endif()
endif()
foreach(pattern ${STDOUT_HAS})
  if(NOT out MATCHES "${pattern}")
    list(APPEND problems "standard output does not match '${pattern}'")
  endif()
endforeach()
if(DEFINED STDERR_LINES)
  string(REPLACE ";" "\n" expected "${STDERR_LINES}")
  if(NOT err STREQUAL "${expected}\n")
    list(APPEND problems "standard error is not\n${expected}")
  endif()
endif()
if(STDERR_HAS AND NOT err MATCHES "${STDERR_HAS}")
  list(APPEND problems "standard error does not match '${STDERR_HAS}'")
endif()

if(problems)
  string(REPLACE ";" "\n  " problems "${problems}")
  message(FATAL_ERROR "norvext-dump ${ARGS}\n  ${problems}\n--- standard output:\n${out}--- standard error:\n${err}")
endif()
