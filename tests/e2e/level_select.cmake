# The level select through the game: levels and packs in the user's levels
# folder (XDG_DATA_HOME) are listed with what cannot be read and why, a loose
# level chosen by script is played, and a pack's second level follows its
# first on a win, with the best time kept under the pack's name.
# -DSIM=kelvane-sim -DKELVANE=kelvane -DDATA=data folder -DSOURCES=level
# sources -DWORK=scratch folder [-DSHOTS=folder for the screenshots]

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(home ${WORK}/data_home)
set(levels ${home}/kelvane/levels)
if(NOT SHOTS)
  set(SHOTS ${WORK})
endif()

function(game dump script)
  file(WRITE ${WORK}/script.txt "${script}")
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env XDG_DATA_HOME=${home} XDG_CONFIG_HOME=${WORK}/config
            ${KELVANE} --headless --data ${DATA} --frame-ms 50 --seed 1
            --script ${WORK}/script.txt --dump-state ${dump} ${ARGN}
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "the game ended with ${result}:\n${out}${err}")
  endif()
  file(READ ${dump} text)
  set(dump "${text}" PARENT_SCOPE)
endfunction()

function(expect_lines dump)
  foreach(line ${ARGN})
    string(FIND "\n${dump}" "\n${line}\n" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "expected ${line} in:\n${dump}")
    endif()
  endforeach()
endfunction()

# The user's levels: a copy of the first campaign level, a damaged level, a
# pack whose pack.ini is damaged and a pack of two levels in its own order.
file(GLOB first ${DATA}/LEVEL/01-*.lev)
file(GLOB second ${DATA}/LEVEL/02-*.lev)
file(MAKE_DIRECTORY ${levels}/badpack ${levels}/duo)
file(COPY_FILE ${first} ${levels}/mine.lev)
file(WRITE ${levels}/broken.lev "not a level")
file(COPY_FILE ${first} ${levels}/badpack/a.lev)
file(WRITE ${levels}/badpack/pack.ini "[Pack]\nname=Bad\nthis line is no key\n")
file(COPY_FILE ${second} ${levels}/duo/b.lev)
file(COPY_FILE ${first} ${levels}/duo/a.lev)
file(WRITE ${levels}/duo/pack.ini "[Pack]\nname=Duo\nauthor=Tester\norder=a.lev, b.lev\n")

# Listed in order, the damaged ones with their reasons; the game runs on.
game(${WORK}/listed.txt "2 L\n" --frames 6 --screenshot ${SHOTS}/level_select.png)
expect_lines("${dump}" "screenState=0" "levelSelect.open=1" "levelSelect.selected=1"
             "levelSelect=28" "levelSelect.21=MY LEVELS|||0|-|open"
             "levelSelect.22=MY LEVELS|broken||0|-|damaged level file"
             "levelSelect.24=badpack|||0|-|damaged pack.ini line 3: neither a key nor a section"
             "levelSelect.25=Duo||Tester|0|-|open")
foreach(want "levelSelect.0=CAMPAIGN\\|\\|" "levelSelect.1=CAMPAIGN\\|FIRST STEPS\\|[^|\n]*\\|0\\|-\\|open"
        "levelSelect.2=CAMPAIGN\\|[^|\n]+\\|[^|\n]*\\|0\\|-\\|locked"
        "levelSelect.23=MY LEVELS\\|FIRST STEPS\\|" "levelSelect.26=Duo\\|FIRST STEPS\\|"
        "levelSelect.27=Duo\\|LADDERS AND LEDGES\\|")
  if(NOT dump MATCHES "(^|\n)${want}")
    message(FATAL_ERROR "expected ${want} in:\n${dump}")
  endif()
endforeach()

# Up from the first campaign level goes round to the last rows: the pack's
# two levels, then the loose copy. Jump plays it.
game(${WORK}/mine.txt "2 L\n4 UP\n6 UP\n8 UP\n10 SPACE\n" --frames 40
     --screenshot ${SHOTS}/level_select_play.png)
expect_lines("${dump}" "screenState=1" "levelFile=${levels}/mine.lev" "practice=1"
             "practice.set=MY LEVELS" "levelSelect.open=0" "levelSelect.selected=23" "lives=3")

# The winning keys of the first level, shifted to start with the pack's
# first level chosen (left from the campaign goes round to the last set).
file(GLOB source ${SOURCES}/01-*.txt)
execute_process(
  COMMAND ${SIM} --data ${DATA} --level ${first} --route ${source} --until won --frame-ms 50
          --seed 1 --emit-script ${WORK}/won.txt
  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT result EQUAL 0 OR NOT out MATCHES "won.frame=([0-9]+)")
  message(FATAL_ERROR "no winning key script for level 1 (exit ${result}):\n${out}${err}")
endif()
set(won ${CMAKE_MATCH_1})
set(choose "2 L\n4 LEFT\n6 SPACE\n")
game(${WORK}/chosen.txt "${choose}" --frames 40)
expect_lines("${dump}" "screenState=1" "levelFile=${levels}/duo/a.lev" "practice.set=Duo")
if(NOT dump MATCHES "\nlevelStartFrame=([0-9]+)\n")
  message(FATAL_ERROR "no levelStartFrame in:\n${dump}")
endif()
set(start ${CMAKE_MATCH_1})
file(STRINGS ${WORK}/won.txt lines)
set(script "${choose}")
foreach(line ${lines})
  if(line MATCHES "^([0-9]+)(-([0-9]+))?( .*)$")
    math(EXPR a "${CMAKE_MATCH_1} + ${start}")
    set(range ${a})
    if(CMAKE_MATCH_3)
      math(EXPR b "${CMAKE_MATCH_3} + ${start}")
      set(range "${a}-${b}")
    endif()
    string(APPEND script "${range}${CMAKE_MATCH_4}\n")
  endif()
endforeach()
math(EXPR frames "${start} + ${won} + 120")
game(${WORK}/next.txt "${script}" --frames ${frames})
expect_lines("${dump}" "screenState=1" "levelFile=${levels}/duo/b.lev" "practice=1"
             "levelStarts=2" "levelIndex=1" "lives=3")
file(READ ${home}/kelvane/replays/records.ini records)
if(NOT records MATCHES "\nduo--a=[0-9]+\n" OR records MATCHES "\n01-")
  message(FATAL_ERROR "the pack's best time is not kept under its own name:\n${records}")
endif()

# Listed again: the pack's first level shows its win and time, the
# campaign's own first level (the same file) does not.
game(${WORK}/again.txt "2 L\n" --frames 4 --screenshot ${SHOTS}/level_select_won.png)
if(NOT dump MATCHES "\nlevelSelect.26=Duo\\|FIRST STEPS\\|[^|\n]*\\|1\\|[0-9]+\\|open\n"
   OR NOT dump MATCHES "\nlevelSelect.1=CAMPAIGN\\|FIRST STEPS\\|[^|\n]*\\|0\\|-\\|open\n")
  message(FATAL_ERROR "the won pack level is not shown as won, or the campaign's is:\n${dump}")
endif()
