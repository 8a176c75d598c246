# cmake -DKELVEDIT=<program> -DDATA=<data set> -DWORK=<folder> -P editor_turn.cmake
# A sound playing beside the editor's selector follows the view: lava is put
# two cells to the selector's right, its loop starts (its sound lasts 4 s),
# then the selector turns half a turn while it plays. In the --record-audio
# capture the lava is louder on the right before the turn and on the left
# after it.
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/wave_window.cmake)

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
# The lava's loop is due every 3 s from the start: it starts near 3 s and
# again near 6 s; the turn (two quarter turns) comes at 3.5 s.
file(WRITE ${WORK}/script.txt "2 F ANSWER 9
2 F ANSWER 4
2 F ANSWER 9
2 F MENU New1
3 F SELECT ObjectCombo Lava
4 CTRL RIGHT
6 CTRL RIGHT
8 SPACE
10 CTRL LEFT
12 CTRL LEFT
70 RIGHT
72 RIGHT
")
execute_process(COMMAND ${KELVEDIT} --headless --data ${DATA} --frames 120 --frame-ms 50 --seed 1
    --script ${WORK}/script.txt --record-audio ${WORK}/turn.wav --dump-state ${WORK}/dump.txt
  RESULT_VARIABLE rc ERROR_VARIABLE err TIMEOUT 60)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "exit code ${rc}\n${err}")
endif()
file(STRINGS ${WORK}/dump.txt dump)
if(NOT "selectorTarget=2304,768,2304,16384" IN_LIST dump)
  message(FATAL_ERROR "the selector did not end half a turn round at its cell: ${dump}")
endif()

# Left and right loudness before the turn (3.0 to 3.4 s) and once it has
# settled (4.5 to 5.5 s), before the loop starts again.
foreach(window "before;3000;400" "after;4500;1000")
  list(GET window 0 name)
  list(GET window 1 first)
  list(GET window 2 length)
  wave_window_rms(${WORK}/turn.wav ${first} ${length} 1 left)
  wave_window_rms(${WORK}/turn.wav ${first} ${length} 2 right)
  message(STATUS "${name} the turn: left ${left}, right ${right} millionths")
  set(${name}_left ${left})
  set(${name}_right ${right})
endforeach()
# A clear side each time: the louder channel at least four times the other.
math(EXPR before_margin "${before_right} - 4 * ${before_left}")
math(EXPR after_margin "${after_left} - 4 * ${after_right}")
if(before_left EQUAL 0 OR after_right EQUAL 0 OR before_margin LESS 0 OR after_margin LESS 0)
  message(FATAL_ERROR "expected the lava on the right before the turn and on the left after it"
    " (millionths): before L ${before_left} R ${before_right}, after L ${after_left} R ${after_right}")
endif()
file(REMOVE_RECURSE ${WORK})
