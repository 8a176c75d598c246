# The vault's sentries are a real threat: its route wins by running from the
# last ingot to the exit at once, and the same route with a stop of five
# seconds after that ingot gets the hero caught (at the level's own seed).
# -DSIM=program -DDATA=data folder -DSOURCE=the vault's source -DWORK=folder
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
get_filename_component(name ${SOURCE} NAME)
string(SUBSTRING ${name} 0 2 number)
file(GLOB level RELATIVE ${DATA}/LEVEL ${DATA}/LEVEL/${number}-*.lev)
file(READ ${SOURCE} text)
# The route's step onto the last ingot is the one right after the last key block push.
string(REGEX MATCH "Route = goto 11 8\nRoute = goto ([0-9]+ [0-9]+)\n" step "${text}")
if(NOT step)
  message(FATAL_ERROR "${name}: the route's step to the last ingot was not found")
endif()
string(REPLACE "${step}" "${step}Route = wait 5000\n" dawdling "${text}")
file(WRITE ${WORK}/${name} "${dawdling}")
execute_process(
  COMMAND ${SIM} --data ${DATA} --level LEVEL/${level} --route ${WORK}/${name} --until dead
          --frame-ms 50
  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT out MATCHES "dead=1")
  message(FATAL_ERROR "${level}: a hero who stops by the vault was not caught:\n${out}${err}")
endif()
message(STATUS "${level}, stopping by the vault: ${out}")
