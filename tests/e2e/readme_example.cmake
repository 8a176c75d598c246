# cmake -DKELVANE=<program> -DDATASET=<built data> -DREADME=<README.md> -DWORK=<folder>
#       -P readme_example.cmake
# Runs the README's headless example exactly as written there (the command
# and its walk.txt, with build/ standing for the build folder) and checks
# that the hero walked: the same run without the walking keys leaves him
# elsewhere.

cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(READ ${README} readme)

if(NOT readme MATCHES "\n    build/kelvane ([^\n]*)\\\\\n +([^\n]*)\n")
  message(FATAL_ERROR "no headless example command in ${README}")
endif()
set(command "${CMAKE_MATCH_1} ${CMAKE_MATCH_2}")
string(REPLACE "build/data" "${DATASET}" command "${command}")
separate_arguments(command UNIX_COMMAND "${command}")

if(NOT readme MATCHES "with this `walk.txt`:\n\n((    [^\n]*\n)+)")
  message(FATAL_ERROR "no walk.txt in ${README}")
endif()
string(REGEX REPLACE "(^|\n)    " "\\1" walk "${CMAKE_MATCH_1}")
message(STATUS "walk.txt:\n${walk}")

# run(SCRIPT_TEXT): the example's command in WORK with walk.txt holding it.
function(run text)
  file(WRITE ${WORK}/walk.txt "${text}")
  execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_CONFIG_HOME=${WORK}/config
      ${KELVANE} ${command}
    WORKING_DIRECTORY ${WORK} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err
    TIMEOUT 60)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "the example ended with ${rc}:\n${out}${err}")
  endif()
  file(READ ${WORK}/state.txt dump)
  foreach(key screenState player.x player.z player.cell)
    if(NOT dump MATCHES "(^|\n)${key}=([^\n]*)")
      message(FATAL_ERROR "no ${key} in the dump:\n${dump}")
    endif()
    set(${key} "${CMAKE_MATCH_2}" PARENT_SCOPE)
  endforeach()
endfunction()

run("${walk}")
if(NOT screenState EQUAL 1)
  message(FATAL_ERROR "the README's example never left the title (screen ${screenState})")
endif()
if(NOT EXISTS ${WORK}/last.png)
  message(FATAL_ERROR "the example wrote no last.png")
endif()
set(walked "${player.x} ${player.z} ${player.cell}")

string(REGEX REPLACE "[^\n]* UP\n" "" standing "${walk}")
run("${standing}")
set(stood "${player.x} ${player.z} ${player.cell}")
message(STATUS "walking: ${walked}; standing: ${stood}")
if(walked STREQUAL stood)
  message(FATAL_ERROR "the hero did not walk: ${walked}")
endif()
