# cmake -DKELVEDIT=<program> -DDATA=<data set> -DWORK=<folder> -P editor_view.cmake
# The editor's view and panels through a script: the object search and group
# lists choose lava, the view distance set to the whole level is kept for the
# next run, the warnings list names the start cell left over nothing, and a
# click on that warning brings the selector back to it.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/config)

function(edit name frames script)
  file(WRITE ${WORK}/${name}.txt "${script}")
  execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_CONFIG_HOME=${WORK}/config
      ${KELVEDIT} --headless --data ${DATA} --frames ${frames} --frame-ms 50 --seed 1
      --script ${WORK}/${name}.txt --dump-state ${WORK}/${name}-dump.txt
      --screenshot ${WORK}/${name}.png
    RESULT_VARIABLE rc ERROR_VARIABLE err TIMEOUT 60)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${name}: exit code ${rc}\n${err}")
  endif()
  file(STRINGS ${WORK}/${name}-dump.txt dump)
  set(dump "${dump}" PARENT_SCOPE)
endfunction()

function(expect line)
  if(NOT "${line}" IN_LIST dump)
    string(REPLACE ";" "\n" shown "${dump}")
    message(FATAL_ERROR "expected '${line}' in the dump:\n${shown}")
  endif()
endfunction()

# A 20 x 4 x 16 level: start (10, 1, 8). The floor under the start is
# deleted, lava put beside it, and the selector goes up two rows.
# Each edit waits for the selector to settle on its cell.
edit(first 90 "2 F ANSWER 20
2 F ANSWER 4
2 F ANSWER 16
2 F MENU New1
3 F SELECT ObjectGroup Hazards
4 F SELECT ObjectSearch LAV
5 F SELECT ObjectCombo Lava
6 B
30 DELETE
32 CTRL RIGHT
56 SPACE
58 H
60 H
62 H
64 F MENU ViewDistanceAll
")
expect("currentObjectName=Lava")
expect("objectGroup=Hazards")
expect("objectSearch=LAV")
expect("objectsListed=1")
expect("viewDistance=whole")
expect("viewCells=0,0,0,20,4,16")
expect("selectorCell=11,3,8")
expect("overviewLayer=3")
expect("warning1=The exit is not placed inside the level.")
expect("warning2=(10, 1, 8) The start point is over nothing.")
expect("warnings=2")
file(STRINGS ${WORK}/config/kelvane/kelvedit.ini kept REGEX "^Distance=")
if(NOT kept STREQUAL "Distance=0")
  message(FATAL_ERROR "the view distance was not kept: '${kept}'")
endif()

# The next run starts with the whole level in view; choosing the warning
# moves the selector to its cell, and the overview of that layer shows the
# lava beside the hole.
edit(second 80 "2 F ANSWER 20
2 F ANSWER 4
2 F ANSWER 16
2 F MENU New1
3 B
25 DELETE
26 CTRL RIGHT
27 F SELECT ObjectCombo Lava
50 SPACE
52 H
54 H
70 F SELECT WarningsList (10, 1, 8) The start point is over nothing.
")
expect("viewDistance=whole")
expect("selectorCell=10,1,8")
expect("overviewLayer=1")
expect("objectGroup=All objects")
expect("objectSearch=")
file(REMOVE_RECURSE ${WORK})
