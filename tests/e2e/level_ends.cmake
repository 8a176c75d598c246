# cmake -DKELVANE=<program> -DLEVELTOOL=<kelvane-level> -DDATASET=<built data>
#       -DLEVELS=<tests/e2e/levels> -DWORK=<folder> -DCASE=<name> -P level_ends.cmake
# How a level ends, seen through the game: the game-over moment after the
# last life and the title after it, the level-complete moment, and a hero
# killed on the exit with lives left. Each case plays one test room as the
# only level of the list (--level 0), so that a won level leads to the end
# screen. Screenshots of the moments are left in WORK.

cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/dump_lines.cmake)

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(DATA ${WORK}/data)
set(DUMP ${WORK}/state.txt)

# The built data set with the room LEVELS/<source> as its only level.
function(data_with_room source)
  file(MAKE_DIRECTORY ${DATA}/LEVEL)
  file(GLOB entries LIST_DIRECTORIES true RELATIVE ${DATASET} ${DATASET}/*)
  foreach(entry ${entries})
    string(TOUPPER "${entry}" upper)
    if(NOT upper STREQUAL "LEVEL" AND NOT upper STREQUAL "KELV.INI")
      file(CREATE_LINK ${DATASET}/${entry} ${DATA}/${entry} SYMBOLIC)
    endif()
  endforeach()
  string(REGEX REPLACE "\\.txt$" ".lev" level ${source})
  execute_process(COMMAND ${LEVELTOOL} compile ${LEVELS}/${source} ${DATA}/LEVEL/${level}
    RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cannot compile ${source}: ${err}")
  endif()
endfunction()

# play(FRAMES [ARGS...]): the room from --level 0, FRAMES frames of 50 ms.
function(play frames)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_CONFIG_HOME=${WORK}/config
      ${KELVANE} --headless --data ${DATA} --frame-ms 50 --seed 5 --level 0 --frames ${frames}
      --dump-state ${DUMP} ${ARGN}
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 60)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "the game ended with ${rc}:\n${out}${err}")
  endif()
  file(READ ${DUMP} dump)
  set(dump "${dump}" PARENT_SCOPE)
endfunction()

# The value of KEY in the last dump.
function(dump_value key out)
  if(NOT dump MATCHES "(^|\n)${key}=([^\n]*)")
    message(FATAL_ERROR "no ${key} in the dump:\n${dump}")
  endif()
  set(${out} "${CMAKE_MATCH_2}" PARENT_SCOPE)
endfunction()

# The frame in which the screen STATE was last entered, from screenHistory.
function(entered_frame state out)
  dump_value(screenHistory history)
  if(NOT history MATCHES "(^| )${state}@([0-9]+)$")
    message(FATAL_ERROR "the screen ${state} was not the last one entered: ${history}")
  endif()
  set(${out} ${CMAKE_MATCH_2} PARENT_SCOPE)
endfunction()

if(CASE STREQUAL "game_over")
  # Four deaths on the spikes; the last one shows the game over, the
  # title follows with a silent message line.
  data_with_room(91-spikes.txt)
  play(500)
  expect_dump_lines(${DUMP} "screenState=0" "levelOutcome=1" "messageShown=0"
    "endMoment=gameOver" "endMomentActive=0" "lives=0" "deaths=4")
  dump_value(endMomentMs shown)
  if(shown LESS 3000)
    message(FATAL_ERROR "the game over was shown for ${shown} ms only")
  endif()
  dump_value(messageText text)
  if(text MATCHES "LIVES")
    message(FATAL_ERROR "the title shows a lives message: ${text}")
  endif()
  # The game over as it is shown, half a second before the title closes in.
  entered_frame(0 title)
  math(EXPR before "${title} - 30")
  play(${before} --screenshot ${WORK}/game-over.png)
  expect_dump_lines(${DUMP} "screenState=1" "endMoment=gameOver" "endMomentActive=1"
    "endMomentText=GAME OVER")
  dump_value(endMomentMs shown)
  if(shown LESS 3000)
    message(FATAL_ERROR "${before} frames: the game over has shown ${shown} ms, not 3000")
  endif()

elseif(CASE STREQUAL "level_complete")
  # Walking to the exit shows the level complete with the time taken, then
  # the end screen (the room is the only level).
  data_with_room(93-short-walk.txt)
  file(WRITE ${WORK}/walk.txt "1-200 UP\n")
  play(400 --script ${WORK}/walk.txt)
  expect_dump_lines(${DUMP} "screenState=10" "endMoment=levelComplete" "endMomentActive=0"
    "lives=3" "deaths=0")
  dump_value(won.frame won)
  if(won LESS 1)
    message(FATAL_ERROR "the level was not won")
  endif()
  dump_value(endMomentTime time)
  math(EXPR walked "${won} * 50")
  if(time LESS 500 OR time GREATER walked)
    message(FATAL_ERROR "the level took ${time} ms, won in its frame ${won}")
  endif()
  # A second into the moment: the game still plays the room, under the text.
  math(EXPR during "${won} + 20")
  play(${during} --script ${WORK}/walk.txt --screenshot ${WORK}/level-complete.png)
  expect_dump_lines(${DUMP} "screenState=1" "transitionActive=0" "endMoment=levelComplete"
    "endMomentActive=1" "endMomentText=LEVEL COMPLETE")

elseif(CASE STREQUAL "killed_on_exit")
  # Spikes on the exit: the kill comes first and leaves lives, the exit of
  # the same frame wins the level, and the death costs no life.
  data_with_room(92-spiked-exit.txt)
  play(200)
  expect_dump_lines(${DUMP} "screenState=10" "levelOutcome=2" "levelIndex=1"
    "endMoment=levelComplete" "lives=3" "deaths=1")

else()
  message(FATAL_ERROR "unknown case ${CASE}")
endif()
