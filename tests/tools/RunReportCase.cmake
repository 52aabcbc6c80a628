# Runs obrenta-report --settings Obrenta.ini [arguments of the case's "args" file, one a line]
# inside CASE_DIR (through RUNNER, an emulator command joined by "|", when given) and compares standard output with CASE_DIR/expected.txt byte for byte.
set(args --settings Obrenta.ini)
if(EXISTS ${CASE_DIR}/args)
  file(STRINGS ${CASE_DIR}/args extra ENCODING UTF-8)
  list(APPEND args ${extra})
endif()
string(REPLACE "|" ";" RUNNER "${RUNNER}")
file(SHA256 ${CASE_DIR}/Obrenta.ini settings_before)
execute_process(COMMAND ${RUNNER} ${REPORT} ${args}
                WORKING_DIRECTORY ${CASE_DIR}
                OUTPUT_FILE ${OUT_FILE}
                ERROR_VARIABLE errors
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "obrenta-report exited with ${rc}: ${errors}")
endif()
file(SHA256 ${CASE_DIR}/Obrenta.ini settings_after)
if(NOT settings_before STREQUAL settings_after)
  message(FATAL_ERROR "obrenta-report changed ${CASE_DIR}/Obrenta.ini")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT_FILE} ${CASE_DIR}/expected.txt
                RESULT_VARIABLE differs)
if(differs)
  execute_process(COMMAND diff -u ${CASE_DIR}/expected.txt ${OUT_FILE})
  message(FATAL_ERROR "report differs from ${CASE_DIR}/expected.txt (output in ${OUT_FILE})")
endif()
