# The mix of shipped levels played from their routes through the game with
# their sound recorded: no sample reaches full scale, and the effects stand
# above the music. Each level is recorded twice, with its music and with F7
# silencing the music from the first frame: the second holds the effects
# alone, and what the first holds beyond it is the music.
# -DSIM=kelvane-sim -DKELVANE=kelvane -DDATA=data folder -DSOURCES=level sources
# -DWORK=scratch folder -DLEVELS=two-digit level numbers
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/wave_window.cmake)
find_program(SOX sox REQUIRED)

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

file(GLOB levels RELATIVE ${DATA}/LEVEL ${DATA}/LEVEL/*.lev)
list(SORT levels)
foreach(number ${LEVELS})
  file(GLOB level RELATIVE ${DATA}/LEVEL ${DATA}/LEVEL/${number}-*.lev)
  file(GLOB source ${SOURCES}/${number}-*.txt)
  list(FIND levels "${level}" index)
  if(index EQUAL -1 OR NOT source)
    message(FATAL_ERROR "no level ${number} with a route")
  endif()
  execute_process(
    COMMAND ${SIM} --data ${DATA} --level LEVEL/${level} --route ${source} --until won
            --frame-ms 50 --seed 1 --emit-script ${WORK}/${number}.txt
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT result EQUAL 0 OR NOT out MATCHES "won.frame=([0-9]+)")
    message(FATAL_ERROR "${level}: no winning key script (exit ${result}):\n${out}${err}")
  endif()
  math(EXPR frames "${CMAKE_MATCH_1} + 1")
  file(READ ${WORK}/${number}.txt keys)
  file(WRITE ${WORK}/${number}-effects.txt "1 F7\n${keys}")

  foreach(take music effects)
    if(take STREQUAL "music")
      set(script ${WORK}/${number}.txt)
    else()
      set(script ${WORK}/${number}-effects.txt)
    endif()
    execute_process(
      COMMAND ${KELVANE} --headless --data ${DATA} --frame-ms 50 --seed 1 --frames ${frames}
              --level ${index} --script ${script} --dump-state ${WORK}/${number}-${take}.dump
              --record-audio ${WORK}/${number}-${take}.wav
      RESULT_VARIABLE result ERROR_VARIABLE err)
    file(STRINGS ${WORK}/${number}-${take}.dump won REGEX "^levelOutcome=2$")
    if(NOT result EQUAL 0 OR NOT won)
      message(FATAL_ERROR "${level} (${take}): not won (exit ${result})\n${err}")
    endif()
    wave_full_scale_check(${WORK}/${number}-${take}.wav clipped)
    if(clipped)
      message(FATAL_ERROR "${level} (${take}): ${clipped}")
    endif()
  endforeach()

  # The music alone: the whole mix less the effects.
  execute_process(COMMAND ${SOX} -m -v 1 ${WORK}/${number}-music.wav -v -1
                          ${WORK}/${number}-effects.wav ${WORK}/${number}-music-alone.wav
    RESULT_VARIABLE result ERROR_VARIABLE err)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "sox could not take the effects out of ${number}-music.wav: ${err}")
  endif()
  wave_levels(${WORK}/${number}-music.wav mix_peak mix_rms)
  wave_levels(${WORK}/${number}-effects.wav effects_peak effects_rms)
  wave_levels(${WORK}/${number}-music-alone.wav music_peak music_rms)
  message(STATUS "${level}: peak -${mix_peak} (hundredths of a dB); loudest 50 ms: "
                 "effects -${effects_rms}, music -${music_rms}")
  # The loudest moments of the effects are louder than the loudest of the music.
  if(NOT effects_rms LESS music_rms)
    message(FATAL_ERROR "${level}: the effects (-${effects_rms}) do not stand above the music "
                        "(-${music_rms}), hundredths of a dB")
  endif()
  file(REMOVE ${WORK}/${number}-music.wav ${WORK}/${number}-effects.wav
       ${WORK}/${number}-music-alone.wav)
endforeach()
