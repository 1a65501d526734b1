# Runs PROGRAM with INPUT on stdin; its stdout must equal EXPECTED byte for byte and its exit
# status must be 0. The output goes through a file: a CMake string cannot hold a NUL byte.
# WRAPPER, if set, is a command the program runs under (valgrind, wine). With IGNORE_EOL, a
# CR LF in the output counts as a line feed.
# A command-line case has beside its .in file a .args file (the arguments, one a line), and
# may have a .err file (stderr, byte for byte; EXPECTED_ERR names another) and a .status file
# (the exit status, if not 0).
# It runs in the folder of its .in file, so that file arguments name the files there.
# JOBS, if set, runs it with --jobs JOBS.
get_filename_component(dir ${ACTUAL} DIRECTORY)
file(MAKE_DIRECTORY ${dir})
get_filename_component(case_dir ${INPUT} DIRECTORY)
string(REGEX REPLACE "([.]crlf)?[.]in$" "" case ${INPUT})
set(arguments)
if(EXISTS ${case}.args)
  file(STRINGS ${case}.args arguments)
endif()
if(DEFINED JOBS)
  # after the command, where there is one: options belong to it
  list(LENGTH arguments count)
  if(count GREATER 0)
    list(INSERT arguments 1 --jobs ${JOBS})
  else()
    list(PREPEND arguments --jobs ${JOBS})
  endif()
endif()
set(expected_status 0)
if(EXISTS ${case}.status)
  file(STRINGS ${case}.status expected_status)
endif()
separate_arguments(wrapper UNIX_COMMAND "${WRAPPER}")
execute_process(COMMAND ${wrapper} ${PROGRAM} ${arguments}
  INPUT_FILE ${INPUT} OUTPUT_FILE ${ACTUAL} ERROR_FILE ${ACTUAL}.err
  WORKING_DIRECTORY ${case_dir}
  RESULT_VARIABLE status TIMEOUT 120)
if(NOT status STREQUAL expected_status)
  file(READ ${ACTUAL}.err errors)
  message(FATAL_ERROR "exit status ${status}, expected ${expected_status}\n${errors}")
endif()
if(IGNORE_EOL)
  set(ignore_eol --ignore-eol)
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${ignore_eol} ${EXPECTED} ${ACTUAL}
  RESULT_VARIABLE differ)
if(differ)
  message(FATAL_ERROR "output differs: diff ${EXPECTED} ${ACTUAL}")
endif()
if(NOT DEFINED EXPECTED_ERR AND EXISTS ${case}.err)
  set(EXPECTED_ERR ${case}.err)
endif()
if(DEFINED EXPECTED_ERR)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${ignore_eol} ${EXPECTED_ERR}
                          ${ACTUAL}.err RESULT_VARIABLE differ)
  if(differ)
    message(FATAL_ERROR "standard error differs: diff ${EXPECTED_ERR} ${ACTUAL}.err")
  endif()
endif()
