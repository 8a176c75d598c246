# Wins a shipped level with sentries from its route for every level seed 1 to
# 8: the source's Seed line is changed, the source compiled with kelvane-level
# and the route replayed at 20, 50 and 90 ms. Sentries roam by the seed, so a
# route that only wins when they happen to drift away fails here.
# -DSIM=program -DLEVELTOOL=program -DDATA=data folder -DSOURCE=level source -DWORK=folder
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
get_filename_component(name ${SOURCE} NAME)
file(READ ${SOURCE} text)
if(NOT text MATCHES "\nSeed *= *[0-9]+")
  message(FATAL_ERROR "${name} has no Seed line")
endif()

set(failures "")
foreach(seed RANGE 1 8)
  string(REGEX REPLACE "\nSeed *= *[0-9]+" "\nSeed = ${seed}" seeded "${text}")
  file(MAKE_DIRECTORY ${WORK}/${seed})
  file(WRITE ${WORK}/${seed}/${name} "${seeded}")
  execute_process(COMMAND ${LEVELTOOL} compile ${WORK}/${seed}/${name} ${WORK}/${seed}/level.lev
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${name} with seed ${seed} did not compile:\n${out}${err}")
  endif()
  foreach(ms 20 50 90)
    execute_process(
      COMMAND ${SIM} --data ${DATA} --level ${WORK}/${seed}/level.lev
              --route ${WORK}/${seed}/${name} --until won --frame-ms ${ms}
      RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT result EQUAL 0)
      string(APPEND failures "  seed ${seed} at ${ms} ms: ${out}${err}")
    endif()
  endforeach()
endforeach()
if(failures)
  message(FATAL_ERROR "${name} was not won from its route:\n${failures}")
endif()
