# wave_window_silent(FILE FIRST COUNT RESULT): RESULT is TRUE when the COUNT
# stereo 16-bit sample frames of the recording FILE from frame FIRST on (after
# its 44-byte header) are all zero.
function(wave_window_silent file first count result)
  math(EXPR offset "44 + 4 * ${first}")
  math(EXPR bytes "4 * ${count}")
  file(READ ${file} window OFFSET ${offset} LIMIT ${bytes} HEX)
  if(window MATCHES "^0*$")
    set(${result} TRUE PARENT_SCOPE)
  else()
    set(${result} FALSE PARENT_SCOPE)
  endif()
endfunction()

# wave_window_rms(FILE FIRST_MS LENGTH_MS CHANNEL RESULT): RESULT is the RMS
# amplitude, in millionths of full scale, of channel CHANNEL (1 left, 2 right)
# of the recording FILE (44100 frames a second) over LENGTH_MS milliseconds
# from FIRST_MS on, measured by sox.
function(wave_window_rms file first_ms length_ms channel result)
  find_program(SOX sox REQUIRED)
  math(EXPR first "${first_ms} * 441 / 10")
  math(EXPR count "${length_ms} * 441 / 10")
  execute_process(COMMAND ${SOX} ${file} -n trim ${first}s ${count}s remix ${channel} stat
    RESULT_VARIABLE rc ERROR_VARIABLE stat OUTPUT_QUIET)
  if(NOT rc EQUAL 0 OR NOT stat MATCHES "RMS +amplitude: +([0-9])\\.([0-9]+)\n")
    message(FATAL_ERROR "sox could not measure ${file} (${rc}): ${stat}")
  endif()
  string(SUBSTRING "${CMAKE_MATCH_2}000000" 0 6 fraction)
  math(EXPR millionths "${CMAKE_MATCH_1} * 1000000 + 1${fraction} - 1000000")
  set(${result} ${millionths} PARENT_SCOPE)
endfunction()
