# cmake -P script: bytes to JSON to bytes with norvext-dump.
#   TOOL, EMULATOR  the program (and what runs it, for a cross build)
#   SAMPLES, GLOB   folder of saved buffers and which of them (*.bin unless
#                   given); each is tried as every type of TYPES (|-separated)
#   CORPUS          folder of fuzz corpus folders (optional), one a type of
#                   TYPES, named after it; each input is tried as that type
#   WORK            scratch folder
#   CROSS           set in a cross build: the buffers are known to be read
#                   whole, and the plain dump that would check it is left out
# A buffer that a plain dump reads whole must give JSON (exit 0) that
# --encode turns back into the same bytes. When --json notes that the
# library writes the object otherwise, the bytes that --encode gives must
# instead give the same JSON again, without a note.
include(${CMAKE_CURRENT_LIST_DIR}/ToolSteps.cmake)
string(REPLACE "|" ";" TYPES "${TYPES}")

set(cases)
if(NOT GLOB)
  set(GLOB *.bin)
endif()
file(GLOB samples ${SAMPLES}/${GLOB})
foreach(sample ${samples})
  foreach(type ${TYPES})
    list(APPEND cases "${type}>${sample}")
  endforeach()
endforeach()
if(CORPUS)
  foreach(type ${TYPES})
    file(GLOB inputs ${CORPUS}/${type}/*)
    foreach(input ${inputs})
      list(APPEND cases "${type}>${input}")
    endforeach()
  endforeach()
endif()

file(MAKE_DIRECTORY ${WORK})
set(json ${WORK}/object.json)
set(again ${WORK}/again.bin)
set(problems)
set(canonical 0)
set(normalized 0)
foreach(case ${cases})
  string(REPLACE ">" ";" case "${case}")
  list(GET case 0 type)
  list(GET case 1 file)
  # The plain dump decides whether the buffer counts; a cross build skips it
  # (one process start is dear there) and is given only buffers that do.
  if(NOT CROSS)
    execute_process(COMMAND ${EMULATOR} ${TOOL} --type ${type} ${file} RESULT_VARIABLE code OUTPUT_QUIET ERROR_QUIET)
    if(NOT code EQUAL 0)
      continue()
    endif()
  endif()
  norv_tool(ok OUTPUT_FILE ${json} --json --type ${type} ${file})
  # Only the tool's note counts: an emulator may say things of its own.
  string(REGEX MATCH "norvext-dump: [^\n]*: note: [^\n]*" note "${err}")
  if(ok)
    norv_tool(ok OUTPUT_FILE ${again} --encode --type ${type} ${json})
  endif()
  if(NOT ok)
    continue()
  endif()
  if(note STREQUAL "")
    file(SHA256 ${file} before)
    file(SHA256 ${again} after)
    if(NOT before STREQUAL after)
      list(APPEND problems "${type} ${file}: --json then --encode gives other bytes")
    endif()
    math(EXPR canonical "${canonical} + 1")
  else()
    norv_tool(ok OUTPUT_VARIABLE second --json --type ${type} ${again})
    file(READ ${json} first)
    string(REGEX MATCH "norvext-dump: [^\n]*: note: [^\n]*" note "${err}")
    if(ok AND (NOT note STREQUAL "" OR NOT first STREQUAL second))
      list(APPEND problems "${type} ${file}: the bytes that --encode gives do not give the same JSON again: ${err}")
    endif()
    math(EXPR normalized "${normalized} + 1")
  endif()
endforeach()

message(STATUS "${canonical} buffers came back byte for byte; ${normalized} that the library writes otherwise gave the same JSON again")
norv_report("round trip failed")
if(canonical EQUAL 0)
  message(FATAL_ERROR "no buffer was read whole: nothing was checked")
endif()
