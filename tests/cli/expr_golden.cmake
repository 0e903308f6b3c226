# Runs quonfit --expr on the expressions of a golden file and compares its output with
# the file's expected lines.
#
# Golden file: a line "> EXPRESSION" is one input line; the lines after it, up to the
# next "> " line, are what quonfit prints for it. "exec: STATEMENT" lines become --exec
# options, "status: N" the expected exit status (0 when absent); "#" starts a comment.
# Called as: cmake -DQUONFIT=... -DGOLDEN=... -DWORK=... -P expr_golden.cmake
file(STRINGS "${GOLDEN}" lines ENCODING UTF-8)
set(input "")
set(expected "")
set(execs "")
set(status 0)
foreach(line IN LISTS lines)
  if(line MATCHES "^#")
    continue()
  elseif(line MATCHES "^> (.*)$")
    string(APPEND input "${CMAKE_MATCH_1}\n")
  elseif(line MATCHES "^exec: (.*)$")
    list(APPEND execs --exec "${CMAKE_MATCH_1}")
  elseif(line MATCHES "^status: ([0-9]+)$")
    set(status "${CMAKE_MATCH_1}")
  else()
    string(APPEND expected "${line}\n")
  endif()
endforeach()

get_filename_component(name "${GOLDEN}" NAME_WE)
set(input_file "${WORK}/${name}.input")
file(WRITE "${input_file}" "${input}")
execute_process(COMMAND "${QUONFIT}" --expr ${execs}
                INPUT_FILE "${input_file}"
                OUTPUT_VARIABLE output
                ERROR_VARIABLE errors
                RESULT_VARIABLE result)
if(NOT result EQUAL status)
  message(FATAL_ERROR "quonfit exited with ${result}, expected ${status}: ${errors}")
endif()
if(NOT output STREQUAL expected)
  file(WRITE "${WORK}/${name}.actual" "${output}")
  message(FATAL_ERROR "quonfit --expr output differs from ${GOLDEN}; "
                      "got (also in ${WORK}/${name}.actual):\n${output}")
endif()
