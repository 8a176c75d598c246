# Wins a level from its route with its Seed line changed: the source is
# compiled again for every seed (kelvane-level compile) and the route replayed
# at every frame time. Every run is tried; the failures are named together.
# -DSIM=kelvane-sim -DLEVELTOOL=kelvane-level -DDATA=data folder
# -DSOURCE=level source -DSEEDS=1,2,... -DFRAME_TIMES=20,50,... -DWORK=scratch folder
string(REPLACE "," ";" seeds "${SEEDS}")
string(REPLACE "," ";" frame_times "${FRAME_TIMES}")
get_filename_component(name ${SOURCE} NAME)
get_filename_component(stem ${SOURCE} NAME_WE)
file(MAKE_DIRECTORY ${WORK})

file(READ ${SOURCE} text)
if(NOT text MATCHES "(^|\n)Seed *= *[0-9]+")
  message(FATAL_ERROR "${name} has no Seed line")
endif()

set(failures "")
set(runs 0)
foreach(seed ${seeds})
  # Only the Seed line changes; the route lines stay as written.
  string(REGEX REPLACE "(^|\n)Seed *= *[0-9]+" "\\1Seed = ${seed}" seeded "${text}")
  set(seeded_source ${WORK}/${name})
  set(level ${WORK}/${stem}-seed${seed}.lev)
  file(WRITE ${seeded_source} "${seeded}")
  execute_process(COMMAND ${LEVELTOOL} compile ${seeded_source} ${level}
                  RESULT_VARIABLE result ERROR_VARIABLE err)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${name} with seed ${seed} does not compile:\n${err}")
  endif()
  foreach(ms ${frame_times})
    math(EXPR runs "${runs} + 1")
    execute_process(
      COMMAND ${SIM} --data ${DATA} --level ${level} --route ${SOURCE} --until won
              --frame-ms ${ms}
      RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
    string(STRIP "${out}${err}" said)
    if(result EQUAL 0)
      message(STATUS "${name} seed ${seed} at ${ms} ms: ${said}")
    else()
      string(APPEND failures "\n  ${name} seed ${seed} at ${ms} ms (exit ${result}): ${said}")
    endif()
  endforeach()
endforeach()

if(failures)
  message(FATAL_ERROR "${name}: the route does not win for every seed:${failures}")
endif()
message(STATUS "${name}: won in all ${runs} runs")
