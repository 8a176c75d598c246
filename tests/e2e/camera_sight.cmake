# Replays every shipped route at one camera view with kelvane-sim and looks
# at what the camera shows every EVERY frames: its eye is never inside
# anything, and the hero's head is in sight in at least 98 % of the samples.
# -DSIM=program -DDATA=data folder -DSOURCES=level sources -DVIEW=1..3 -DEVERY=frames
file(GLOB sources ${SOURCES}/*.txt)
list(SORT sources)
set(samples 0)
set(hidden 0)
set(in_wall 0)
set(report "")
foreach(source ${sources})
  file(STRINGS ${source} route_lines REGEX "^Route *=")
  if(NOT route_lines)
    continue()
  endif()
  get_filename_component(name ${source} NAME)
  string(SUBSTRING ${name} 0 2 number)
  file(GLOB level ${DATA}/LEVEL/${number}-*.lev)
  get_filename_component(level ${level} NAME)
  execute_process(
    COMMAND ${SIM} --data ${DATA} --level LEVEL/${level} --route ${source} --until won
            --frame-ms 50 --seed 1 --camera-view ${VIEW} --camera-every ${EVERY}
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT result EQUAL 0 OR NOT out MATCHES
     "camera.samples=([0-9]+) camera.clear=([0-9]+) camera.hidden=([0-9]+) camera.inWall=([0-9]+)")
    message(FATAL_ERROR "${level} at camera view ${VIEW} was not won (exit ${result}):\n${out}${err}")
  endif()
  math(EXPR samples "${samples} + ${CMAKE_MATCH_1}")
  math(EXPR hidden "${hidden} + ${CMAKE_MATCH_3}")
  math(EXPR in_wall "${in_wall} + ${CMAKE_MATCH_4}")
  string(APPEND report "  ${level}: ${CMAKE_MATCH_1} samples, ${CMAKE_MATCH_3} hidden, "
                       "${CMAKE_MATCH_4} inside a wall\n")
endforeach()
message(STATUS "camera view ${VIEW}, every ${EVERY} frames:\n${report}"
               "  all: ${samples} samples, ${hidden} hidden, ${in_wall} inside a wall")
if(samples EQUAL 0)
  message(FATAL_ERROR "no frame was sampled")
endif()
math(EXPR hidden_limit "${samples} / 50") # 2 %
if(in_wall GREATER 0 OR hidden GREATER hidden_limit)
  message(FATAL_ERROR "camera view ${VIEW}: ${in_wall} samples inside a wall, ${hidden} of "
                      "${samples} with the hero hidden (at most ${hidden_limit})\n${report}")
endif()
