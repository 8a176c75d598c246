# cmake -DKELVANE=<program> -DWORK=<folder> -DCASE=<name> -DDATASET=<data> -P run_case.cmake
# Makes a fresh fixture folder for the case (or a copy of the built data set
# DATASET), runs the game and checks it.

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(DATA ${WORK}/data)
set(DUMP ${WORK}/state.txt)

function(run)
  execute_process(COMMAND ${KELVANE} ${ARGN}
    WORKING_DIRECTORY ${WORK}
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 50)
  set(rc "${rc}" PARENT_SCOPE)
  set(err "${err}" PARENT_SCOPE)
  message(STATUS "exit code ${rc}\n--- stdout\n${out}\n--- stderr\n${err}")
endfunction()

function(expect_exit code)
  if(NOT "${rc}" STREQUAL "${code}")
    message(FATAL_ERROR "expected exit code ${code}, got ${rc}")
  endif()
endfunction()

function(expect_stderr text)
  string(FIND "${err}" "${text}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "expected on stderr: ${text}")
  endif()
endfunction()

# Every line given must appear as a whole line of the dump, in this order.
function(expect_dump)
  if(NOT EXISTS ${DUMP})
    message(FATAL_ERROR "no state dump written")
  endif()
  file(READ ${DUMP} dump)
  set(rest "\n${dump}")
  foreach(line ${ARGN})
    string(FIND "${rest}" "\n${line}\n" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "expected in the dump (in order): ${line}\n--- dump\n${dump}")
    endif()
    string(SUBSTRING "${rest}" ${at} -1 rest)
    string(SUBSTRING "${rest}" 1 -1 rest)
  endforeach()
endfunction()

function(touch path)
  file(WRITE ${path} "")
endfunction()

set(HEADLESS --headless --data ${DATA} --frames 3 --frame-ms 50 --dump-state ${DUMP})

if(CASE STREQUAL "level_list")
  touch(${DATA}/LEVEL/b1)
  touch(${DATA}/LEVEL/A1)
  touch(${DATA}/LEVEL/a1)
  touch(${DATA}/LEVEL/z) # a one-character name is not a level
  touch(${DATA}/game.dat)
  run(${HEADLESS})
  expect_exit(0)
  expect_dump("frames=3" "now=150" "frameMs=50" "initialised=1" "screenState=0"
              "transitionActive=0" "messageShown=0" "levelCount=3"
              "level0=LEVEL\\A1" "level1=LEVEL\\a1" "level2=LEVEL\\b1")

elseif(CASE STREQUAL "level_folder_empty")
  file(MAKE_DIRECTORY ${DATA}/LEVEL)
  run(${HEADLESS})
  expect_exit(0)
  expect_stderr("GAME: No level files (LEVEL\\ folder).")
  expect_dump("initialised=0" "levelCount=0")

elseif(CASE STREQUAL "level_folder_missing")
  file(MAKE_DIRECTORY ${DATA})
  run(${HEADLESS})
  expect_exit(0)
  expect_stderr("GAME: Problem reading level files (LEVEL\\ folder).")

elseif(CASE STREQUAL "network_lobby")
  touch(${DATA}/LEVEL/l1)
  run(/network ${HEADLESS})
  expect_exit(0)
  expect_dump("frames=3" "initialised=0" "networkLobby=1" "screenState=5")

elseif(CASE STREQUAL "screenshot")
  file(MAKE_DIRECTORY ${DATA}/LEVEL)
  run(--headless --data ${DATA} --screenshot ${WORK}/loading.png)
  expect_exit(0)
  if(NOT EXISTS ${WORK}/loading.png)
    message(FATAL_ERROR "no screenshot written")
  endif()
  file(READ ${WORK}/loading.png head LIMIT 8 HEX)
  if(NOT head STREQUAL "89504e470d0a1a0a")
    message(FATAL_ERROR "the screenshot is not a PNG file")
  endif()

elseif(CASE STREQUAL "bad_option")
  run(--headless --frames many)
  expect_exit(2)
  expect_stderr("--frames needs a whole number of 0 or more, not 'many'")

elseif(CASE STREQUAL "bad_script")
  file(WRITE ${WORK}/input.txt "1-4 UP\n5 JUMP\n")
  run(--headless --script ${WORK}/input.txt)
  expect_exit(2)
  expect_stderr("script line 2: unknown key 'JUMP'")

elseif(CASE STREQUAL "missing_data_folder")
  run(--headless --data ${WORK}/nowhere)
  expect_exit(2)
  expect_stderr("does not exist")

elseif(CASE STREQUAL "game_dat_missing")
  touch(${DATA}/LEVEL/l1)
  run(${HEADLESS})
  expect_exit(0)
  expect_stderr("GAME: The file game.dat does not exist. Please re-install the application")
  expect_dump("initialised=0")

elseif(CASE STREQUAL "title_pages")
  # Pages of 15.5 s: the demo page at 310 frames of 50 ms; page 0 returns
  # with the next text variant every 31 s.
  touch(${DATA}/LEVEL/l1)
  file(WRITE ${DATA}/game.dat "x\n")
  foreach(step "309;0;0" "310;1;0" "619;1;0" "620;0;1" "1240;0;2" "1860;0;0")
    list(GET step 0 frames)
    list(GET step 1 page)
    list(GET step 2 variant)
    run(--headless --data ${DATA} --frames ${frames} --frame-ms 50 --dump-state ${DUMP})
    expect_exit(0)
    expect_dump("frames=${frames}" "screenState=0" "screenEnteredAt=0" "titlePage=${page}"
                "textVariant=${variant}")
  endforeach()

elseif(CASE STREQUAL "title_fire")
  # The closing transition started on frame 1 completes on frame 18; the game
  # starts on frame 19 (950 ms), however often fire is pressed or held.
  file(COPY ${DATASET}/ DESTINATION ${DATA})
  foreach(script "1 SPACE\n5 SPACE\n" "1-40 SPACE\n")
    file(WRITE ${WORK}/input.txt "${script}")
    run(--headless --data ${DATA} --frames 45 --frame-ms 50 --seed 3 --script ${WORK}/input.txt
        --dump-state ${DUMP})
    expect_exit(0)
    expect_dump("screenState=1" "screenEnteredAt=950" "levelOutcome=0" "lives=3")
  endforeach()

elseif(CASE STREQUAL "title_escape")
  touch(${DATA}/LEVEL/l1)
  touch(${DATA}/game.dat)
  file(WRITE ${WORK}/input.txt "1 SPACE\n3 ESC\n")
  run(--headless --data ${DATA} --frames 100 --frame-ms 50 --script ${WORK}/input.txt
      --dump-state ${DUMP})
  expect_exit(0)
  expect_dump("frames=3" "screenState=0" "transitionActive=1")

else()
  message(FATAL_ERROR "unknown case ${CASE}")
endif()
