# Installs the build folder BUILD into the fresh prefix PREFIX and checks the tree.
# GUI says whether the desktop program was built; PROBE is the help lookup probe and
# VALIDATE desktop-file-validate.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
                RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE error)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${error}")
endif()

set(expected bin/quonfit share/quon/quon.hlp share/man/man1/quonfit.1 share/doc/quon/copyright)
if(GUI)
  list(APPEND expected bin/quon share/applications/quon.desktop
       share/icons/hicolor/scalable/apps/quon.svg)
endif()
foreach(file IN LISTS expected)
  if(NOT EXISTS ${PREFIX}/${file})
    message(FATAL_ERROR "the installed tree lacks ${file}")
  endif()
endforeach()
file(READ ${PREFIX}/share/man/man1/quonfit.1 man)
if(NOT man MATCHES "\\.TH QUONFIT" OR NOT man MATCHES "quonfit FILE")
  message(FATAL_ERROR "the man page is not quonfit's usage")
endif()

if(GUI)
  execute_process(COMMAND ${VALIDATE} ${PREFIX}/share/applications/quon.desktop
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "the desktop entry does not validate: ${out}")
  endif()
endif()

execute_process(COMMAND ${PREFIX}/bin/quonfit --help RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the installed quonfit --help failed (${status})")
endif()

# Started from a folder without a help file, the installed program finds the installed one.
execute_process(COMMAND ${PROBE} ${PREFIX}/bin WORKING_DIRECTORY ${PREFIX}
                RESULT_VARIABLE status OUTPUT_VARIABLE found ERROR_VARIABLE error
                OUTPUT_STRIP_TRAILING_WHITESPACE)
file(REAL_PATH ${PREFIX}/share/quon/quon.hlp installed)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the help lookup found nothing: ${error}")
endif()
file(REAL_PATH ${found} found)
if(NOT found STREQUAL installed)
  message(FATAL_ERROR "the help lookup found ${found}, not ${installed}")
endif()
