# cmake -DKELVANE=<program> -DDATASET=<built data> -DWORK=<folder> -DCASE=<name> -P run_case.cmake
# Makes a fresh fixture folder for the case, runs the game and checks it. The
# game's per-user settings go to WORK/config, never the user's own.

cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/dump_lines.cmake)

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(DATA ${WORK}/data)
set(DUMP ${WORK}/state.txt)

function(run)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_CONFIG_HOME=${WORK}/config ${KELVANE} ${ARGN}
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
  expect_dump_lines(${DUMP} ${ARGN})
endfunction()

function(touch path)
  file(WRITE ${path} "")
endfunction()

# DATA as the built data set (links to its entries), without its level
# folder unless `with_levels` is given.
function(link_data_set)
  file(MAKE_DIRECTORY ${DATA})
  file(GLOB entries LIST_DIRECTORIES true RELATIVE ${DATASET} ${DATASET}/*)
  foreach(entry ${entries})
    string(TOUPPER "${entry}" upper)
    if(upper STREQUAL "LEVEL" AND NOT "with_levels" IN_LIST ARGN)
      continue()
    endif()
    if(upper STREQUAL "KELV.INI")
      continue()
    endif()
    file(CREATE_LINK ${DATASET}/${entry} ${DATA}/${entry} SYMBOLIC)
  endforeach()
endfunction()

function(expect_file_line file line)
  file(STRINGS ${file} lines)
  if(NOT "${line}" IN_LIST lines)
    file(READ ${file} text)
    message(FATAL_ERROR "expected the line ${line} in ${file}:\n${text}")
  endif()
endfunction()

set(HEADLESS --headless --data ${DATA} --frames 3 --frame-ms 50 --dump-state ${DUMP})

if(CASE STREQUAL "level_list")
  link_data_set()
  touch(${DATA}/LEVEL/b1)
  touch(${DATA}/LEVEL/A1)
  touch(${DATA}/LEVEL/a1)
  touch(${DATA}/LEVEL/z) # a one-character name is not a level
  run(${HEADLESS})
  expect_exit(0)
  expect_dump("frames=3" "now=150" "frameMs=50" "initialised=1" "screenState=0"
              "transitionActive=0" "messageShown=0" "levelCount=3"
              "level0=LEVEL\\A1" "level1=LEVEL\\a1" "level2=LEVEL\\b1")

elseif(CASE STREQUAL "keyboard_controls")
  # Headless runs have no joystick, whatever is plugged in: the script alone
  # fills the flags (turn left and jump).
  link_data_set()
  touch(${DATA}/LEVEL/l1)
  file(WRITE ${WORK}/input.txt "1-3 LEFT SPACE\n")
  run(${HEADLESS} --script ${WORK}/input.txt)
  expect_exit(0)
  expect_dump("frames=3" "initialised=1" "controls=00101000" "joystickAbsent=1")

elseif(CASE STREQUAL "camera_keys")
  # The main row's + and - (script keys PLUS and MINUS) move the camera as the
  # keypad's do: two steps farther and one closer is camera view 1, whose eye
  # then stands clear of the walls with the hero in sight.
  link_data_set(with_levels)
  file(WRITE ${WORK}/input.txt "2 MINUS\n4 SUBTRACT\n6 PLUS\n")
  run(${HEADLESS} --level 0 --frames 60 --script ${WORK}/input.txt)
  expect_exit(0)
  expect_dump("cameraDistance=512" "camera.sight=clear")
  file(WRITE ${WORK}/input.txt "2 MINUS\n4 ADD\n")
  run(${HEADLESS} --level 0 --frames 10 --script ${WORK}/input.txt)
  expect_exit(0)
  expect_dump("cameraDistance=0" "camera.sight=clear" "camera.fade=1")

elseif(CASE STREQUAL "bound_jump")
  # kelv.ini binds the jump to J: held on the first level, J jumps the hero
  # and SPACE does nothing; a name that is no key keeps its default.
  link_data_set(with_levels)
  file(WRITE ${WORK}/config/kelvane/kelv.ini "[Controls]\nJump=J\nLook=NOPE\n")
  set(LEVEL_RUN --headless --data ${DATA} --frames 12 --frame-ms 50 --level 0 --dump-state ${DUMP})
  file(WRITE ${WORK}/j.txt "8-12 J\n")
  run(${LEVEL_RUN} --script ${WORK}/j.txt)
  expect_exit(0)
  expect_stderr("kelv.ini: [Controls] Look=NOPE: no such key; CTRL kept")
  expect_dump("controls=00001000" "binding.Jump=J,A" "binding.Look=CTRL,B" "onGround=0")
  file(WRITE ${WORK}/space.txt "8-12 SPACE\n")
  run(${LEVEL_RUN} --script ${WORK}/space.txt)
  expect_exit(0)
  expect_dump("controls=00000000" "onGround=1")

elseif(CASE STREQUAL "screenshot_key")
  # F12 writes the picture shown now as a PNG in $XDG_PICTURES_DIR/Kelvane
  # and names the file; a second press in the same second takes a new name.
  link_data_set(with_levels)
  file(WRITE ${WORK}/f12.txt "2 F12\n4 F12\n")
  execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_CONFIG_HOME=${WORK}/config
      XDG_PICTURES_DIR=${WORK}/pictures ${KELVANE} --headless --data ${DATA} --frames 5 --frame-ms 50 --dump-state ${DUMP}
      --script ${WORK}/f12.txt
    WORKING_DIRECTORY ${WORK} RESULT_VARIABLE rc ERROR_VARIABLE err TIMEOUT 50)
  expect_exit(0)
  file(GLOB shots ${WORK}/pictures/Kelvane/kelvane-*.png)
  list(LENGTH shots count)
  if(NOT count EQUAL 2)
    message(FATAL_ERROR "expected two screenshots, found: ${shots}\n${err}")
  endif()
  list(SORT shots)
  list(GET shots 0 shot)
  expect_stderr("screenshot: ${shot}")
  file(READ ${shot} signature LIMIT 8 HEX)
  file(SIZE ${shot} size)
  if(NOT signature STREQUAL "89504e470d0a1a0a" OR size LESS 1000)
    message(FATAL_ERROR "${shot} is not a PNG picture (${signature}, ${size} bytes)")
  endif()
  file(STRINGS ${DUMP} last REGEX "^lastScreenshot=${WORK}/pictures/Kelvane/kelvane-.*png$")
  file(STRINGS ${DUMP} message REGEX "^messageShown=1$")
  if(NOT last OR NOT message)
    message(FATAL_ERROR "the dump does not name a screenshot or show the message")
  endif()

elseif(CASE STREQUAL "controls_page")
  # O on the title opens the controls and sound page: fire on its first row
  # waits for a key, W binds it to Forward; eight rows down, left twice takes
  # the music to 80; Escape leaves and writes both to kelv.ini, and the title
  # stays (the Escape still held does not end the program).
  link_data_set(with_levels)
  set(keys "2 O\n4 SPACE\n6 W\n")
  foreach(frame 8 10 12 14 16 18 20 22)
    string(APPEND keys "${frame} DOWN\n")
  endforeach()
  string(APPEND keys "24 LEFT\n26 LEFT\n28-31 ESC\n")
  file(WRITE ${WORK}/page.txt "${keys}")
  run(--headless --data ${DATA} --frames 27 --frame-ms 50 --dump-state ${DUMP}
      --script ${WORK}/page.txt)
  expect_exit(0)
  expect_dump("binding.Forward=W,UP" "controlsScreen.open=1" "controlsScreen.selected=8"
              "controlsScreen.waiting=0" "musicVolume=80")
  file(REMOVE ${WORK}/config/kelvane/kelv.ini) # the same start as the first run
  run(--headless --data ${DATA} --frames 34 --frame-ms 50 --dump-state ${DUMP}
      --script ${WORK}/page.txt)
  expect_exit(0)
  expect_dump("screenState=0" "controlsScreen.open=0")
  expect_file_line(${WORK}/config/kelvane/kelv.ini "Forward=W")
  expect_file_line(${WORK}/config/kelvane/kelv.ini "MusicVolume=80")
  expect_file_line(${WORK}/config/kelvane/kelv.ini "Jump=SPACE")

elseif(CASE STREQUAL "level_folder_empty")
  link_data_set()
  file(MAKE_DIRECTORY ${DATA}/LEVEL)
  run(${HEADLESS})
  expect_exit(0)
  expect_stderr("GAME: No level files (LEVEL\\ folder).")
  expect_dump("initialised=0" "levelCount=0")

elseif(CASE STREQUAL "level_folder_missing")
  link_data_set()
  run(${HEADLESS})
  expect_exit(0)
  expect_stderr("GAME: Problem reading level files (LEVEL\\ folder).")

elseif(CASE STREQUAL "network_lobby")
  touch(${DATA}/LEVEL/l1)
  run(/network ${HEADLESS})
  expect_exit(0)
  expect_dump("frames=3" "initialised=0" "networkLobby=1" "screenState=5")
  # The lobby's buttons as the script reaches them: Go is not there before a
  # session exists, so the run fails after saying so.
  file(WRITE ${WORK}/lobby.txt "1 F CLICK JoinGame\n2 F CLICK Go\n")
  run(/network ${HEADLESS} --nickname Ann --script ${WORK}/lobby.txt)
  expect_exit(1)
  expect_stderr("kelvane: script frame 2: no button 'Go' shown")
  # The nickname prompt comes before frame 1; the script's answer of frame 1
  # fills it, and the settings keep it.
  file(WRITE ${WORK}/nickname.txt "1 F ANSWER Zed\n")
  run(/network ${HEADLESS} --script ${WORK}/nickname.txt)
  expect_exit(0)
  file(STRINGS ${WORK}/config/kelvane/kelv.ini nickname REGEX "^NickName=")
  if(NOT nickname STREQUAL "NickName=Zed")
    message(FATAL_ERROR "the script's answer is not the nickname: ${nickname}")
  endif()

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

elseif(CASE STREQUAL "option_keys")
  # Each run taps keys on single frames; the data folder's own kelv.ini keeps
  # what a run leaves for the next.
  link_data_set(with_levels)
  touch(${DATA}/kelv.ini)
  set(SCRIPT ${WORK}/input.txt)
  function(run_script text)
    file(WRITE ${SCRIPT} "${text}")
    run(${HEADLESS} --frames 8 --script ${SCRIPT})
    expect_exit(0)
  endfunction()

  run_script("2 F4\n")
  expect_dump("messageText=RESOLUTION 512x384" "stereoMode=0" "pictureWidth=512"
              "pictureHeight=384" "fullScreen=0" "textureDetail=High"
              "settingsPath=${DATA}/kelv.ini")
  expect_file_line(${DATA}/kelv.ini "Resolution=3")
  run_script("2 F5\n")
  expect_dump("messageText=TEXTURE MODE OFF" "pictureHeight=384" "textureDetail=Low")
  expect_file_line(${DATA}/kelv.ini "Texture=False")
  run_script("2 F7\n")
  expect_dump("messageText=MUSIC OFF" "musicOn=0")
  run_script("2 F8\n")
  expect_dump("messageText=STEREOSCOPIC RED/BLUE MODE" "stereoMode=1")
  run_script("2 F8\n4 F8\n")
  expect_dump("messageText=STEREOSCOPIC RED/GREEN MODE" "stereoMode=2")
  run_script("2 F8\n4 F8\n6 F8\n")
  expect_dump("messageText=STEREOSCOPIC MODE OFF" "stereoMode=0")
  run_script("2 F9\n3 F11\n")
  expect_dump("messageText=EXCLUSIVE MODE ON" "exclusiveMode=1" "showFps=1")
  run_script("2 F1\n")
  # F1 shows the help on its own panel, not on the message line.
  expect_dump("messageShown=0" "helpShown=1")
  # What the runs changed is there for the next start.
  expect_file_line(${DATA}/kelv.ini "Resolution=3")
  expect_file_line(${DATA}/kelv.ini "Texture=False")
  expect_file_line(${DATA}/kelv.ini "Fullscreen=False")
  if(EXISTS ${WORK}/config/kelvane/kelv.ini)
    message(FATAL_ERROR "the per-user settings were written, not the data folder's")
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

elseif(CASE STREQUAL "level_file_places")
  # A relative --level is looked for where the game was started, then inside
  # the data folder (in any letter case); a name found in neither is refused.
  link_data_set(with_levels)
  file(COPY_FILE ${DATASET}/LEVEL/01-FirstSteps.lev ${WORK}/mine.lev)
  run(${HEADLESS} --level mine.lev)
  expect_exit(0)
  expect_dump("screenState=1" "levelCount=1" "level0=${WORK}/mine.lev")
  run(${HEADLESS} --level level/01-firststeps.lev)
  expect_exit(0)
  expect_dump("screenState=1" "levelCount=1" "level0=level/01-firststeps.lev")
  run(${HEADLESS} --level nowhere.lev)
  expect_exit(2)
  expect_stderr("--level: the level file 'nowhere.lev' does not exist")

elseif(CASE STREQUAL "missing_data_folder")
  run(--headless --data ${WORK}/nowhere)
  expect_exit(2)
  expect_stderr("does not exist")

elseif(CASE STREQUAL "game_dat_missing")
  link_data_set()
  touch(${DATA}/LEVEL/l1)
  file(REMOVE ${DATA}/game.dat) # the link only
  run(${HEADLESS})
  expect_exit(0)
  expect_stderr("GAME: The file game.dat does not exist. Please re-install the application")
  expect_dump("initialised=0")

elseif(CASE STREQUAL "title_pages")
  # Pages of 15.5 s: the demo page at 310 frames of 50 ms; page 0 returns
  # with the next text variant every 31 s.
  link_data_set()
  touch(${DATA}/LEVEL/l1)
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
  link_data_set(with_levels)
  foreach(script "1 SPACE\n5 SPACE\n" "1-40 SPACE\n")
    file(WRITE ${WORK}/input.txt "${script}")
    run(--headless --data ${DATA} --frames 45 --frame-ms 50 --seed 3 --script ${WORK}/input.txt
        --dump-state ${DUMP})
    expect_exit(0)
    expect_dump("screenState=1" "screenEnteredAt=950" "levelOutcome=0" "levelIndex=0"
                "levelStarts=1" "lives=3")
  endforeach()

elseif(CASE STREQUAL "menu_controls")
  # The in-game menu's CONTROLS AND SOUND row opens the page over the paused
  # play: the level's time stands still while it is open. There the jump is
  # bound to J; once the page and the menu are closed, J jumps the hero.
  link_data_set(with_levels)
  set(keys "4 ESC\n6 DOWN\n8 DOWN\n10 DOWN\n12 DOWN\n14 SPACE\n")
  string(APPEND keys "16 DOWN\n18 DOWN\n20 DOWN\n22 DOWN\n24 SPACE\n26 J\n28 ESC\n31 ESC\n34-40 J\n")
  file(WRITE ${WORK}/menu.txt "${keys}")
  set(LEVEL_RUN --headless --data ${DATA} --frame-ms 50 --level 0 --dump-state ${DUMP}
      --script ${WORK}/menu.txt)
  run(${LEVEL_RUN} --frames 16)
  expect_exit(0)
  foreach(line "menu.open=1" "menu.selected=4" "controlsScreen.open=1")
    expect_dump(${line})
  endforeach()
  file(STRINGS ${DUMP} paused REGEX "^levelPlayMs=")
  run(${LEVEL_RUN} --frames 25)
  expect_exit(0)
  foreach(line "controlsScreen.open=1" "controlsScreen.selected=4" "controlsScreen.waiting=1")
    expect_dump(${line})
  endforeach()
  expect_dump("${paused}")
  run(${LEVEL_RUN} --frames 40)
  expect_exit(0)
  foreach(line "menu.open=0" "controlsScreen.open=0" "binding.Jump=J,A" "onGround=0")
    expect_dump(${line})
  endforeach()
  expect_file_line(${WORK}/config/kelvane/kelv.ini "Jump=J")

elseif(CASE STREQUAL "menu_controls_pad")
  # The same through the script's controller: Y opens the menu, the pad moves
  # and A chooses; on the page the controller's X becomes the jump, Y leaves
  # the page and then the menu, and X jumps the hero.
  link_data_set(with_levels)
  set(keys "4 PAD_Y\n6 PAD_DOWN\n8 PAD_DOWN\n10 PAD_DOWN\n12 PAD_DOWN\n14 PAD_A\n")
  string(APPEND keys "16 PAD_DOWN\n18 PAD_DOWN\n20 PAD_DOWN\n22 PAD_DOWN\n24 PAD_A\n26 PAD_X\n")
  string(APPEND keys "28 PAD_Y\n31 PAD_Y\n34-40 PAD_X\n")
  file(WRITE ${WORK}/pad.txt "${keys}")
  set(LEVEL_RUN --headless --data ${DATA} --frame-ms 50 --level 0 --dump-state ${DUMP}
      --script ${WORK}/pad.txt)
  run(${LEVEL_RUN} --frames 16)
  expect_exit(0)
  foreach(line "joystickAbsent=0" "menu.open=1" "menu.selected=4" "controlsScreen.open=1")
    expect_dump(${line})
  endforeach()
  run(${LEVEL_RUN} --frames 40)
  expect_exit(0)
  foreach(line "menu.open=0" "controlsScreen.open=0" "binding.Jump=SPACE,X" "onGround=0")
    expect_dump(${line})
  endforeach()

elseif(CASE STREQUAL "title_escape")
  link_data_set()
  touch(${DATA}/LEVEL/l1)
  file(WRITE ${WORK}/input.txt "1 SPACE\n3 ESC\n")
  run(--headless --data ${DATA} --frames 100 --frame-ms 50 --script ${WORK}/input.txt
      --dump-state ${DUMP})
  expect_exit(0)
  expect_dump("frames=3" "screenState=0" "transitionActive=1")

else()
  message(FATAL_ERROR "unknown case ${CASE}")
endif()
