# cmake -DKELVANE=<program> -DLEVELTOOL=<kelvane-level> -DDATASET=<built data>
#       -DWORK=<folder> -DCASE=<name> -DPORT=<discovery port>
#       -DPLAYER=<net_player.sh> -DLEVELS=<tests/e2e/levels>
#       -DSTRANGERS=<silent_strangers> -DGATEWAY=<fake_gateway>
#       -DPORT_BASE=<first port of the cases> -P network.cmake
# Network games of several game processes on 127.0.0.1, all headless, run at
# once; each process has its own settings folder, output and state dump
# (WORK/<name>/). Discovery probes go to 127.255.255.255 on a port of this
# case alone; game ports are chosen free.

cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

# A data folder whose level list is the one level file LEVEL (a built
# level's name, or a path): the network game starts on it.
function(data_with_level level)
  set(data ${WORK}/data)
  file(MAKE_DIRECTORY ${data}/LEVEL)
  file(GLOB entries LIST_DIRECTORIES true RELATIVE ${DATASET} ${DATASET}/*)
  foreach(entry ${entries})
    if(NOT entry STREQUAL "LEVEL")
      file(CREATE_LINK ${DATASET}/${entry} ${data}/${entry} SYMBOLIC)
    endif()
  endforeach()
  if(NOT IS_ABSOLUTE ${level})
    set(level ${DATASET}/LEVEL/${level})
  endif()
  get_filename_component(name ${level} NAME)
  file(CREATE_LINK ${level} ${data}/LEVEL/${name} SYMBOLIC)
endfunction()

# The room of tests/e2e/levels/90-network.txt, where each world event is a
# few keys from the start.
function(data_with_event_room)
  execute_process(COMMAND ${LEVELTOOL} compile ${LEVELS}/90-network.txt ${WORK}/90-Network.lev
    RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cannot compile the test level: ${err}")
  endif()
  data_with_level(${WORK}/90-Network.lev)
endfunction()

set(LAN "LAN (broadcast)")
set(COMMON --headless --data ${WORK}/data --frame-ms 50 --net-provider ${LAN}
  --net-broadcast 127.255.255.255 --net-discovery-port ${PORT} --net-port 0)

# player(NAME DELAY_SECONDS ARGS...): one process of the next game(), with
# the nickname NAME unless nick_NAME says otherwise.
set(PLAYERS "")
set(PLAYER_COMMANDS "")
macro(player name delay)
  list(APPEND PLAYERS ${name})
  if(EXISTS ${WORK}/${name}/script.txt)
    set(script_args --script ${WORK}/${name}/script.txt --script-from play)
  else()
    set(script_args "")
  endif()
  set(nick ${name})
  if(DEFINED nick_${name})
    set(nick ${nick_${name}})
  endif()
  set(cmd_${name} sh ${PLAYER} ${delay} ${WORK}/${name} ${KELVANE} /NETWORK ${COMMON}
    --nickname ${nick} --dump-state ${WORK}/${name}/state.txt ${script_args} ${ARGN})
endmacro()

# Runs every player declared since the last game() at once and checks that
# each exits with 0.
function(game)
  set(commands "")
  foreach(name ${PLAYERS})
    list(APPEND commands COMMAND ${cmd_${name}})
  endforeach()
  execute_process(${commands} TIMEOUT 60 RESULTS_VARIABLE results)
  foreach(name ${PLAYERS})
    file(READ ${WORK}/${name}/err.txt err)
    set(rc "none")
    if(EXISTS ${WORK}/${name}/rc.txt)
      file(STRINGS ${WORK}/${name}/rc.txt rc)
    endif()
    message(STATUS "${name}: exit code ${rc}\n${err}")
    if(NOT rc STREQUAL "0")
      message(FATAL_ERROR "${name} ended with ${rc} (all: ${results})")
    endif()
  endforeach()
  set(PLAYERS "" PARENT_SCOPE)
endfunction()

# The value of KEY in NAME's state dump, into `value`.
function(dump_value name key)
  file(STRINGS ${WORK}/${name}/state.txt lines REGEX "^${key}=")
  if(NOT lines)
    message(FATAL_ERROR "${name}: no ${key} in the dump")
  endif()
  list(GET lines 0 line)
  string(LENGTH "${key}=" skip)
  string(SUBSTRING "${line}" ${skip} -1 found)
  set(value "${found}" PARENT_SCOPE)
endfunction()

function(expect name key wanted)
  dump_value(${name} ${key})
  if(NOT value STREQUAL wanted)
    message(FATAL_ERROR "${name}: ${key}=${value}, expected ${wanted}")
  endif()
endfunction()

# Every named player's KEY has one value; it goes to `value`.
function(expect_same key)
  set(first "")
  foreach(name ${ARGN})
    dump_value(${name} ${key})
    if(first STREQUAL "")
      set(first "${value}")
    elseif(NOT value STREQUAL first)
      message(FATAL_ERROR "${key} differs: ${first} and ${name}'s ${value}")
    endif()
  endforeach()
  set(value "${first}" PARENT_SCOPE)
endfunction()

function(expect_stderr name text)
  file(READ ${WORK}/${name}/err.txt err)
  string(FIND "${err}" "${text}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${name}: expected on stderr: ${text}")
  endif()
endfunction()

function(write_script name text)
  file(WRITE ${WORK}/${name}/script.txt "${text}")
endfunction()

# In play on the level: the lobby left, the game's players all numbered.
function(expect_in_play last)
  foreach(name ${ARGN})
    expect(${name} screenState 1)
    expect(${name} lastPlayer ${last})
  endforeach()
endfunction()

# A shipped level for the cases about the session rather than the world.
set(LEVER_LEVEL 05-LeversAndDoors.lev)

if(CASE STREQUAL "three_players")
  data_with_level(${LEVER_LEVEL})
  # The host ends last: the joiners' last message is still the interval.
  player(host 0 --net-create --net-go-at 3 --frames 300)
  player(first 0.5 --net-join --frames 160)
  player(second 2.5 --net-join --frames 160)
  game()
  expect_in_play(2 host first second)
  expect(host localPlayer 0)
  expect(first localPlayer 1)
  expect(second localPlayer 2)
  expect(host net.isHost 1)
  expect_same(net.refreshInterval host first second)
  foreach(name host first second)
    expect(${name} messageText "Network refresh interval: ${value} ms")
  endforeach()
  expect_same(world.cellsHash host first second)

elseif(CASE MATCHES "^(lever|dig|last_ingot)$")
  # The first joiner acts; the cells it changes change on every machine
  # (the second joiner hears of it through the host).
  data_with_event_room()
  if(CASE STREQUAL "lever")
    write_script(first "7 SHIFT\n")
    set(changed "3,1,2:30>32 5,1,4:33>37")
  elseif(CASE STREQUAL "dig")
    write_script(first "1-12 RIGHT\n20 SHIFT\n")
    set(changed "4,0,1:13>0")
  else()
    # The level's only ingot: its door opens on every machine (and stays
    # open as the ingot door's own open state, 73).
    write_script(first "1-13 LEFT\n14-32 UP\n")
    set(changed "1,1,1:20>0 3,1,4:34>73")
  endif()
  player(host 0 --net-create --net-go-at 3 --frames 200)
  player(first 0.5 --net-join --frames 200)
  player(second 2.5 --net-join --frames 200)
  game()
  expect_in_play(2 host first second)
  foreach(name host first second)
    expect(${name} grid.changed "${changed}")
  endforeach()
  expect_same(world.cellsHash host first second)

elseif(CASE STREQUAL "session_full")
  data_with_level(${LEVER_LEVEL})
  player(host 0 --net-create --frames 200)
  player(a 0.3 --net-join --frames 200)
  player(b 1.6 --net-join --frames 200)
  player(c 2.9 --net-join --frames 200)
  player(fifth 5 --net-join --frames 130)
  game()
  expect_stderr(fifth "Open Failed :8B4E0004")
  expect(fifth net.lobbyPhase 1)
  expect(host lastPlayer 3)
  expect(host comm.playerCount 5)

elseif(CASE STREQUAL "same_nickname")
  # Two hosts of one name: the joiner lists both and joins the second; only
  # that host gets a player and starts.
  data_with_level(${LEVER_LEVEL})
  player(twin 0 --net-create --net-go-at 2 --frames 150)
  set(nick_twin2 twin)
  player(twin2 0.2 --net-create --net-go-at 2 --frames 150)
  player(joiner 1 --net-join 1 --frames 150)
  game()
  expect(joiner comm.sessionCount 2)
  expect(joiner screenState 1)
  expect(joiner localPlayer 1)
  # The session it is in is the one listed second.
  dump_value(joiner comm.session1.id)
  set(chosen ${value})
  expect(joiner comm.sessionId ${chosen})
  dump_value(joiner comm.session0.id)
  if(value STREQUAL chosen)
    message(FATAL_ERROR "both hosts were listed with one session id")
  endif()
  dump_value(twin lastPlayer)
  set(first_last ${value})
  dump_value(twin2 lastPlayer)
  if(NOT "${first_last}${value}" MATCHES "^(01|10)$")
    message(FATAL_ERROR "the joiner should be in exactly one game: ${first_last} and ${value}")
  endif()

elseif(CASE STREQUAL "host_quits")
  # The host leaves soon after the start; the joiner plays on and ends well.
  data_with_level(${LEVER_LEVEL})
  write_script(first "1-16 UP\n")
  player(host 0 --net-create --net-go-at 2 --frames 90)
  player(first 0.5 --net-join --frames 190)
  game()
  expect(first screenState 1)
  expect(first localPlayer 1)

elseif(CASE STREQUAL "host_quits_in_lobby")
  # The host ends before pressing Go: the joiner is told and is back at the
  # transports with no session, free to create or join another game.
  data_with_level(${LEVER_LEVEL})
  player(host 0 --net-create --frames 70)
  player(first 0.5 --net-join --frames 140)
  game()
  expect_stderr(first "The host has left the game.")
  expect(first net.lobbyPhase 0)
  expect(first comm.playerCount 0)
  expect(first lastPlayer 0)

elseif(CASE STREQUAL "poor_network")
  # Every process drops a fifth of what arrives and holds the rest back 30 ms.
  data_with_event_room()
  write_script(first "7 SHIFT\n")
  set(poor --net-loss 20 --net-delay 30)
  player(host 0 --net-create --net-go-at 2 --frames 220 --seed 11 ${poor})
  player(first 0.5 --net-join --frames 220 --seed 12 ${poor})
  game()
  expect_in_play(1 host first)
  expect_same(net.refreshInterval host first)
  foreach(name host first)
    expect(${name} grid.changed "3,1,2:30>32 5,1,4:33>37")
  endforeach()
  expect_same(world.cellsHash host first)

elseif(CASE STREQUAL "lobby_by_script")
  # The lobby's components driven by the script as a user would: the
  # "Direct address" transport, its address typed into the prompt, the
  # session chosen in the list, and the host's "Go". A command that finds
  # nothing to act on ends the process with 1.
  data_with_level(${LEVER_LEVEL})
  math(EXPR game_port "${PORT} + 1000")
  set(address 127.0.0.1:${game_port})
  write_script(host "1 F SELECT ListBox Direct address\n2 F CLICK NewGame\n100 F CLICK NewGame\n")
  write_script(joiner "1 F SELECT ListBox Direct address\n2 F ANSWER ${address}\n\
3 F CLICK JoinGame\n5 F SELECT ListBox ${address}\n6 F CLICK JoinGame\n")
  foreach(name host joiner)
    set(delay 0)
    if(name STREQUAL "joiner")
      set(delay 1)
    endif()
    set(cmd_${name} sh ${PLAYER} ${delay} ${WORK}/${name} ${KELVANE} /NETWORK --headless
      --data ${WORK}/data --frame-ms 50 --net-port ${game_port} --nickname ${name}
      --script ${WORK}/${name}/script.txt --dump-state ${WORK}/${name}/state.txt --frames 170)
    list(APPEND PLAYERS ${name})
  endforeach()
  game()
  expect_in_play(1 host joiner)
  expect(joiner localPlayer 1)

elseif(CASE STREQUAL "lobby_by_pad")
  # The lobby driven by the script's controller alone: down chooses the LAN,
  # A creates the game and later says Go; the joiner's X lists the sessions,
  # B goes back to the transports, and down, X, down and A join the game.
  data_with_level(${LEVER_LEVEL})
  write_script(host "2 PAD_DOWN\n4 PAD_A\n100 PAD_A\n")
  write_script(joiner "2 PAD_DOWN\n4 PAD_X\n6 PAD_B\n8 PAD_DOWN\n10 PAD_X\n12 PAD_DOWN\n14 PAD_A\n")
  foreach(name host joiner)
    set(delay 0)
    if(name STREQUAL "joiner")
      set(delay 1)
    endif()
    set(cmd_${name} sh ${PLAYER} ${delay} ${WORK}/${name} ${KELVANE} /NETWORK ${COMMON}
      --nickname ${name} --script ${WORK}/${name}/script.txt
      --dump-state ${WORK}/${name}/state.txt --frames 170)
    list(APPEND PLAYERS ${name})
  endforeach()
  game()
  expect_in_play(1 host joiner)
  expect(joiner localPlayer 1)

elseif(CASE STREQUAL "silent_strangers")
  # Eight connections that never say hello, as many as the host has slots,
  # each from its own loopback address and back at once when let go: a
  # joiner still gets in within five seconds (the program times it), and a
  # game joiner that comes while they keep coming gets into the lobby.
  data_with_level(${LEVER_LEVEL})
  math(EXPR game_port "${PORT} + 1000")
  player(host 0 --net-create --net-port ${game_port} --frames 300)
  list(APPEND PLAYERS strangers)
  set(cmd_strangers sh ${PLAYER} 1 ${WORK}/strangers ${STRANGERS} ${game_port} 8 9 ${WORK}/data)
  player(joiner 4 --net-join --frames 100)
  game()
  file(READ ${WORK}/strangers/out.txt timed)
  message(STATUS "strangers:\n${timed}")
  expect(joiner net.lobbyPhase 2)
  expect(joiner comm.playerCount 3)
  # Each was let go at its deadline (and came back), and a joiner pushed
  # out the oldest to find its slot.
  foreach(pair "comm.strangers.silent;8" "comm.strangers.madeRoom;1")
    list(GET pair 0 key)
    list(GET pair 1 least)
    dump_value(host ${key})
    if(value LESS least)
      message(FATAL_ERROR "host: ${key}=${value}, expected at least ${least}")
    endif()
  endforeach()

elseif(CASE STREQUAL "host_quits_play")
  # The host quits during play: the two joiners agree that the first of
  # them hosts now and play on. Only after that does the first pull the
  # lever (the door opens for the second too) and walk east, while the
  # second turns west and walks; each sees where the other ends.
  data_with_event_room()
  write_script(first "100 SHIFT\n130-142 RIGHT\n150-165 UP\n")
  write_script(second "110-122 LEFT\n125-132 UP\n")
  # The second ends a second before the first.
  player(host 0 --net-create --net-go-at 3 --frames 110)
  player(first 0.5 --net-join --frames 320)
  player(second 2.5 --net-join --frames 250)
  game()
  expect_in_play(2 first second)
  foreach(name first second)
    expect(${name} grid.changed "3,1,2:30>32 5,1,4:33>37")
    expect(${name} net.migrated 1)
    expect(${name} net.hostPlayer 1)
  endforeach()
  expect(first net.isHost 1)
  expect(second net.isHost 0)
  expect(second comm.playerCount 3)
  # A joiner that leaves goes without a word, as before.
  foreach(name first second)
    expect(${name} messageText "host has left the game.")
  endforeach()
  expect_same(world.cellsHash first second)
  # Each one's own position, as the other sees it (positions travel as
  # whole units), and away from where both started.
  foreach(pair "first;player1" "second;player2")
    list(GET pair 0 mover)
    list(GET pair 1 record)
    set(watcher first)
    if(mover STREQUAL "first")
      set(watcher second)
    endif()
    foreach(axis x z)
      dump_value(${mover} ${record}.${axis})
      string(REGEX MATCH "^-?[0-9]+" own "${value}")
      dump_value(${watcher} ${record}.${axis})
      string(REGEX MATCH "^-?[0-9]+" seen "${value}")
      math(EXPR gap "${own} - ${seen}")
      if(gap GREATER 2 OR gap LESS -2)
        message(FATAL_ERROR "${watcher} sees ${record}.${axis}=${seen}, ${mover} is at ${own}")
      endif()
      set(${mover}_${axis} ${own})
    endforeach()
  endforeach()
  if(first_x EQUAL second_x)
    message(FATAL_ERROR "the joiners did not move apart: both at x=${first_x}")
  endif()

elseif(CASE STREQUAL "different_levels")
  # A joiner whose copy of the level has one cell changed: its list marks
  # the host's game, the host turns it away saying what differs, and it
  # never starts; a joiner with the same data joins and plays.
  data_with_event_room()
  file(READ ${LEVELS}/90-network.txt source)
  string(REPLACE "Layer 2\nBBBBBBB\nB.....B" "Layer 2\nBBBBBBB\nB..B..B" changed "${source}")
  if(changed STREQUAL source)
    message(FATAL_ERROR "the test level has no cell to change")
  endif()
  file(WRITE ${WORK}/changed/90-network.txt "${changed}")
  set(other_data ${WORK}/other_data)
  file(MAKE_DIRECTORY ${other_data}/LEVEL)
  file(GLOB entries LIST_DIRECTORIES true RELATIVE ${WORK}/data ${WORK}/data/*)
  foreach(entry ${entries})
    if(NOT entry STREQUAL "LEVEL")
      file(CREATE_LINK ${DATASET}/${entry} ${other_data}/${entry} SYMBOLIC)
    endif()
  endforeach()
  execute_process(COMMAND ${LEVELTOOL} compile ${WORK}/changed/90-network.txt
    ${other_data}/LEVEL/90-Network.lev RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cannot compile the changed level: ${err}")
  endif()

  player(host 0 --net-create --net-go-at 2 --frames 200)
  player(other 0.5 --net-join --frames 110)
  list(TRANSFORM cmd_other REPLACE "^${WORK}/data$" "${other_data}")
  player(same 3.5 --net-join --frames 140)
  game()
  expect_stderr(other "Open Failed :8B4E0009 (different levels)")
  expect(other comm.session0.difference "different levels")
  expect(other comm.lastFailure "Open Failed :8B4E0009 (different levels)")
  expect(other net.lobbyPhase 1)
  expect(other networkLobby 1)
  expect(other comm.playerCount 1) # "All" alone: it is in no session
  expect(other comm.players "")
  dump_value(other net.levelsDigest)
  set(other_digest ${value})
  expect_same(net.levelsDigest host same)
  if(value STREQUAL other_digest)
    message(FATAL_ERROR "the changed level gave the same digest ${value}")
  endif()
  expect_same(net.definitionsDigest host same other)
  # The host played with the joiner of the same data alone.
  expect(same comm.session0.difference "")
  expect_in_play(1 host same)
  expect(host comm.playerCount 3)
  expect(host comm.compressed 1)
  expect(same comm.compressed 1)

elseif(CASE STREQUAL "recent_host")
  # A joiner that joined by typing the host's address is offered that
  # address first the next time it opens the "Direct address" transport.
  data_with_level(${LEVER_LEVEL})
  math(EXPR game_port "${PORT} + 1000")
  set(address 127.0.0.1:${game_port})
  write_script(host "1 F SELECT ListBox Direct address\n2 F CLICK NewGame\n")
  write_script(joiner "1 F SELECT ListBox Direct address\n2 F ANSWER ${address}\n\
3 F CLICK JoinGame\n5 F SELECT ListBox ${address}\n6 F CLICK JoinGame\n")
  set(joiner_args --headless --data ${WORK}/data --frame-ms 50 --nickname joiner
    --script ${WORK}/joiner/script.txt --dump-state ${WORK}/joiner/state.txt)
  set(cmd_host sh ${PLAYER} 0 ${WORK}/host ${KELVANE} /NETWORK --headless --data ${WORK}/data
    --frame-ms 50 --net-port ${game_port} --nickname host --script ${WORK}/host/script.txt
    --dump-state ${WORK}/host/state.txt --frames 120)
  set(cmd_joiner sh ${PLAYER} 1 ${WORK}/joiner ${KELVANE} /NETWORK ${joiner_args} --frames 40)
  set(PLAYERS host joiner)
  game()
  expect(joiner net.lobbyPhase 2)
  expect(joiner prompt.default "")
  expect(joiner net.recentHosts "${address}")

  # Later, with nobody hosting: the prompt offers the address, and the
  # script cancels it.
  write_script(joiner "1 F SELECT ListBox Direct address\n2 F ANSWER CANCEL\n\
3 F CLICK JoinGame\n")
  set(cmd_joiner sh ${PLAYER} 0 ${WORK}/joiner ${KELVANE} /NETWORK ${joiner_args} --frames 10)
  set(PLAYERS joiner)
  game()
  expect(joiner prompt.caption "Direct address")
  expect(joiner prompt.default "${address}")
  expect(joiner prompt.choices "${address}")
elseif(CASE MATCHES "^map_")
  # Router port mapping against test gateways on the loopback (each case its
  # own ports, 200 above the first port of the cases). The host asks only
  # the gateways it is given, so nothing leaves 127.0.0.0/8.
  data_with_level(${LEVER_LEVEL})
  math(EXPR natpmp_port "${PORT_BASE} + 200 + (${PORT} - ${PORT_BASE}) * 2")
  math(EXPR upnp_port "${natpmp_port} + 1")
  # gateway(NAME KIND PORT [silent]): a test gateway for 12 s, its log in NAME/log.txt.
  macro(gateway name kind port)
    file(MAKE_DIRECTORY ${WORK}/${name})
    list(APPEND PLAYERS ${name})
    set(cmd_${name} sh ${PLAYER} 0 ${WORK}/${name} ${GATEWAY} ${kind} ${port} 12
      ${WORK}/${name}/log.txt ${ARGN})
  endmacro()
  function(expect_log name)
    file(STRINGS ${WORK}/${name}/log.txt log)
    message(STATUS "${name} log: ${log}")
    foreach(line ${ARGN})
      if(NOT line IN_LIST log)
        message(FATAL_ERROR "${name}: no '${line}' in its log: ${log}")
      endif()
    endforeach()
  endfunction()
  set(mapping --net-port-mapping on --net-gateway 127.0.0.1:${natpmp_port})

  if(CASE STREQUAL "map_natpmp")
    # The port is mapped when the game is created and unmapped at the end.
    gateway(natpmp natpmp ${natpmp_port})
    player(host 0.5 --net-create ${mapping} --frames 60)
    game()
    expect(host net.portMapping mapped)
    expect(host net.portMapping.method NAT-PMP)
    dump_value(host net.portMapping.port)
    set(game_port ${value})
    expect(host net.publicAddress 203.0.113.7:${game_port})
    expect(host net.portMapping.line "Public address: 203.0.113.7:${game_port} (NAT-PMP)")
    expect_log(natpmp public-address "map udp ${game_port}->${game_port} lifetime 3600"
      "unmap udp ${game_port}")

  elseif(CASE STREQUAL "map_upnp")
    # NAT-PMP meets a gateway that never answers; UPnP maps the port in the
    # time left, without any discovery.
    gateway(natpmp natpmp ${natpmp_port} silent)
    gateway(upnp upnp ${upnp_port})
    player(host 0.5 --net-create ${mapping}
      --net-upnp-url http://127.0.0.1:${upnp_port}/rootDesc.xml --frames 80)
    game()
    expect(host net.portMapping mapped)
    expect(host net.portMapping.method UPnP)
    dump_value(host net.portMapping.port)
    set(game_port ${value})
    expect(host net.publicAddress 203.0.113.7:${game_port})
    expect_log(natpmp "ignored public-address")
    expect_log(upnp description external-address
      "add UDP ${game_port}->127.0.0.1:${game_port} lease 3600" "delete UDP ${game_port}")

  elseif(CASE STREQUAL "map_silent")
    # A gateway that never answers: the game is created at once, a joiner
    # comes in and the game starts; the mapping fails within its budget.
    gateway(natpmp natpmp ${natpmp_port} silent)
    player(host 0.5 --net-create --net-go-at 2 ${mapping} --frames 120)
    player(first 1.5 --net-join --frames 100)
    game()
    expect_in_play(1 host first)
    expect(host net.portMapping failed)
    expect(host net.publicAddress "")
    foreach(key net.createMs net.portMapping.answerMs)
      dump_value(host ${key})
      if(value LESS 0 OR value GREATER_EQUAL 3000)
        message(FATAL_ERROR "host: ${key}=${value}, expected under 3000 ms")
      endif()
    endforeach()
    expect_log(natpmp "ignored public-address")
  endif()

else()
  message(FATAL_ERROR "unknown case ${CASE}")
endif()
