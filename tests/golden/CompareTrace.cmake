# Runs the trace driver on SCRIPT and compares its output with the file beside it that ends
# in .expected. With PREFIX set, that line runs first (a lab setting that must change nothing).
# Set UPDATE=1 to rewrite the expected file instead.
get_filename_component(dir ${SCRIPT} DIRECTORY)
get_filename_component(name ${SCRIPT} NAME_WE)
set(expected_file ${dir}/${name}.expected)
set(input ${SCRIPT})
if(PREFIX)
  file(READ ${SCRIPT} body)
  string(MAKE_C_IDENTIFIER "${PREFIX}" suffix)
  set(input ${CMAKE_CURRENT_BINARY_DIR}/${name}.${suffix}.script)
  file(WRITE ${input} "${PREFIX}\n${body}")
endif()
execute_process(COMMAND ${TRACE} INPUT_FILE ${input} OUTPUT_VARIABLE actual
                ERROR_VARIABLE errors RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT errors STREQUAL "")
  message(FATAL_ERROR "servo-trace failed (${status}): ${errors}")
endif()
if(UPDATE)
  file(WRITE ${expected_file} "${actual}")
  return()
endif()
file(READ ${expected_file} expected)
if(NOT actual STREQUAL expected)
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/${name}.actual "${actual}")
  message(FATAL_ERROR "output differs from ${expected_file}; actual output in "
                      "${CMAKE_CURRENT_BINARY_DIR}/${name}.actual")
endif()
