# Runs the trace driver on SCRIPT and compares its output with the file beside it that ends
# in .expected. Set UPDATE=1 to rewrite the expected file instead.
get_filename_component(dir ${SCRIPT} DIRECTORY)
get_filename_component(name ${SCRIPT} NAME_WE)
set(expected_file ${dir}/${name}.expected)
execute_process(COMMAND ${TRACE} INPUT_FILE ${SCRIPT} OUTPUT_VARIABLE actual
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
