# cmake -DKELVANE=<game> -DKELVEDIT=<editor> -DDATA=<data set> -DVERSION=<x.y> -DWORK=<folder>
#       -P command_line.cmake
# Each program's command line: its own options only, --help and --version;
# and the files a run leaves at its end, whole and alone in their folder.

cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

function(run program)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_CONFIG_HOME=${WORK}/config ${program} ${ARGN}
    WORKING_DIRECTORY ${WORK}
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 60)
  set(rc "${rc}" PARENT_SCOPE)
  set(out "${out}" PARENT_SCOPE)
  set(err "${err}" PARENT_SCOPE)
endfunction()

function(expect what code)
  if(NOT "${rc}" STREQUAL "${code}")
    message(FATAL_ERROR "${what}: expected exit code ${code}, got ${rc}\n${out}\n${err}")
  endif()
endfunction()

function(expect_text what text haystack)
  string(FIND "${haystack}" "${text}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${what}: expected '${text}' in:\n${haystack}")
  endif()
endfunction()

# The editor refuses the game's options, naming the one it refuses.
foreach(option --net-create --level --script-from --nickname --net-join)
  run(${KELVEDIT} --headless --data ${DATA} --frames 1 ${option} 1)
  expect("kelvedit ${option}" 2)
  expect_text("kelvedit ${option}" "kelvedit: unknown option '${option}'" "${err}")
endforeach()

# Each --help lists its program's options only.
run(${KELVEDIT} --help)
expect("kelvedit --help" 0)
expect_text("kelvedit --help" "--version" "${out}")
foreach(game_only --net- --level --script-from --nickname)
  string(FIND "${out}" "${game_only}" at)
  if(NOT at EQUAL -1)
    message(FATAL_ERROR "kelvedit --help mentions ${game_only}:\n${out}")
  endif()
endforeach()
run(${KELVANE} --help)
expect("kelvane --help" 0)
foreach(option --version --level --net-create "--net-join [INDEX]")
  expect_text("kelvane --help" "${option}" "${out}")
endforeach()

# --version: the program, its version and the build's revision; no window,
# no data folder needed.
foreach(program kelvane kelvedit)
  string(TOUPPER ${program} variable)
  run(${${variable}} --version --data ${WORK}/nowhere)
  expect("${program} --version" 0)
  if(NOT out MATCHES "^${program} ${VERSION} \\(revision [^ \n]+\\)\n$")
    message(FATAL_ERROR "${program} --version printed '${out}'")
  endif()
endforeach()

# The files of a run: complete, in place of older ones, with nothing else
# (no temporary file) left beside them.
function(check_outputs program folder)
  file(GLOB left RELATIVE ${folder} ${folder}/*)
  list(SORT left)
  if(NOT left STREQUAL "run.png;run.txt;run.wav")
    message(FATAL_ERROR "${program}: expected only run.png, run.txt and run.wav, found: ${left}")
  endif()
  # A PNG file ends with its IEND chunk.
  file(SIZE ${folder}/run.png size)
  math(EXPR tail "${size} - 12")
  file(READ ${folder}/run.png end OFFSET ${tail} HEX)
  if(NOT end STREQUAL "0000000049454e44ae426082")
    message(FATAL_ERROR "${program}: the screenshot does not end as a PNG file does: ${end}")
  endif()
  # A wave file's RIFF size counts the whole file.
  file(SIZE ${folder}/run.wav size)
  file(READ ${folder}/run.wav riff LIMIT 8 HEX)
  string(SUBSTRING "${riff}" 8 8 le)
  string(REGEX REPLACE "(..)(..)(..)(..)" "\\4\\3\\2\\1" be "${le}")
  math(EXPR riff_size "0x${be} + 8")
  if(NOT riff_size EQUAL size)
    message(FATAL_ERROR "${program}: the wave file holds ${size} bytes, its header says ${riff_size}")
  endif()
  # The old, longer dump is gone, not written over in part.
  file(READ ${folder}/run.txt dump)
  string(FIND "${dump}" "stale" at)
  if(NOT at EQUAL -1 OR NOT dump MATCHES "\n$")
    message(FATAL_ERROR "${program}: the dump is not whole:\n${dump}")
  endif()
endfunction()

foreach(program kelvane kelvedit)
  string(TOUPPER ${program} variable)
  set(out_dir ${WORK}/${program}_out)
  file(MAKE_DIRECTORY ${out_dir})
  string(REPEAT "stale line\n" 20000 old)
  file(WRITE ${out_dir}/run.txt "${old}")
  run(${${variable}} --headless --data ${DATA} --frames 3 --frame-ms 50 --seed 1
      --screenshot ${out_dir}/run.png --dump-state ${out_dir}/run.txt
      --record-audio ${out_dir}/run.wav)
  expect("${program} outputs" 0)
  check_outputs(${program} ${out_dir})

  # A file that cannot be written fails the run and says which.
  run(${${variable}} --headless --data ${DATA} --frames 1 --frame-ms 50
      --screenshot ${WORK}/missing/run.png)
  expect("${program} unwritable screenshot" 1)
  expect_text("${program} unwritable screenshot"
              "cannot write the screenshot '${WORK}/missing/run.png'" "${err}")
endforeach()

file(REMOVE_RECURSE ${WORK})
