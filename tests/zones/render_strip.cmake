# Renders the reference strip with the etalon tool and compares it with the
# committed file.
execute_process(COMMAND ${TOOL} ${FONT} ${OUT} RESULT_VARIABLE rendered)
if(NOT rendered EQUAL 0)
  message(FATAL_ERROR "etalon failed: ${rendered}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT} ${EXPECTED} RESULT_VARIABLE differs)
if(NOT differs EQUAL 0)
  message(FATAL_ERROR "${OUT} differs from ${EXPECTED}")
endif()
