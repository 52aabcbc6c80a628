# Runs obrenta-report --settings Obrenta.ini [arguments of the case's "args" file, one a line]
# inside CASE_DIR (through RUNNER, an emulator command joined by "|", when given) and compares standard output with CASE_DIR/expected.txt byte for byte
# (or with the expected.txt of the case its "same-as" file names).
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
# A case whose "same-as" file names another case must print that case's report.
set(expected ${CASE_DIR}/expected.txt)
if(EXISTS ${CASE_DIR}/same-as)
  file(STRINGS ${CASE_DIR}/same-as other LIMIT_COUNT 1)
  set(expected ${CASE_DIR}/../${other}/expected.txt)
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT_FILE} ${expected}
                RESULT_VARIABLE differs)
if(differs)
  execute_process(COMMAND diff -u ${expected} ${OUT_FILE})
  message(FATAL_ERROR "report differs from ${expected} (output in ${OUT_FILE})")
endif()
