# Runs PROGRAM with INPUT on stdin; its stdout must equal EXPECTED byte for byte and its exit
# status must be 0. The output goes through a file: a CMake string cannot hold a NUL byte.
# WRAPPER, if set, is a command the program runs under (valgrind, wine). With IGNORE_EOL, a
# CR LF in the output counts as a line feed.
get_filename_component(dir ${ACTUAL} DIRECTORY)
file(MAKE_DIRECTORY ${dir})
separate_arguments(wrapper UNIX_COMMAND "${WRAPPER}")
execute_process(COMMAND ${wrapper} ${PROGRAM}
  INPUT_FILE ${INPUT} OUTPUT_FILE ${ACTUAL}
  RESULT_VARIABLE status TIMEOUT 120)
if(NOT status STREQUAL "0")
  message(FATAL_ERROR "exit status ${status}, expected 0")
endif()
if(IGNORE_EOL)
  set(ignore_eol --ignore-eol)
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${ignore_eol} ${EXPECTED} ${ACTUAL}
  RESULT_VARIABLE differ)
if(differ)
  message(FATAL_ERROR "output differs: diff ${EXPECTED} ${ACTUAL}")
endif()
