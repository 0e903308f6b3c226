# One place for the warning flags, applied per target. QUON_WERROR turns every warning
# into an error; the test command builds with it.
option(QUON_WERROR "Treat compiler warnings as errors" OFF)

function(quon_set_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(QUON_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
