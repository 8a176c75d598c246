# Wins a shipped level from the route in its source with kelvane-sim.
# -DSIM=program -DDATA=data folder -DSOURCE=level source -DFRAME_MS=ms
get_filename_component(name ${SOURCE} NAME)
string(SUBSTRING ${name} 0 2 number)
file(GLOB levels ${DATA}/LEVEL/${number}-*.lev)
list(LENGTH levels count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "no single level file numbered ${number} in ${DATA}/LEVEL")
endif()
get_filename_component(level ${levels} NAME)
execute_process(
  COMMAND ${SIM} --data ${DATA} --level LEVEL/${level} --route ${SOURCE} --until won
          --frame-ms ${FRAME_MS}
  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${level} at ${FRAME_MS} ms was not won (exit ${result}):\n${out}${err}")
endif()
message(STATUS "${level} at ${FRAME_MS} ms: ${out}")
