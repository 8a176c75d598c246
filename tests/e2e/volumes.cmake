# cmake -DKELVANE=<program> -DDATA=<data set> -DWORK=<folder> -P volumes.cmake
# The music and effects volumes of kelv.ini on the title's recorded sound:
# at 0 % the music is silent while the choice sound is still heard; at 50 %
# the music's RMS is half its level at 100 %; effects at 0 % silence the
# choice sound.

cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/wave_window.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/dump_lines.cmake)

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(WRITE ${WORK}/fire.txt "25 SPACE\n")

# record(NAME INI [options]): the title's 2 s with kelv.ini holding INI.
function(record name ini)
  file(WRITE ${WORK}/${name}/kelvane/kelv.ini "${ini}")
  execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_CONFIG_HOME=${WORK}/${name}
      ${KELVANE} --headless --data ${DATA} --frames 40 --frame-ms 50 --seed 1
      --record-audio ${WORK}/${name}.wav --dump-state ${WORK}/${name}.txt ${ARGN}
    RESULT_VARIABLE rc ERROR_VARIABLE err TIMEOUT 50)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${name}: exit code ${rc}\n${err}")
  endif()
endfunction()

function(expect_silent name first count want)
  wave_window_silent(${WORK}/${name}.wav ${first} ${count} is)
  if(NOT is STREQUAL want)
    message(FATAL_ERROR "${name}: frames ${first} +${count} silent=${is}, expected ${want}")
  endif()
endfunction()

# The music alone at 100 % and at 50 %: half the RMS, within a tenth.
record(full "[Sound]\nMusicVolume=100\n")
record(half "[Sound]\nMusicVolume=50\nEffectsVolume=100\n")
expect_dump_lines(${WORK}/half.txt "musicVolume=50" "effectsVolume=100")
foreach(channel 1 2)
  wave_window_rms(${WORK}/full.wav 200 1700 ${channel} full_rms)
  wave_window_rms(${WORK}/half.wav 200 1700 ${channel} half_rms)
  math(EXPR low "${full_rms} * 45 / 100")
  math(EXPR high "${full_rms} * 55 / 100")
  if(full_rms LESS 1000 OR half_rms LESS low OR half_rms GREATER high)
    message(FATAL_ERROR "channel ${channel}: RMS ${half_rms} at 50 %, ${full_rms} at 100 %")
  endif()
endforeach()

# Music at 0 %: silence until the choice sound of frame 25 (from frame
# 52920), which is heard; effects at 0 % too: silence throughout.
record(no_music "[Sound]\nMusicVolume=0\n" --script ${WORK}/fire.txt)
expect_dump_lines(${WORK}/no_music.txt "musicVolume=0" "effectsVolume=100")
expect_silent(no_music 0 52920 TRUE)
expect_silent(no_music 52920 2205 FALSE)
record(nothing "[Sound]\nMusicVolume=0\nEffectsVolume=0\n" --script ${WORK}/fire.txt)
expect_silent(nothing 0 88200 TRUE)
