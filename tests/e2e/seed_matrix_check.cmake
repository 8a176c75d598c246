# The seed check itself: it compiles the level once per seed with that seed,
# passes a route that wins, and fails a route that loses naming the level,
# the seed and the frame time of every losing run.
# -DSIM=kelvane-sim -DLEVELTOOL=kelvane-level -DDATA=data folder
# -DLEVELS=tests/e2e/levels -DMATRIX=seed_matrix.cmake -DWORK=scratch folder
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/sources)
file(READ ${LEVELS}/93-short-walk.txt room)

# check(NAME ROUTE): result and said hold the matrix's exit code and output.
function(check name route)
  # Route lines belong to the header, before the legend.
  string(REPLACE "\nLegend\n" "\n${route}\nLegend\n" source "${room}")
  file(WRITE ${WORK}/sources/${name}.txt "${source}")
  execute_process(
    COMMAND ${CMAKE_COMMAND} -DSIM=${SIM} -DLEVELTOOL=${LEVELTOOL} -DDATA=${DATA}
            -DSOURCE=${WORK}/sources/${name}.txt -DSEEDS=3,7 -DFRAME_TIMES=50,90
            -DWORK=${WORK}/${name} -P ${MATRIX}
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(result ${result} PARENT_SCOPE)
  set(said "${out}${err}" PARENT_SCOPE)
endfunction()

check(93-walks "Route = goto 2 7\nRoute = wait-until won\n")
if(NOT result EQUAL 0 OR NOT said MATCHES "93-walks.txt: won in all 4 runs")
  message(FATAL_ERROR "a winning route was not passed (${result}):\n${said}")
endif()
execute_process(COMMAND ${LEVELTOOL} info ${WORK}/93-walks/93-walks-seed7.lev OUTPUT_VARIABLE info)
if(NOT info MATCHES "\nseed=7\n")
  message(FATAL_ERROR "the level was not compiled with seed 7:\n${info}")
endif()

check(93-stops "Route = goto 2 4\nRoute = wait-until won timeout 2000\n")
if(result EQUAL 0)
  message(FATAL_ERROR "a losing route was passed:\n${said}")
endif()
foreach(run "seed 3 at 50 ms" "seed 3 at 90 ms" "seed 7 at 50 ms" "seed 7 at 90 ms")
  if(NOT said MATCHES "93-stops.txt ${run} \\(exit 1\\): [^\n]*wait-until won")
    message(FATAL_ERROR "the losing run ${run} was not named:\n${said}")
  endif()
endforeach()
message(STATUS "the seed check passes a winning route and names each losing run")
