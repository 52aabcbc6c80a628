# The failure paths of obrenta-report: exit status 2 with a message naming the path, and --help.
# REPORT runs through RUNNER (an emulator command joined by "|") when given.
string(REPLACE "|" ";" RUNNER "${RUNNER}")
function(expect_failure description expected_text)
  # A report that waits on a FIFO or reads /dev/zero must fail here, not hang the run.
  execute_process(COMMAND ${RUNNER} ${REPORT} ${ARGN} WORKING_DIRECTORY ${DATA_DIR} TIMEOUT 20
                  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
  if(NOT rc EQUAL 2)
    message(FATAL_ERROR "${description}: exit status ${rc}, expected 2")
  endif()
  string(FIND "${err}" "${expected_text}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${description}: standard error lacks \"${expected_text}\": ${err}")
  endif()
  if(NOT out STREQUAL "")
    message(FATAL_ERROR "${description}: printed a report")
  endif()
endfunction()

expect_failure("missing settings" "no-such-dir/Obrenta.ini" --settings no-such-dir/Obrenta.ini)
expect_failure("settings is a directory" "settings file mixed" --settings mixed)
expect_failure("missing log named by the settings" "missing-log.txt" --settings idoverride/Obrenta.ini)
expect_failure("missing --log" "nowhere.txt" --settings mixed/Obrenta.ini --log nowhere.txt)
# Of several logs, the one that can't be read is named, though the others can.
expect_failure("missing second --log" "cannot read score log nowhere.txt: " --settings mixed/Obrenta.ini
               --log mixed/mjscore.txt --log nowhere.txt)
# Files that are no regular files are refused before they are opened for reading, at once.
if(WINDOWS)
  # No FIFOs and no /dev: the null device stands for them.
  expect_failure("--log is NUL" "NUL: not a regular file" --settings mixed/Obrenta.ini --log NUL)
  expect_failure("settings is NUL" "settings file NUL: not a regular file" --settings NUL)
else()
  set(fifo ${WORK_DIR}/report-errors.fifo)
  file(REMOVE ${fifo})
  execute_process(COMMAND mkfifo ${fifo} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "mkfifo ${fifo} failed: ${rc}")
  endif()
  expect_failure("--log is a FIFO" "${fifo}: not a regular file" --settings mixed/Obrenta.ini --log ${fifo})
  expect_failure("--log is /dev/zero" "/dev/zero: not a regular file" --settings mixed/Obrenta.ini --log /dev/zero)
  expect_failure("settings is a FIFO" "settings file ${fifo}: not a regular file" --settings ${fifo})
  expect_failure("settings is /dev/zero" "settings file /dev/zero: not a regular file" --settings /dev/zero)
  file(REMOVE ${fifo})
endif()
expect_failure("no --settings" "--settings is required" --log mixed/mjscore.txt)
expect_failure("option without value" "--id needs a value" --settings mixed/Obrenta.ini --id)
expect_failure("unknown option" "unknown option --bogus" --bogus)
expect_failure("no game at that minute" "no game of the score log starts at 2024/06/01 10:01"
               --settings games/Obrenta.ini --game "2024/06/01 10:01")
expect_failure("--game of another form" "is not of the form YYYY/MM/DD HH:MM"
               --settings games/Obrenta.ini --game "2024/6/1 10:00")
expect_failure("--game with --csv" "exclude each other" --settings games/Obrenta.ini --csv RankTable --game x)
expect_failure("--values alone" "--values needs --csv" --settings games/Obrenta.ini --values)

execute_process(COMMAND ${RUNNER} ${REPORT} --help OUTPUT_VARIABLE out RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT out MATCHES "Usage: obrenta-report --settings PATH")
  message(FATAL_ERROR "--help: exit status ${rc}, output ${out}")
endif()
