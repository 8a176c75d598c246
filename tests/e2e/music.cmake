# cmake -DKELVANE=<program> -DDATASET=<built data> -DWORK=<folder> -P music.cmake
# Music zones on the shipped levels and on a copy of the data set whose music
# list puts a MIDI file and the module with the fly-by clip into the zones:
# the exact command strings, the music heard, and the clip closing itself at
# its end on the virtual clock.

cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/dump_lines.cmake)

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/data)

# The data set with entry 2 (the first level's zone) the module with the
# clip, and entry 3 (level 10's first zone) the MIDI file.
file(GLOB entries LIST_DIRECTORIES true RELATIVE ${DATASET} ${DATASET}/*)
foreach(entry ${entries})
  if(NOT entry MATCHES "^(Standard.bnk|kelv.ini)$")
    file(CREATE_LINK ${DATASET}/${entry} ${WORK}/data/${entry} SYMBOLIC)
  endif()
endforeach()
file(READ ${DATASET}/Standard.bnk bank)
string(REPLACE "Music2=MUSIC/CAVERNS.WAV" "Music2=MUSIC/TITLE.MOD\nMusic2Video=MUSIC/FLYBY.AVI"
       bank "${bank}")
string(REPLACE "Music3=CDAUDIO_02" "Music3=MUSIC/ENDING.MID" bank "${bank}")
file(WRITE ${WORK}/data/Standard.bnk "${bank}")

# Runs level LEVEL of DATA for FRAMES frames; the dump is WORK/NAME.txt, the
# sound WORK/NAME.wav.
function(play name data level frames)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_CONFIG_HOME=${WORK}/config
      ${KELVANE} --headless --data ${data} --level ${level} --frames ${frames} --frame-ms 50
      --seed 1 --record-audio ${WORK}/${name}.wav --dump-state ${WORK}/${name}.txt ${ARGN}
    RESULT_VARIABLE rc ERROR_VARIABLE err TIMEOUT 50)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${name}: exit code ${rc}\n${err}")
  endif()
endfunction()

# Every line given must be a line of the dump WORK/NAME.txt, in this order.
function(expect_dump name)
  expect_dump_lines(${WORK}/${name}.txt ${ARGN})
endfunction()

# The sound of frames 2 to the end is not all silence.
function(expect_heard name)
  file(READ ${WORK}/${name}.wav sound OFFSET 8864 HEX)
  if(sound MATCHES "^0*$")
    message(FATAL_ERROR "${name}: nothing heard")
  endif()
endfunction()

# Level 10 starts in its "Open Sky" zone: CD track 2 of 3, looping (its mode
# polled every frame). The dump shows the last frame, before the program's end
# stops it.
play(cd_track ${DATASET} 9 3)
expect_dump(cd_track "musicIndex=3" "musicKind=cd" "musicLoop=1" "mci0=open cdaudio"
  "mci1=set cdaudio time format tmsf" "mci2=status cdaudio number of tracks"
  "mci3=play cdaudio from 2 to 3" "mci4=status cdaudio mode" "mci5=status cdaudio mode")
expect_heard(cd_track)

# Level 2 starts in "Deep Halls", the last track: no end track.
play(last_track ${DATASET} 1 3)
expect_dump(last_track "mci3=play cdaudio from 3")
expect_heard(last_track)

# Level 1 starts in "Caverns", the wave loop: no command strings.
play(caverns ${DATASET} 0 3)
expect_dump(caverns "musicIndex=2" "musicKind=wave" "musicLoop=1")
file(STRINGS ${WORK}/caverns.txt commands REGEX "^mci")
if(commands)
  message(FATAL_ERROR "caverns: a wave music sent ${commands}")
endif()
expect_heard(caverns)

# The MIDI file in level 10's first zone: opened, played, and its position
# and length asked every frame.
play(midi ${WORK}/data 9 3)
expect_dump(midi "musicKind=midi" "mci0=open MUSIC/ENDING.MID alias zique" "mci1=play zique"
  "mci2=status zique position" "mci3=status zique length" "mci4=status zique position"
  "mci5=status zique length")
expect_heard(midi)

# The module with the eight-second fly-by clip in level 1's first zone. At
# 3 s the clip plays: the world stands still (the hero hangs in the air) and
# the picture is the clip's. At 10 s it has closed itself at its end and the
# level went on.
play(clip_playing ${WORK}/data 0 60 --screenshot ${WORK}/clip_playing.png)
expect_dump(clip_playing "onGround=0")
play(clip_closed ${WORK}/data 0 200 --screenshot ${WORK}/clip_closed.png)
# The clip covers the window's client area, whatever the screen made it.
file(STRINGS ${WORK}/clip_closed.txt client REGEX "^window(Width|Height)=[1-9][0-9]*$")
string(REGEX REPLACE "window(Width|Height)=" "" client "${client}")
string(REPLACE ";" " " client "${client}")
expect_dump(clip_closed "videoPlaying=0" "mci0=Open MUSIC/FLYBY.AVI alias VidClip"
  "mci2=put Vidclip destination at 0 0 ${client}" "mci3=Play Vidclip notify window"
  "mci4=Close Vidclip" "onGround=1")
file(STRINGS ${WORK}/clip_closed.txt window REGEX "^mci1=Window Vidclip handle [0-9]+$")
if(NOT window)
  message(FATAL_ERROR "clip_closed: no window handle sent")
endif()
expect_heard(clip_closed)
file(SHA256 ${WORK}/clip_playing.png playing)
file(SHA256 ${WORK}/clip_closed.png closed)
if(playing STREQUAL closed)
  message(FATAL_ERROR "the clip's picture and the level's are the same")
endif()
