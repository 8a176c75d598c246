# A scripted editor session builds a 5 x 4 x 6 level (New and its three
# answers, an object chosen, put and brightened, start, exit, a music zone with
# its music, two sentries with one placed) and saves it with Save as; the
# level tool reads back what was built and resaves the same bytes, the
# renderer draws it and the game plays it.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(level ${WORK}/made.lev)
file(WRITE ${WORK}/session.txt "2 F ANSWER 5
2 F ANSWER 4
2 F ANSWER 6
2 F MENU New1
3 F SELECT ObjectCombo Red bricks
4 SPACE
5 E
6 H
7 D
8 UP
9 X
10 UP
11 S
13 F SELECT MusicBox Caverns
14 F ANSWER 2
14 F MENU NumberofSentries1
15 F SELECT NMEList NME #2
15 F CLICK SetNMEPos
16 F FILE ${level}
16 F MENU Saveas1
17 F9
18 F9
")
# Test-play writes its file in the temporary folder; here one of the test's own.
set(tmp ${WORK}/tmp)
file(MAKE_DIRECTORY ${tmp})

include(${CMAKE_CURRENT_LIST_DIR}/editor_steps.cmake)

foreach(run one two)
  # Each run saves a new file: Save as onto an existing one would ask first.
  file(REMOVE ${level})
  run(${CMAKE_COMMAND} -E env TMPDIR=${tmp} ${KELVEDIT} --data ${DATA} --headless --frames 20 --frame-ms 50 --seed 1
      --script ${WORK}/session.txt --screenshot ${WORK}/${run}.png --dump-state ${WORK}/${run}.txt)
endforeach()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/one.png ${WORK}/two.png
                RESULT_VARIABLE differs)
if(NOT differs EQUAL 0)
  message(FATAL_ERROR "two runs of the session gave different pictures")
endif()
# The dumps are the same but for test-play's file, named after each process.
set(copy_name "kelvedit-test-play-[0-9]+\\.lev")
foreach(run one two)
  file(READ ${WORK}/${run}.txt dump_${run})
  string(REGEX REPLACE "${copy_name}" "kelvedit-test-play-PID.lev" dump_${run} "${dump_${run}}")
endforeach()
if(NOT dump_one STREQUAL dump_two)
  message(FATAL_ERROR "two runs of the session gave different dumps")
endif()
file(READ ${WORK}/one.txt dump)
expect_lines("${dump}" "sizes=5,4,6" "currentObjectName=Red bricks" "start=2,2,3,0" "exit=2,2,4"
  "sentryCount=2" "sentry2=1280,1280,2816,0" "musicZone255=2,2,5,2,Caverns" "fileName=${level}"
  "caption=Kelvane - Level Editor - ${level}" "modified=0" "helpShown=0")
# F9 held over two frames started the game once, on a copy outside the level
# folder; without a screen the command line is recorded instead of started.
# The copy is the editor's own and is removed when the editor ends.
get_filename_component(bin ${KELVEDIT} DIRECTORY)
string(REGEX MATCH "testPlay=[^\n]*" launched "${dump}")
string(REGEX MATCH "${copy_name}$" played "${launched}")
if(NOT played)
  message(FATAL_ERROR "test-play's file is not named after the process: ${launched}")
endif()
expect_lines("${dump}" "testPlay=${bin}/kelvane --data ${DATA} --level ${tmp}/${played}")
file(GLOB left ${tmp}/kelvedit-test-play*)
if(left)
  message(FATAL_ERROR "the editor left its test-play copy behind: ${left}")
endif()

run(${LEVELTOOL} info ${level})
expect_lines("${output}" "definition=STANDARD.BNK" "sizeX=5" "sizeY=4" "sizeZ=6" "start=2,2,3"
  "exit=2,2,4" "sentries=2" "sentry1=0,0,0,0" "sentry2=1280,1280,2816,0" "musicZone255=2,2,5,2"
  "cellsOfType1=30" "cellsOfType2=1")
run(${LEVELTOOL} resave ${level} ${WORK}/resaved.lev)
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${level} ${WORK}/resaved.lev
                RESULT_VARIABLE differs)
if(NOT differs EQUAL 0)
  message(FATAL_ERROR "kelvane-level resave changed the editor's bytes")
endif()
run(${RENDER} --data ${DATA} --level ${level} -o ${WORK}/render.png)
if(NOT EXISTS ${WORK}/render.png)
  message(FATAL_ERROR "kelvane-render drew nothing")
endif()
run(${KELVANE} --data ${DATA} --headless --level ${level} --frames 40 --frame-ms 50 --seed 1
    --dump-state ${WORK}/game.txt)
file(READ ${WORK}/game.txt game)
expect_lines("${game}" "levelFile=${level}" "levelStarts=1")
file(REMOVE_RECURSE ${WORK})
