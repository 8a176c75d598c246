# Every kind of door, and each circuit's lever, stays in its own look once
# worked: winning levels 5 and 11 from their routes leaves each door and
# lever cell as its own kind's open or pulled type (Standard.bnk 30..39, 70..77).
# -DSIM=program -DDATA=data folder -DSOURCES=data/levels -DWORK=folder
file(MAKE_DIRECTORY ${WORK})

function(win_and_expect level source)
  execute_process(
    COMMAND ${SIM} --data ${DATA} --level LEVEL/${level} --route ${SOURCES}/${source}
            --until won --frame-ms 50 --dump-state ${WORK}/${source}.dump
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${level} was not won (exit ${result}):\n${out}${err}")
  endif()
  file(STRINGS ${WORK}/${source}.dump changed REGEX "^grid\\.changed=")
  foreach(cell ${ARGN})
    string(FIND "${changed} " " ${cell} " at)
    string(FIND "${changed}" "=${cell} " first)
    if(at EQUAL -1 AND first EQUAL -1)
      message(FATAL_ERROR "${level}: expected ${cell} in ${changed}")
    endif()
  endforeach()
endfunction()

# Level 5: the first circuit's lever and door, the second circuit's.
win_and_expect(05-LeversAndDoors.lev 05-levers-and-doors.txt
  2,1,4:30>32 4,1,6:33>37 7,1,9:38>71 10,1,6:39>77)
# Level 11: the first circuit, the sensor door and the ingot door.
win_and_expect(11-TheVault.lev 11-the-vault.txt
  3,1,3:30>32 7,1,3:33>37 11,1,7:35>75 2,1,10:34>73)
