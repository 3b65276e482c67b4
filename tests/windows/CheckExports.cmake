# cmake -P script: reads the export table of DLL with OBJDUMP and checks it.
execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE table RESULT_VARIABLE code)
if(NOT code EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} failed on ${DLL}")
endif()
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table.*" names "${table}")
if(NOT names)
  message(FATAL_ERROR "no export name table in ${DLL}")
endif()

# Every class exports its operations: its mangled name appears in exported
# symbols of its own members.
set(classes
  DBInfo DBField DBDatabase QueryDBInfo XBlastDBInfo
  DBTerm DBStringTerm DBRangeTerm DBBooleanTerm Summary DBQuery
  XBlastParams FastAParams Tarvik XBlastHit XBlast)
set(missing)
foreach(class ${classes})
  string(LENGTH ${class} length)
  if(NOT names MATCHES "_ZN4Norv${length}${class}[0-9A-Z]")
    list(APPEND missing ${class})
  endif()
endforeach()
# The matrix and its fill flag are exported data.
foreach(symbol _ZN4Norv6Tarvik9s_defaultE _ZN4Norv6Tarvik13s_initializedE)
  if(NOT names MATCHES "${symbol}")
    list(APPEND missing ${symbol})
  endif()
endforeach()
if(missing)
  message(FATAL_ERROR "not exported from ${DLL}: ${missing}")
endif()

# Helpers of the implementation stay inside.
if(names MATCHES "8internal")
  string(REGEX MATCHALL "[^ \n]*8internal[^ \n]*" leaked "${names}")
  message(FATAL_ERROR "internal helpers exported: ${leaked}")
endif()
message(STATUS "export table of ${DLL} checked")
