# Fails when a C++ file under src/, tests/, bench/ or fuzz/ differs from what the project's
# .clang-format makes of it, and names the files. Run with -DROOT=<the source tree>
# -DCLANG_FORMAT=<clang-format>.
file(GLOB_RECURSE files ${ROOT}/src/*.h ${ROOT}/src/*.cpp ${ROOT}/tests/*.h ${ROOT}/tests/*.cpp
     ${ROOT}/bench/*.h ${ROOT}/bench/*.cpp ${ROOT}/fuzz/*.h ${ROOT}/fuzz/*.cpp)
list(FILTER files EXCLUDE REGEX "/tests/data/")
if(NOT files)
  message(FATAL_ERROR "no source file was found under ${ROOT}")
endif()
execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror ${files}
                WORKING_DIRECTORY ${ROOT} RESULT_VARIABLE status ERROR_VARIABLE out)
if(NOT status EQUAL 0)
  string(REGEX MATCHALL "[^\n]*: error: code should be clang-formatted" faults "${out}")
  list(TRANSFORM faults REPLACE ":[0-9]+:[0-9]+: error: code should be clang-formatted" "")
  list(REMOVE_DUPLICATES faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "not formatted with .clang-format (run clang-format -i on them):\n  ${text}")
endif()
list(LENGTH files count)
message(STATUS "${count} files formatted as .clang-format says")
