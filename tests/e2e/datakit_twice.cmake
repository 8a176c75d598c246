# Runs the data kit into two fresh folders and compares them with each other
# and with the data set the build generated.
file(REMOVE_RECURSE ${WORK})
foreach(run one two)
  execute_process(COMMAND ${DATAKIT} ${WORK}/${run} ${SOURCES} RESULT_VARIABLE result
                  ERROR_VARIABLE errors)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "kelvane-datakit failed (${result}): ${errors}")
  endif()
endforeach()
foreach(other ${WORK}/two ${BUILT})
  execute_process(COMMAND diff -r ${WORK}/one ${other} RESULT_VARIABLE differs OUTPUT_VARIABLE listing)
  if(NOT differs EQUAL 0)
    message(FATAL_ERROR "data sets differ from ${WORK}/one:\n${listing}")
  endif()
endforeach()
file(REMOVE_RECURSE ${WORK})
