# cmake -DKELVANE=<program> -DDATASET=<built data> -DWORK=<folder> -P first_window.cmake
# The first window on virtual screens of Qt's offscreen platform (given by
# its configuration file): with no settings file its client area is the
# largest whole multiple of 320 x 240 device pixels within 90 % of the
# screen, centred; once the settings hold a size, that size rules.

cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/dump_lines.cmake)

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(DUMP ${WORK}/state.txt)

# run(SCREEN_JSON CONFIG_HOME): three frames on the title with that screen.
function(run screens config)
  file(WRITE ${WORK}/screens.json "{ \"screens\": [ ${screens} ] }\n")
  execute_process(COMMAND ${CMAKE_COMMAND} -E env
      QT_QPA_PLATFORM=offscreen:configfile=${WORK}/screens.json XDG_CONFIG_HOME=${config}
      ${KELVANE} --headless --data ${DATASET} --frames 3 --frame-ms 50 --dump-state ${DUMP}
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 60)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "the game ended with ${rc}:\n${out}${err}")
  endif()
endfunction()

function(expect_settings config)
  file(STRINGS ${config}/kelvane/kelv.ini lines)
  foreach(line ${ARGN})
    if(NOT "${line}" IN_LIST lines)
      message(FATAL_ERROR "expected ${line} in the settings:\n${lines}")
    endif()
  endforeach()
endfunction()

set(screen1280 "{ \"name\": \"A\", \"x\": 0, \"y\": 0, \"width\": 1280, \"height\": 1024, \"dpr\": 1 }")
set(screen1280hd "{ \"name\": \"A\", \"x\": 0, \"y\": 0, \"width\": 1280, \"height\": 1024, \"dpr\": 2 }")
set(screen640 "{ \"name\": \"A\", \"x\": 0, \"y\": 0, \"width\": 640, \"height\": 480, \"dpr\": 1 }")

# 90 % of 1280 x 1024 holds three times 320 x 240, centred; the settings
# written at exit keep that place.
run("${screen1280}" ${WORK}/first)
expect_dump_lines(${DUMP} "windowWidth=960" "windowHeight=720")
expect_settings(${WORK}/first "Top=152" "Left=160" "Width=960" "Height=720")

# Twice as many device pixels: seven times 320 x 240 of them, 1120 x 840
# logical pixels.
run("${screen1280hd}" ${WORK}/dense)
expect_dump_lines(${DUMP} "windowWidth=1120" "windowHeight=840")

# A screen too small for twice the picture still gets it once.
run("${screen640}" ${WORK}/small)
expect_dump_lines(${DUMP} "windowWidth=320" "windowHeight=240")

# A stored size rules, on the same screen.
file(WRITE ${WORK}/stored/kelvane/kelv.ini
  "[General]\nLeft=40\nTop=30\nWidth=800\nHeight=600\n")
run("${screen1280}" ${WORK}/stored)
expect_dump_lines(${DUMP} "windowWidth=800" "windowHeight=600")
expect_settings(${WORK}/stored "Left=40" "Top=30" "Width=800" "Height=600")
