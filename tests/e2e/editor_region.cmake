# cmake -DKELVEDIT=<program> -DKELVANE=<game> -DLEVELTOOL=<kelvane-level> -DDATA=<data set>
#       -DWORK=<folder> -P editor_region.cmake
# The region tools and the level's kind, scripted through the editor's keys
# and menus: a 3 x 1 x 2 box of ramps spanned with Shift and filled, copied
# and pasted elsewhere doubles the ramps, Undo takes the paste away, and the
# clipboard turned a quarter with R pastes ramps facing the turned way; a
# mouse drag over the view spans a box. Then
# an indoor level with its seed set in Options, Level is saved with the
# outdoor flag off and plays in the game.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

include(${CMAKE_CURRENT_LIST_DIR}/editor_steps.cmake)

function(expect_no_line text line)
  string(FIND "${text}" "${line}" at)
  if(NOT at EQUAL -1)
    message(FATAL_ERROR "unexpected '${line}' in:\n${text}")
  endif()
endfunction()

# The selector starts at (4, 1, 4) looking along +z; Ctrl+Right steps +x.
# Ramps up to the east are type 42, up to the south type 45: a quarter turn
# to the right turns east into south.
file(WRITE ${WORK}/region.txt "2 F ANSWER 8
2 F ANSWER 4
2 F ANSWER 8
2 F MENU New1
3 F SELECT ObjectCombo Ramp up to the east
4 SHIFT UP
6 SHIFT CTRL RIGHT
8 SHIFT CTRL RIGHT
10 SPACE
12 CTRL C
14-16 DOWN
18-22 CTRL LEFT
24 CTRL V
26 F FILE ${WORK}/pasted.lev
26 F MENU Saveas1
28 F MENU Undo1
29 F FILE ${WORK}/undone.lev
29 F MENU Saveas1
30 R
32 CTRL V
34 F FILE ${WORK}/turned.lev
34 F MENU Saveas1
")
# Stopped after the copy: the box is still selected, and drawn.
run(${KELVEDIT} --headless --data ${DATA} --frames 13 --frame-ms 50 --seed 1
    --script ${WORK}/region.txt --screenshot ${WORK}/box.png --dump-state ${WORK}/box.txt)
file(READ ${WORK}/box.txt dump)
expect_lines("${dump}" "selectionBox=4,1,4,6,1,5" "clipboardSize=3,1,2" "clipboardFilledCells=6")

run(${KELVEDIT} --headless --data ${DATA} --frames 36 --frame-ms 50 --seed 1
    --script ${WORK}/region.txt --dump-state ${WORK}/region_dump.txt)
file(READ ${WORK}/region_dump.txt dump)
expect_lines("${dump}" "selectionBox=" "clipboardSize=2,1,3" "selectorCell=1,1,2"
  "lastMessage=Copied 3 x 1 x 2 cells.")
run(${LEVELTOOL} info ${WORK}/pasted.lev)
expect_lines("${output}" "cellsOfType42=12")
run(${LEVELTOOL} info ${WORK}/undone.lev)
expect_lines("${output}" "cellsOfType42=6")
expect_no_line("${output}" "cellsOfType45=")
run(${LEVELTOOL} info ${WORK}/turned.lev)
expect_lines("${output}" "cellsOfType42=6" "cellsOfType45=6")

# A drag with the left button over the level view, seen from above, spans a
# box on the selector's layer; the selector stays where it was.
file(WRITE ${WORK}/drag.txt "2 F ANSWER 10
2 F ANSWER 4
2 F ANSWER 10
2 F MENU New1
4 SUBTRACT
6 SUBTRACT
8 PGUP
40 F MOUSE 150 200 LEFT
42 F MOUSE 250 320 LEFT
44 F MOUSE 250 320
")
run(${KELVEDIT} --headless --data ${DATA} --frames 46 --frame-ms 50 --seed 1
    --script ${WORK}/drag.txt --dump-state ${WORK}/drag_dump.txt)
file(READ ${WORK}/drag_dump.txt dump)
expect_lines("${dump}" "selectorCell=5,1,5")
string(REGEX MATCH "selectionBox=([0-9]+),1,([0-9]+),([0-9]+),1,([0-9]+)\n" box "${dump}")
if(NOT box OR CMAKE_MATCH_1 EQUAL CMAKE_MATCH_3 OR CMAKE_MATCH_2 EQUAL CMAKE_MATCH_4)
  message(FATAL_ERROR "the drag spanned no box of several cells on layer 1:\n${dump}")
endif()

# An indoor level: New indoor, its seed set with Options, Level.
file(WRITE ${WORK}/indoor.txt "2 F ANSWER 6
2 F ANSWER 4
2 F ANSWER 6
2 F MENU NewIndoor1
3 F ANSWER Indoor 4321
3 F MENU Level1
4 F FILE ${WORK}/indoor.lev
4 F MENU Saveas1
")
run(${KELVEDIT} --headless --data ${DATA} --frames 6 --frame-ms 50 --seed 1
    --script ${WORK}/indoor.txt --dump-state ${WORK}/indoor_dump.txt)
file(READ ${WORK}/indoor_dump.txt dump)
expect_lines("${dump}" "outside=0" "seed=4321" "modified=0")
run(${LEVELTOOL} info ${WORK}/indoor.lev)
expect_lines("${output}" "outside=0" "seed=4321")
run(${KELVANE} --data ${DATA} --headless --level ${WORK}/indoor.lev --frames 20 --frame-ms 50
    --seed 1 --dump-state ${WORK}/game.txt)
file(READ ${WORK}/game.txt game)
expect_lines("${game}" "levelFile=${WORK}/indoor.lev" "levelStarts=1")
file(REMOVE_RECURSE ${WORK})
