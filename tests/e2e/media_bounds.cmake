# cmake -DKELVANE=<program> -DWRITER=<write_media> -DDATASET=<built data> -DWORK=<folder>
#       -P media_bounds.cmake
# Media within the picture and the memory, on a copy of the data set whose
# first music zone shows a 16000 x 16000 motion-JPEG clip and whose death
# sound is 290 kB of 8-bit mono at 100 Hz: the clip is decoded at an eighth
# and shown at 1200 x 1200, the death sound is refused once by name and the
# level plays on. Times and peak memory are not checked here (a shared
# machine is too noisy); the dump's sizes and byte counts are.

cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/dump_lines.cmake)

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/data/MUSIC ${WORK}/data/SOUNDS)
file(GLOB entries LIST_DIRECTORIES true RELATIVE ${DATASET} ${DATASET}/*)
foreach(entry ${entries})
  if(NOT entry MATCHES "^(Standard.bnk|kelv.ini|MUSIC|SOUNDS)$")
    file(CREATE_LINK ${DATASET}/${entry} ${WORK}/data/${entry} SYMBOLIC)
  endif()
endforeach()
foreach(folder MUSIC SOUNDS)
  file(GLOB files RELATIVE ${DATASET}/${folder} ${DATASET}/${folder}/*)
  foreach(f ${files})
    file(CREATE_LINK ${DATASET}/${folder}/${f} ${WORK}/data/${folder}/${f} SYMBOLIC)
  endforeach()
endforeach()
execute_process(COMMAND ${WRITER} clip ${WORK}/data/MUSIC/HUGE.AVI 16000 16000 2 1
  RESULT_VARIABLE rc)
execute_process(COMMAND ${WRITER} wave ${WORK}/data/SOUNDS/LOWDEATH.WAV 100 290000
  RESULT_VARIABLE rc2)
if(NOT rc EQUAL 0 OR NOT rc2 EQUAL 0)
  message(FATAL_ERROR "cannot write the clip or the wave")
endif()
file(READ ${DATASET}/Standard.bnk bank)
string(REPLACE "Music2=MUSIC/CAVERNS.WAV" "Music2=MUSIC/TITLE.MOD\nMusic2Video=MUSIC/HUGE.AVI"
       bank "${bank}")
string(REPLACE "DeathSound=SOUNDS/DEATH.WAV" "DeathSound=SOUNDS/LOWDEATH.WAV" bank "${bank}")
file(WRITE ${WORK}/data/Standard.bnk "${bank}")

# Runs level 1 of DATA for 100 frames of 50 ms with its sound captured; the
# dump is WORK/NAME.txt, the messages NAME_err.
function(play name data)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_CONFIG_HOME=${WORK}/config
      ${KELVANE} --headless --data ${data} --level 0 --frames 100 --frame-ms 50 --seed 1
      --record-audio ${WORK}/${name}.wav --dump-state ${WORK}/${name}.txt
    RESULT_VARIABLE rc ERROR_VARIABLE err TIMEOUT 100)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${name}: exit code ${rc}\n${err}")
  endif()
  set(${name}_err "${err}" PARENT_SCOPE)
endfunction()

function(dump_value name key out)
  file(STRINGS ${WORK}/${name}.txt line REGEX "^${key}=")
  string(REGEX REPLACE "^${key}=" "" value "${line}")
  set(${out} ${value} PARENT_SCOPE)
endfunction()

play(normal ${DATASET})
play(bounded ${WORK}/data)

# The clip: opened, decoded at an eighth, shown at the largest picture's
# height, closed at its end after two seconds; the level went on.
expect_dump_lines(${WORK}/bounded.txt "videoPlaying=0" "clipSource=16000x16000"
  "clipDecoded=2000x2000" "clipPicture=1200x1200" "clipsRefused=0"
  "mci0=Open MUSIC/HUGE.AVI alias VidClip" "mci4=Close Vidclip")

# The death sound: refused once (five player records load it), by name.
expect_dump_lines(${WORK}/bounded.txt "soundsRefused=1")
string(REGEX MATCHALL "The sound SOUNDS/LOWDEATH.WAV is not played: its sample rate, 100 Hz, is below 4000 Hz."
       told "${bounded_err}")
list(LENGTH told times)
if(NOT times EQUAL 1)
  message(FATAL_ERROR "the refused death sound was told ${times} times:\n${bounded_err}")
endif()

# Every sound is converted once, whatever number of player records loads
# it: no more conversions than wave files, and all of them within the budget.
dump_value(normal soundBytes normal_bytes)
dump_value(normal soundsConverted normal_converted)
dump_value(bounded soundBytes bounded_bytes)
expect_dump_lines(${WORK}/normal.txt "soundsRefused=0")
file(GLOB_RECURSE shipped_waves ${DATASET}/*.WAV)
list(LENGTH shipped_waves distinct)
if(normal_converted GREATER distinct OR normal_bytes GREATER 67108864)
  message(FATAL_ERROR "${normal_converted} conversions of ${distinct} wave files, "
    "${normal_bytes} bytes: some were converted more than once")
endif()
if(bounded_bytes GREATER_EQUAL normal_bytes)
  message(FATAL_ERROR "sound bytes: normal ${normal_bytes}, bounded ${bounded_bytes}")
endif()
