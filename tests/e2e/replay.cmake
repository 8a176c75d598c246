# Replays and best times through the game: level 1 won along its route
# (kelvane-sim's key script, 50 ms frames) writes records.ini, last.kvr and
# best-<level>.kvr under XDG_DATA_HOME; --replay of last.kvr ends in the same
# world as the recorded run; a data set whose level 1 differs by one cell, or
# a damaged replay, is refused with exit code 2; a plain FILE.lev or FILE.kvr
# argument opens that file.
# -DSIM=kelvane-sim -DKELVANE=kelvane -DLEVELTOOL=kelvane-level -DDATA=data
# folder -DSOURCES=level sources -DWORK=scratch folder

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(home ${WORK}/data_home)
set(replays ${home}/kelvane/replays)

# Runs the game with its own data and config homes; out: result, err, dump.
function(game dump)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env XDG_DATA_HOME=${home} XDG_CONFIG_HOME=${WORK}/config
            ${KELVANE} --headless --dump-state ${dump} ${ARGN}
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(result ${result} PARENT_SCOPE)
  set(err "${out}${err}" PARENT_SCOPE)
  set(dump "" PARENT_SCOPE)
  if(EXISTS ${dump})
    file(READ ${dump} text)
    set(dump "${text}" PARENT_SCOPE)
  endif()
endfunction()

function(expect_lines dump)
  foreach(line ${ARGN})
    string(FIND "\n${dump}" "\n${line}\n" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "expected ${line} in:\n${dump}")
    endif()
  endforeach()
endfunction()

file(GLOB level RELATIVE ${DATA}/LEVEL ${DATA}/LEVEL/01-*.lev)
file(GLOB source ${SOURCES}/01-*.txt)
execute_process(
  COMMAND ${SIM} --data ${DATA} --level LEVEL/${level} --route ${source} --until won
          --frame-ms 50 --seed 1 --emit-script ${WORK}/01.txt
  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT result EQUAL 0 OR NOT out MATCHES "won.frame=([0-9]+)")
  message(FATAL_ERROR "no winning key script for ${level} (exit ${result}):\n${out}${err}")
endif()
set(won ${CMAKE_MATCH_1})
math(EXPR frames "${won} + 1")
math(EXPR best "${won} * 50")

# The recorded run.
game(${WORK}/recorded.txt --data ${DATA} --frame-ms 50 --seed 1 --frames ${frames} --level 0
     --script ${WORK}/01.txt)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the recorded run ended with ${result}:\n${err}")
endif()
set(recorded "${dump}")
expect_lines("${recorded}" "won.frame=${won}" "levelOutcome=2" "recordsBest=${best}"
             "recordsFile=${replays}/records.ini")
file(READ ${replays}/records.ini records)
string(TOLOWER "${level}" name)
string(REGEX REPLACE "\\.lev$" "" name "${name}")
if(NOT records MATCHES "\\[Best\\]\n${name}=${best}\n")
  message(FATAL_ERROR "records.ini does not hold ${name}=${best}:\n${records}")
endif()
foreach(kept last.kvr best-${name}.kvr)
  if(NOT EXISTS ${replays}/${kept})
    message(FATAL_ERROR "${kept} was not written in ${replays}")
  endif()
endforeach()
file(SHA256 ${replays}/last.kvr last_sum)

# Played back: the same frames, the same world; nothing recorded over it.
game(${WORK}/played.txt --data ${DATA} --replay ${replays}/last.kvr)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "--replay ended with ${result}:\n${err}")
endif()
expect_lines("${dump}" "replayFile=${replays}/last.kvr" "replayFrames=${frames}"
             "replayPlayed=${frames}" "replaySaved=")
foreach(key frames won\\.frame world\\.frame levelOutcome levelPlayMs lives dead grid\\.hash
            grid\\.changed random player\\.[a-z]+ soundStarts)
  string(REGEX MATCHALL "(^|\n)${key}=[^\n]*" want "${recorded}")
  if(NOT want)
    message(FATAL_ERROR "the recorded dump has no ${key}")
  endif()
  string(REGEX MATCHALL "(^|\n)${key}=[^\n]*" got "${dump}")
  if(NOT "${want}" STREQUAL "${got}")
    message(FATAL_ERROR "${key}: recorded ${want}, played back ${got}")
  endif()
endforeach()
file(SHA256 ${replays}/last.kvr after_sum)
if(NOT last_sum STREQUAL after_sum)
  message(FATAL_ERROR "playing last.kvr back recorded over it")
endif()

# The same replay as a plain argument (what the file manager passes).
game(${WORK}/plain.txt --data ${DATA} ${replays}/last.kvr)
expect_lines("${dump}" "replayFile=${replays}/last.kvr" "won.frame=${won}")

# A data set whose level 1 differs by one cell (the first of layer 0 turns
# from floor into bricks): refused.
set(changed ${WORK}/changed_data)
file(MAKE_DIRECTORY ${changed}/LEVEL)
file(GLOB entries LIST_DIRECTORIES true RELATIVE ${DATA} ${DATA}/*)
foreach(entry ${entries})
  string(TOUPPER "${entry}" upper)
  if(NOT upper STREQUAL "LEVEL" AND NOT upper STREQUAL "KELV.INI")
    file(CREATE_LINK ${DATA}/${entry} ${changed}/${entry} SYMBOLIC)
  endif()
endforeach()
file(READ ${source} text)
string(FIND "${text}" "Layer 0\n" at)
math(EXPR at "${at} + 8")
string(SUBSTRING "${text}" 0 ${at} head)
math(EXPR rest "${at} + 1")
string(SUBSTRING "${text}" ${rest} -1 tail)
get_filename_component(source_name ${source} NAME)
file(WRITE ${WORK}/changed/${source_name} "${head}B${tail}")
execute_process(COMMAND ${LEVELTOOL} compile ${WORK}/changed/${source_name}
                        ${changed}/LEVEL/${level} RESULT_VARIABLE result ERROR_VARIABLE err)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the changed level did not compile:\n${err}")
endif()
file(READ ${DATA}/LEVEL/${level} original HEX)
file(READ ${changed}/LEVEL/${level} different HEX)
string(LENGTH "${original}" length)
string(LENGTH "${different}" different_length)
if(original STREQUAL different OR NOT length EQUAL different_length)
  message(FATAL_ERROR "the changed level is not one cell away from the shipped one")
endif()
game(${WORK}/refused.txt --data ${changed} --replay ${replays}/last.kvr)
if(NOT result EQUAL 2 OR NOT err MATCHES "is not the one the replay was recorded on")
  message(FATAL_ERROR "a replay on a changed level: exit ${result}, expected 2 and the "
                      "reason:\n${err}")
endif()

# A damaged replay (cut short) is refused too.
execute_process(COMMAND head -c 100 ${replays}/last.kvr OUTPUT_FILE ${WORK}/cut.kvr)
game(${WORK}/cut.txt --data ${DATA} --replay ${WORK}/cut.kvr)
if(NOT result EQUAL 2 OR NOT err MATCHES "cannot be played")
  message(FATAL_ERROR "a cut replay: exit ${result}, expected 2 and the reason:\n${err}")
endif()

# A level file as the plain argument starts that level.
game(${WORK}/level.txt --data ${DATA} --frames 2 ${changed}/LEVEL/${level})
if(NOT result EQUAL 0)
  message(FATAL_ERROR "kelvane FILE.lev ended with ${result}:\n${err}")
endif()
expect_lines("${dump}" "levelFile=${changed}/LEVEL/${level}" "screenState=1" "levelCount=1")
