# Runs quonfit --suggest-terms once and matches its standard output, line by line, against
# a golden file whose lines are either the exact line or a pattern:
#   key: NAME=LOW..HIGH   a count from LOW to HIGH
#   key: < BOUND          a number below BOUND
#   key: *                any value
#   text...               a line that starts with text
# Then, with CHECK_OUT and CHECK_BELOW, checks the written pair at CHECK_POINTS points
# and wants its max_abs_diff below CHECK_BELOW.
#   QUONFIT, ARGS ("|"-separated), EXPECTED_CODE, GOLDEN, [CHECK_OUT CHECK_BELOW CHECK_POINTS]
string(REPLACE "|" ";" args "${ARGS}")
execute_process(COMMAND ${QUONFIT} ${args} RESULT_VARIABLE code OUTPUT_VARIABLE out
                ERROR_VARIABLE err)
if(NOT code STREQUAL EXPECTED_CODE)
  message(FATAL_ERROR "exit status ${code}, expected ${EXPECTED_CODE}\n${out}${err}")
endif()

# Semicolons would split the lines further; they match as themselves through "<semi>".
string(REPLACE ";" "<semi>" out "${out}")
string(REGEX REPLACE "\n$" "" out "${out}")
string(REPLACE "\n" ";" lines "${out}")
file(STRINGS "${GOLDEN}" patterns)
list(TRANSFORM patterns REPLACE ";" "<semi>")
list(LENGTH lines got)
list(LENGTH patterns wanted)
if(NOT got EQUAL wanted)
  message(FATAL_ERROR "${got} lines, expected ${wanted}:\n${out}")
endif()

function(fail line pattern)
  message(FATAL_ERROR "line \"${line}\" does not match \"${pattern}\"")
endfunction()

math(EXPR last "${got} - 1")
foreach(i RANGE ${last})
  list(GET lines ${i} line)
  list(GET patterns ${i} pattern)
  if(pattern MATCHES "^([a-z_]+: [A-Za-z0-9_]+=)([0-9]+)\\.\\.([0-9]+)$")
    set(low ${CMAKE_MATCH_2})
    set(high ${CMAKE_MATCH_3})
    string(LENGTH "${CMAKE_MATCH_1}" prefix)
    string(SUBSTRING "${line}" 0 ${prefix} head)
    string(SUBSTRING "${line}" ${prefix} -1 count)
    if(NOT head STREQUAL CMAKE_MATCH_1 OR count LESS low OR count GREATER high)
      fail("${line}" "${pattern}")
    endif()
  elseif(pattern MATCHES "^([a-z_]+): < (.+)$")
    set(bound ${CMAKE_MATCH_2})
    if(NOT line MATCHES "^${CMAKE_MATCH_1}: (.+)$" OR NOT CMAKE_MATCH_1 LESS bound)
      fail("${line}" "${pattern}")
    endif()
  elseif(pattern MATCHES "^([a-z_]+): \\*$")
    if(NOT line MATCHES "^${CMAKE_MATCH_1}: ")
      fail("${line}" "${pattern}")
    endif()
  elseif(pattern MATCHES "^(.*)\\.\\.\\.$")
    string(FIND "${line}" "${CMAKE_MATCH_1}" at)
    if(NOT at EQUAL 0)
      fail("${line}" "${pattern}")
    endif()
  elseif(NOT line STREQUAL pattern)
    fail("${line}" "${pattern}")
  endif()
endforeach()

if(DEFINED CHECK_OUT)
  execute_process(COMMAND ${QUONFIT} ${CHECK_OUT} --check --check-points ${CHECK_POINTS}
                          --check-per-interval 1000
                  RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT code EQUAL 0 OR NOT out MATCHES "max_abs_diff: ([^\n]+)")
    message(FATAL_ERROR "the check of ${CHECK_OUT} failed: ${out}${err}")
  endif()
  if(NOT CMAKE_MATCH_1 LESS CHECK_BELOW)
    message(FATAL_ERROR "checked at ${CHECK_POINTS} points: max_abs_diff ${CMAKE_MATCH_1}")
  endif()
endif()
