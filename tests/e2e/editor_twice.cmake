# Runs the editor twice on one script (the selector walked, turned, raised and
# tilted) and checks that both runs give the same picture.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(WRITE ${WORK}/walk.txt "1-3 UP\n5 RIGHT\n7-8 H\n9 PGUP\n11 PGDN\n12 PGDN\n")
foreach(run one two)
  execute_process(COMMAND ${KELVEDIT} --data ${DATA} --headless --frames 30 --frame-ms 50
                          --seed 1 --script ${WORK}/walk.txt --screenshot ${WORK}/${run}.png
                  RESULT_VARIABLE result ERROR_VARIABLE errors)
  if(NOT result EQUAL 0 OR NOT EXISTS ${WORK}/${run}.png)
    message(FATAL_ERROR "kelvedit failed (${result}): ${errors}")
  endif()
endforeach()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/one.png ${WORK}/two.png
                RESULT_VARIABLE differs)
if(NOT differs EQUAL 0)
  message(FATAL_ERROR "two runs of the same script gave different pictures")
endif()
file(REMOVE_RECURSE ${WORK})
