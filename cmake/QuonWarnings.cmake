# One place for the warning flags, applied per target. QUON_WERROR turns every warning
# into an error; the test command builds with it.
option(QUON_WERROR "Treat compiler warnings as errors" OFF)

function(quon_set_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  # GCC 12 reports overlaps that cannot happen inside libstdc++'s own string concatenation
  # once it is inlined at -O2 and above (GCC bugs 105329 and 105651, fixed in later releases): any
  # "text" + std::string may trigger it. Those reports say nothing about our code.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
  if(QUON_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
