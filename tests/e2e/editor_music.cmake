# cmake -DKELVEDIT=<program> -DDATA=<data set> -DWORK=<folder> -P editor_music.cmake
# The editor's Play and Stop through the music player, heard in --record-audio:
# silence before Play, the zone's music while it plays, silence after Stop;
# exactly frames x frame-ms of sound.
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/wave_window.cmake)

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(WRITE ${WORK}/script.txt "2 F ANSWER 5
2 F ANSWER 4
2 F ANSWER 6
2 F MENU New1
3 S
4 F SELECT MusicBox Caverns
10 F CLICK Play
30 F CLICK Stop
")
execute_process(COMMAND ${KELVEDIT} --headless --data ${DATA} --frames 40 --frame-ms 50 --seed 1
    --script ${WORK}/script.txt --record-audio ${WORK}/music.wav --dump-state ${WORK}/dump.txt
  RESULT_VARIABLE rc ERROR_VARIABLE err TIMEOUT 50)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "exit code ${rc}\n${err}")
endif()
file(SIZE ${WORK}/music.wav size)
if(NOT size EQUAL 352844) # 44-byte header and 2 s of 4-byte frames
  message(FATAL_ERROR "expected 352844 bytes, got ${size}")
endif()

# Whether milliseconds FIRST_MS to LAST_MS of the recording (44100 frames a
# second) are all silent.
function(silent first_ms last_ms result)
  math(EXPR first "${first_ms} * 441 / 10")
  math(EXPR count "(${last_ms} - ${first_ms}) * 441 / 10")
  wave_window_silent(${WORK}/music.wav ${first} ${count} is)
  set(${result} ${is} PARENT_SCOPE)
endfunction()

silent(0 450 before)
silent(600 1400 playing)
silent(1550 2000 after)
if(NOT before OR playing OR NOT after)
  message(FATAL_ERROR "expected silence, music, silence; got silent ${before}, ${playing}, ${after}")
endif()
file(STRINGS ${WORK}/dump.txt dump)
if(NOT "musicPlaying=-1" IN_LIST dump OR NOT "musicZone255=2,1,3,2,Caverns" IN_LIST dump)
  message(FATAL_ERROR "unexpected dump: ${dump}")
endif()
file(REMOVE_RECURSE ${WORK})
