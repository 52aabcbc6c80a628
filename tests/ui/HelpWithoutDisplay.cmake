# obrenta --help and --version answer on a terminal with no display at all: nothing may need a
# platform plugin before they are read.
foreach(option --help --version)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
                          ${PROGRAM} ${option}
                  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc TIMEOUT 20)
  if(NOT rc EQUAL 0 OR NOT err STREQUAL "")
    message(FATAL_ERROR "obrenta ${option} exited with ${rc}: ${err}")
  endif()
  if(option STREQUAL "--help" AND NOT out MATCHES "^Usage: obrenta .*--version.*obrenta/Obrenta.ini")
    message(FATAL_ERROR "unexpected help:\n${out}")
  elseif(option STREQUAL "--version" AND NOT out MATCHES "^obrenta [0-9]")
    message(FATAL_ERROR "unexpected version:\n${out}")
  endif()
endforeach()
