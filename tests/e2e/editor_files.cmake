# The editor's files and cells, end to end:
# - one session paced at 1 and at 15 frames between its commands saves the same bytes;
# - Save as onto an existing file: answered Cancel the file stays, answered Yes the old
#   content is kept as NAME.bak;
# - 200 x e-acute as the description is saved as 200 bytes 0xE9 and read back as typed;
# - F10 test-plays from the selector's cell and heading, and the game starts there;
# - two minutes of unsaved changes write the autosave, a crash's autosave is offered back;
# - the caption, and the Recent files in the dump.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(ENV{XDG_CONFIG_HOME} ${WORK}/config)
set(ENV{XDG_STATE_HOME} ${WORK}/state)
set(ENV{XDG_DATA_HOME} ${WORK}/share)
set(ENV{TMPDIR} ${WORK})

include(${CMAKE_CURRENT_LIST_DIR}/editor_steps.cmake)

function(edit name frames script)
  file(WRITE ${WORK}/${name}.txt "${script}")
  run(${KELVEDIT} --data ${DATA} --headless --frames ${frames} --frame-ms 50 --seed 1
      --script ${WORK}/${name}.txt --dump-state ${WORK}/${name}.dump)
  file(READ ${WORK}/${name}.dump dump)
  set(dump "${dump}" PARENT_SCOPE)
endfunction()

# One session, its commands `gap` frames apart: moves, turns and edits that
# follow each other at once while the selector still glides.
set(session
  "F ANSWER 7" "F ANSWER 3" "F ANSWER 7" "F MENU New1" "F SELECT ObjectCombo Red bricks"
  "UP" "UP" "SPACE" "CTRL RIGHT" "SPACE" "RIGHT" "UP" "SPACE" "H" "SPACE" "E" "E" "D"
  "LEFT" "UP" "UP" "DELETE" "B" "A" "X" "F MENU Z1" "CTRL LEFT" "S" "UP" "SPACE")
foreach(gap 1 15)
  set(script "")
  set(frame 2)
  foreach(command IN LISTS session)
    string(APPEND script "${frame} ${command}\n")
    math(EXPR frame "${frame} + ${gap}")
  endforeach()
  string(APPEND script "${frame} F FILE ${WORK}/paced${gap}.lev\n${frame} F MENU Saveas1\n")
  math(EXPR frames "${frame} + 2")
  edit(paced${gap} ${frames} "${script}")
endforeach()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/paced1.lev ${WORK}/paced15.lev
                RESULT_VARIABLE differs)
if(NOT differs EQUAL 0)
  message(FATAL_ERROR "the session paced at 1 and at 15 frames saved different levels")
endif()
file(READ ${WORK}/paced1.dump dump)
expect_lines("${dump}" "sizes=7,3,7" "currentObjectName=Red bricks" "modified=0")

# Save as onto an existing file, then the description of 200 e-acute.
file(WRITE ${WORK}/existing.lev "an older level")
string(REPEAT "é" 200 accents)
edit(replace 8 "2 F FILE ${WORK}/existing.lev
2 F ANSWER CANCEL
2 F MENU Saveas1
4 F ANSWER ${accents}
4 F MENU Leveldescription1
5 F FILE ${WORK}/existing.lev
5 F ANSWER YES
5 F MENU Saveas1
")
file(READ ${WORK}/existing.lev.bak kept)
if(NOT kept STREQUAL "an older level")
  message(FATAL_ERROR "the replaced file's content is not in its backup: '${kept}'")
endif()
expect_lines("${dump}" "fileName=${WORK}/existing.lev" "recent1=${WORK}/existing.lev"
  "description=${accents}")
# The 100 x 100 x 100 start level: the description at 4392 + 2 x 10^6.
file(READ ${WORK}/existing.lev stored OFFSET 2004392 LIMIT 202 HEX)
string(REPEAT "e9" 200 bytes)
if(NOT stored STREQUAL "c8${bytes}00")
  message(FATAL_ERROR "the description is not 200 bytes 0xE9: ${stored}")
endif()
run(${LEVELTOOL} info ${WORK}/existing.lev)
expect_lines("${output}" "description=${accents}")
# Cancel left the file alone: a second run answering Cancel keeps today's bytes.
file(SHA256 ${WORK}/existing.lev before)
edit(cancel 4 "2 F FILE ${WORK}/existing.lev\n2 F MENU Saveas1\n")
file(SHA256 ${WORK}/existing.lev after)
if(NOT before STREQUAL after)
  message(FATAL_ERROR "Save as answered Cancel (nothing queued) changed the file")
endif()
expect_lines("${dump}" "caption=Kelvane - Level Editor" "fileName=")

# Test-play from here: turned a quarter, two cells along +x.
edit(here 10 "2 F FILE ${WORK}/existing.lev
2 F MENU Load1
3 RIGHT
4 UP
5 UP
7 F10
8 F10
")
string(REGEX MATCH "testPlay=[^\n]*" launched "${dump}")
string(FIND "${launched}" " --start-cell 52,1,50 --start-heading 8192" at)
if(at EQUAL -1)
  message(FATAL_ERROR "F10 did not start from the selector: ${launched}")
endif()
run(${KELVANE} --data ${DATA} --headless --level ${WORK}/existing.lev --start-cell 52,1,50
    --start-heading 8192 --frames 3 --frame-ms 50 --seed 1 --dump-state ${WORK}/game.txt)
file(READ ${WORK}/game.txt game)
expect_lines("${game}" "player.cell=52,1,50" "player.heading=8192")

# Two minutes (2400 frames of 50 ms) of unsaved changes write the autosave; a
# clean exit removes it.
edit(autosave 2406 "2 F ANSWER 5\n2 F ANSWER 3\n2 F ANSWER 5\n2 F MENU New1
3 F SELECT ObjectCombo Red bricks\n4 SPACE\n")
expect_lines("${dump}" "autosaves=1" "modified=1")
string(REGEX MATCH "autosaveFile=${WORK}/state/kelvane/autosave/kelvedit-[0-9]+\\.lev\n" written
       "${dump}")
if(NOT written)
  message(FATAL_ERROR "no autosave written in:\n${dump}")
endif()
file(GLOB left ${WORK}/state/kelvane/autosave/*)
if(left)
  message(FATAL_ERROR "a clean exit left the autosave behind: ${left}")
endif()

# A crashed editor's autosave is offered at the next start; Yes restores it
# under the name of the file it was editing, with its changes unsaved.
file(COPY_FILE ${WORK}/paced1.lev ${WORK}/state/kelvane/autosave/kelvedit-999999999.lev)
file(WRITE ${WORK}/state/kelvane/autosave/kelvedit-999999999.name ${WORK}/mine.lev)
edit(restore 3 "1 F ANSWER YES\n")
expect_lines("${dump}" "autosaveRestored=${WORK}/state/kelvane/autosave/kelvedit-999999999.lev"
  "fileName=${WORK}/mine.lev" "modified=1" "sizes=7,3,7"
  "caption=Kelvane - Level Editor - ${WORK}/mine.lev *")
file(GLOB left ${WORK}/state/kelvane/autosave/*)
if(left)
  message(FATAL_ERROR "the restored autosave is still there after a clean exit: ${left}")
endif()
file(REMOVE_RECURSE ${WORK})
