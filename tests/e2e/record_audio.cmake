# cmake -DKELVANE=<program> -DDATA=<data set> -DWORK=<folder> -P record_audio.cmake
# --record-audio on the shipped data set: a 44100 Hz 16-bit stereo wave of
# exactly frames x frame-ms of sound with the title music in it, the same
# bytes on every run; F7 silences the music from its frame on; the title's
# choice sound and the in-game menu's sound are heard in their frames.

cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/wave_window.cmake)

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(WRITE ${WORK}/escape.txt "1 F7\n20 ESC\n")
file(WRITE ${WORK}/mute.txt "1 F7\n")
file(WRITE ${WORK}/title_mute.txt "3 F7\n")
file(WRITE ${WORK}/title_mute_fire.txt "3 F7\n25 SPACE\n")

function(record name)
  execute_process(COMMAND ${KELVANE} --headless --data ${DATA} --frames 40 --frame-ms 50 --seed 1
      --record-audio ${WORK}/${name}.wav --dump-state ${WORK}/${name}.txt ${ARGN}
    RESULT_VARIABLE rc ERROR_VARIABLE err TIMEOUT 50)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${name}: exit code ${rc}\n${err}")
  endif()
  string(REGEX MATCH "[^\n]*([Aa]udio|[Ss]ound|ALSA|SDL)[^\n]*" said "${err}")
  if(said)
    message(FATAL_ERROR "${name}: the sound output spoke: ${said}")
  endif()
  file(STRINGS ${WORK}/${name}.txt dump)
  foreach(line soundReady=1 recordedFrames=88200)
    if(NOT line IN_LIST dump)
      message(FATAL_ERROR "${name}: expected ${line} in the dump")
    endif()
  endforeach()
endfunction()

# Whether the captured stereo frames [first, first + count) are all silent.
function(silent name first count result)
  wave_window_silent(${WORK}/${name}.wav ${first} ${count} is)
  set(${result} ${is} PARENT_SCOPE)
endfunction()

record(title)
record(title_again)
file(SIZE ${WORK}/title.wav size)
if(NOT size EQUAL 352844) # 44-byte header and 88200 frames of 4 bytes
  message(FATAL_ERROR "expected 352844 bytes, got ${size}")
endif()
file(READ ${WORK}/title.wav header LIMIT 44 HEX)
# RIFF, WAVE, a 16-byte PCM format: 2 channels, 44100 Hz, 176400 bytes/s,
# block align 4, 16 bits; then the data chunk of 352800 bytes.
set(expected "524946464462050057415645666d7420100000000100020044ac000010b102000400100064617461206205000")
string(SUBSTRING "${header}" 0 88 header)
string(SUBSTRING "${expected}" 0 88 expected)
if(NOT header STREQUAL expected)
  message(FATAL_ERROR "unexpected header ${header}")
endif()
file(SHA256 ${WORK}/title.wav first)
file(SHA256 ${WORK}/title_again.wav second)
if(NOT first STREQUAL second)
  message(FATAL_ERROR "two runs recorded different sound")
endif()

# Frame k's sound is the 2205 frames from 2205 x (k - 1).
function(expect_silent name first count want)
  silent(${name} ${first} ${count} is)
  if(NOT is STREQUAL want)
    message(FATAL_ERROR "${name}: frames ${first} +${count} silent=${is}, expected ${want}")
  endif()
endfunction()

# The title music plays from the first frames. F7 in frame 3 silences it
# from that frame on (its choice sound fades out by frame 15); fire in frame
# 25 then plays the choice sound over silence.
expect_silent(title 2205 86000 FALSE)
record(title_mute --script ${WORK}/title_mute.txt)
expect_silent(title_mute 0 4410 FALSE)
expect_silent(title_mute 33075 55125 TRUE)
record(title_mute_fire --script ${WORK}/title_mute_fire.txt)
expect_silent(title_mute_fire 33075 19845 TRUE)
expect_silent(title_mute_fire 52920 2205 FALSE)

# On level 0, with the music off (F7 in frame 1, before the level's music
# zone starts its wave music; its choice sound is over by frame 15), ESC in
# frame 20 opens the menu with the choice sound: heard in the sound pulled
# after frame 20 (frames 41895 to 44100), silent without it.
record(menu --level 0 --script ${WORK}/escape.txt)
record(no_menu --level 0 --script ${WORK}/mute.txt)
silent(menu 41895 2205 menu_silent)
silent(no_menu 41895 2205 no_menu_silent)
silent(menu 33075 8820 before_silent)
if(menu_silent OR NOT no_menu_silent OR NOT before_silent)
  message(FATAL_ERROR "the menu's sound is not where expected (with: silent=${menu_silent}, "
                      "without: silent=${no_menu_silent}, before: silent=${before_silent})")
endif()
