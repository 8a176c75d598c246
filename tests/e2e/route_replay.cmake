# Wins a shipped level from the route in its source with kelvane-sim.
# -DSIM=program -DDATA=data folder -DSOURCE=level source -DFRAME_MS=ms -DWORK=scratch folder
get_filename_component(name ${SOURCE} NAME)
string(SUBSTRING ${name} 0 2 number)
file(GLOB levels ${DATA}/LEVEL/${number}-*.lev)
list(LENGTH levels count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "no single level file numbered ${number} in ${DATA}/LEVEL")
endif()
get_filename_component(level ${levels} NAME)
file(MAKE_DIRECTORY ${WORK})
execute_process(
  COMMAND ${SIM} --data ${DATA} --level LEVEL/${level} --route ${SOURCE} --until won
          --frame-ms ${FRAME_MS} --dump-state ${WORK}/${number}-${FRAME_MS}ms.txt
  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${level} at ${FRAME_MS} ms was not won (exit ${result}):\n${out}${err}")
endif()
# What the route met of the sentries, for the log.
file(STRINGS ${WORK}/${number}-${FRAME_MS}ms.txt danger
     REGEX "^(sentries\\.chaseFrames|hero\\.closestSentry)=")
string(STRIP "${out}" out)
list(JOIN danger " " danger)
message(STATUS "${level} at ${FRAME_MS} ms: ${out} ${danger}")
