# Runs quonfit once and checks what it did, byte for byte.
#   QUONFIT        the program
#   ARGS           its arguments, separated by "|"
#   EXPECTED_CODE  the exit status
#   EXPECTED_OUT   (optional) a file holding exactly the standard output expected
#   EXPECTED_ERR   (optional) a text the standard error must contain
#   COMPARE        (optional) pairs "written|expected|written|expected..." of files that
#                  must be equal
#   COPY           (optional) pairs "from|to|from|to..." of files copied before the run
#   STDOUT_FILE    (optional) where the standard output goes instead (/dev/full)
string(REPLACE "|" ";" args "${ARGS}")
if(DEFINED COPY)
  string(REPLACE "|" ";" copies "${COPY}")
  list(LENGTH copies count)
  math(EXPR last "${count} - 1")
  foreach(i RANGE 0 ${last} 2)
    math(EXPR j "${i} + 1")
    list(GET copies ${i} from)
    list(GET copies ${j} to)
    file(COPY_FILE "${from}" "${to}")
  endforeach()
endif()
if(DEFINED STDOUT_FILE)
  execute_process(COMMAND ${QUONFIT} ${args}
                  RESULT_VARIABLE code OUTPUT_FILE "${STDOUT_FILE}" ERROR_VARIABLE err)
else()
  execute_process(COMMAND ${QUONFIT} ${args}
                  RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
endif()
if(NOT code STREQUAL EXPECTED_CODE)
  message(FATAL_ERROR "exit status ${code}, expected ${EXPECTED_CODE}\nstderr: ${err}")
endif()
if(DEFINED EXPECTED_OUT)
  file(READ "${EXPECTED_OUT}" expected)
  if(NOT out STREQUAL expected)
    message(FATAL_ERROR "standard output differs from ${EXPECTED_OUT}:\n${out}")
  endif()
endif()
if(DEFINED EXPECTED_ERR)
  string(FIND "${err}" "${EXPECTED_ERR}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "standard error lacks \"${EXPECTED_ERR}\":\n${err}")
  endif()
endif()
if(DEFINED COMPARE)
  string(REPLACE "|" ";" pairs "${COMPARE}")
  list(LENGTH pairs count)
  math(EXPR last "${count} - 1")
  foreach(i RANGE 0 ${last} 2)
    math(EXPR j "${i} + 1")
    list(GET pairs ${i} written)
    list(GET pairs ${j} expected)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${written}" "${expected}"
                    RESULT_VARIABLE different)
    if(different)
      message(FATAL_ERROR "${written} differs from ${expected}")
    endif()
  endforeach()
endif()
