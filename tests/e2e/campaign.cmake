# Plays the whole campaign through the real game: each shipped level's route
# is turned into its key script by kelvane-sim (50 ms frames), the scripts
# are put end to end at the frames where each level will start, and the game
# must reach the end screen with every level won and no life lost.
# -DSIM=kelvane-sim -DKELVANE=kelvane -DDATA=data folder -DSOURCES=level sources
# -DWORK=scratch folder -DSTART=title|level|alone
#   title: fire is tapped on the title screen; level: --level 0; alone: each
#   level is played on its own with --level N and must be won in the same
#   frame as kelvane-sim won it, having started the same voices, with no
#   sample of its recorded sound at full scale.

include(${CMAKE_CURRENT_LIST_DIR}/wave_window.cmake)

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

# A level's frame k comes this many frames after the frame in which the level
# before it was won: the level-complete moment (2 s, 40 frames of 50 ms),
# then the closing transition's 17 steps, the frame that sees it complete and
# the level's first frame. On the title, fire starts the closing transition
# at once (18 frames).
set(moment 40)
set(gap 18)
set(fire_frame 3)
set(heard 0)

if(START STREQUAL "title")
  set(script "${fire_frame} SPACE\n")
  math(EXPR start "${fire_frame} + ${gap}")
  set(options)
else()
  set(script "")
  set(start 0)
  set(options --level 0)
endif()

file(GLOB levels RELATIVE ${DATA}/LEVEL ${DATA}/LEVEL/*.lev)
list(SORT levels)
list(LENGTH levels level_count)
foreach(level ${levels})
  string(SUBSTRING ${level} 0 2 number)
  file(GLOB source ${SOURCES}/${number}-*.txt)
  execute_process(
    COMMAND ${SIM} --data ${DATA} --level LEVEL/${level} --route ${source} --until won
            --frame-ms 50 --seed 1 --emit-script ${WORK}/${number}.txt
            --dump-state ${WORK}/${number}.sim
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT result EQUAL 0 OR NOT out MATCHES "won.frame=([0-9]+)")
    message(FATAL_ERROR "${level}: no winning key script (exit ${result}):\n${out}${err}")
  endif()
  set(won ${CMAKE_MATCH_1})
  message(STATUS "${level}: starts after frame ${start}, won in its frame ${won}")

  if(START STREQUAL "alone")
    list(FIND levels ${level} index)
    math(EXPR frames "${won} + 1")
    execute_process(
      COMMAND ${KELVANE} --headless --data ${DATA} --frame-ms 50 --seed 1 --frames ${frames}
              --level ${index} --script ${WORK}/${number}.txt --dump-state ${WORK}/${number}.dump
              --record-audio ${WORK}/${number}.wav
      RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
    file(READ ${WORK}/${number}.dump dump)
    # The master bus never reaches full scale along any route.
    wave_full_scale_check(${WORK}/${number}.wav clipped)
    if(clipped)
      message(FATAL_ERROR "${level} alone: the recorded mix holds ${clipped}")
    endif()
    file(REMOVE ${WORK}/${number}.wav)
    # Where the hero ended, what the level's cells became and how many voices
    # it started, as simulated: the simulation draws nothing and hears what the
    # game (here with its sound recorded) hears.
    file(STRINGS ${WORK}/${number}.sim simulated
         REGEX "^(player\\.cell|grid\\.changed|soundStarts)=")
    if(NOT simulated MATCHES "soundStarts=0(;|$)")
      math(EXPR heard "${heard} + 1")
    endif()
    foreach(expected "won.frame=${won}" "levelOutcome=2" "dead=0" ${simulated})
      string(FIND "\n${dump}" "\n${expected}\n" at)
      if(NOT result EQUAL 0 OR at EQUAL -1)
        message(FATAL_ERROR "${level} alone (exit ${result}): expected ${expected}\n${err}${dump}")
      endif()
    endforeach()
    continue()
  endif()

  file(STRINGS ${WORK}/${number}.txt lines)
  foreach(line ${lines})
    if(line MATCHES "^([0-9]+)-([0-9]+) (.*)$")
      math(EXPR first "${CMAKE_MATCH_1} + ${start}")
      math(EXPR last "${CMAKE_MATCH_2} + ${start}")
      string(APPEND script "${first}-${last} ${CMAKE_MATCH_3}\n")
    elseif(line MATCHES "^([0-9]+) (.*)$")
      math(EXPR first "${CMAKE_MATCH_1} + ${start}")
      string(APPEND script "${first} ${CMAKE_MATCH_2}\n")
    endif()
  endforeach()
  math(EXPR start "${start} + ${won} + ${moment} + ${gap}")
endforeach()

if(START STREQUAL "alone")
  if(heard EQUAL 0)
    message(FATAL_ERROR "no level started a voice: the sound comparison proved nothing")
  endif()
  message(STATUS "${heard} levels heard the same voices as simulated")
  return()
endif()

# The last closing transition leads to the end screen; a few frames more.
math(EXPR frames "${start} + 10")
file(WRITE ${WORK}/campaign.txt "${script}")
execute_process(
  COMMAND ${KELVANE} --headless --data ${DATA} --frame-ms 50 --seed 1 --frames ${frames}
          --script ${WORK}/campaign.txt --dump-state ${WORK}/dump.txt ${options}
  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the game ended with ${result}:\n${out}${err}")
endif()
file(READ ${WORK}/dump.txt dump)
foreach(expected "screenState=10" "levelIndex=${level_count}" "levelStarts=${level_count}"
                 "dead=0" "levelOutcome=2")
  string(FIND "\n${dump}" "\n${expected}\n" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "expected ${expected} in the dump after ${frames} frames:\n${dump}")
  endif()
endforeach()
message(STATUS "campaign won in ${frames} frames")
