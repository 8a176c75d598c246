# The danger kelvane-sim measures along a route: frames in which a sentry
# chased the hero and the nearest it came, in a room whose sentry sees the
# hero only when he stands in the doorway's line.
# -DSIM=kelvane-sim -DLEVELTOOL=kelvane-level -DDATA=data folder
# -DLEVELS=tests/e2e/levels -DWORK=scratch folder
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(level ${WORK}/94-sentry-behind-wall.lev)
execute_process(COMMAND ${LEVELTOOL} compile ${LEVELS}/94-sentry-behind-wall.txt ${level}
                RESULT_VARIABLE result ERROR_VARIABLE err)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cannot compile the room: ${err}")
endif()

# run(NAME ROUTE UNTIL): chase and closest hold the measures of the run.
function(run name route until)
  file(WRITE ${WORK}/${name}.txt "${route}")
  execute_process(
    COMMAND ${SIM} --data ${DATA} --level ${level} --route ${WORK}/${name}.txt
            --frame-ms 50 ${until} --dump-state ${WORK}/${name}.dump
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  file(READ ${WORK}/${name}.dump dump)
  if(NOT dump MATCHES "\nsentries\\.chaseFrames=([0-9]+)\n")
    message(FATAL_ERROR "${name}: no sentries.chaseFrames in the dump (exit ${result}):\n${err}")
  endif()
  set(chase ${CMAKE_MATCH_1} PARENT_SCOPE)
  if(NOT dump MATCHES "\nhero\\.closestSentry=(-?[0-9]+)\n")
    message(FATAL_ERROR "${name}: no hero.closestSentry in the dump:\n${dump}")
  endif()
  set(closest ${CMAKE_MATCH_1} PARENT_SCOPE)
  set(outcome "${result}: ${out}${err}" PARENT_SCOPE)
endfunction()

# Waiting in the corner, out of sight: no chase, the sentry about five cells off.
run(hidden "Route = wait 1500\n" "")
if(NOT chase EQUAL 0 OR closest LESS 2000 OR closest GREATER 3500)
  message(FATAL_ERROR "hidden: chased ${chase} frames, closest ${closest} (${outcome})")
endif()

# Stepping into the doorway's line: seen, chased and caught.
run(seen "Route = goto 3 2\nRoute = wait 8000\n" "--until;dead")
if(NOT outcome MATCHES "^0: .*dead=1" OR chase LESS 5 OR closest GREATER 300)
  message(FATAL_ERROR "seen: chased ${chase} frames, closest ${closest} (${outcome})")
endif()
message(STATUS "hidden: chase 0; seen: chase ${chase} frames, closest ${closest}")
