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

# wave_full_scale_check(FILE RESULT): RESULT is empty when no sample of the
# recording FILE stands at full scale (32767 or -32768 and beyond), else a
# line that says which extreme it reached. Measured by sox.
function(wave_full_scale_check file result)
  find_program(SOX sox REQUIRED)
  execute_process(COMMAND ${SOX} ${file} -n stat RESULT_VARIABLE rc ERROR_VARIABLE stat OUTPUT_QUIET)
  if(NOT rc EQUAL 0 OR NOT stat MATCHES "Maximum amplitude: +(-?[0-9]\\.[0-9]+)\n"
     OR NOT stat MATCHES "Minimum amplitude: +(-?[0-9]\\.[0-9]+)\n")
    message(FATAL_ERROR "sox could not measure ${file} (${rc}): ${stat}")
  endif()
  string(REGEX MATCH "Maximum amplitude: +(-?[0-9]\\.[0-9]+)" ignored "${stat}")
  set(highest ${CMAKE_MATCH_1})
  string(REGEX MATCH "Minimum amplitude: +(-?[0-9]\\.[0-9]+)" ignored "${stat}")
  set(lowest ${CMAKE_MATCH_1})
  # sox prints 32767 as 0.999969, -32767 as -0.999969 and -32768 as -1.000000.
  string(REGEX REPLACE "^-" "" lowest_size ${lowest})
  if(highest VERSION_GREATER_EQUAL 0.999969 OR
     (lowest MATCHES "^-" AND lowest_size VERSION_GREATER_EQUAL 0.999969))
    set(${result} "a sample at full scale: highest ${highest}, lowest ${lowest}" PARENT_SCOPE)
  else()
    set(${result} "" PARENT_SCOPE)
  endif()
endfunction()

# wave_levels(FILE PEAK RMS_PEAK): the recording's peak level and its loudest
# 50 ms RMS level, in hundredths of a decibel below full scale (sox's stats),
# both channels together.
function(wave_levels file peak rms_peak)
  find_program(SOX sox REQUIRED)
  execute_process(COMMAND ${SOX} ${file} -n stats RESULT_VARIABLE rc ERROR_VARIABLE stats
    OUTPUT_QUIET)
  if(NOT rc EQUAL 0 OR NOT stats MATCHES "Pk lev dB +(-?[0-9]+)\\.([0-9][0-9])"
     OR NOT stats MATCHES "RMS Pk dB +(-?[0-9]+)\\.([0-9][0-9])")
    message(FATAL_ERROR "sox could not measure ${file} (${rc}): ${stats}")
  endif()
  foreach(key "Pk lev dB" "RMS Pk dB")
    string(REGEX MATCH "${key} +(-?)([0-9]+)\\.([0-9][0-9])" ignored "${stats}")
    math(EXPR hundredths "${CMAKE_MATCH_2} * 100 + ${CMAKE_MATCH_3}")
    if(key STREQUAL "Pk lev dB")
      set(${peak} ${hundredths} PARENT_SCOPE)
    else()
      set(${rms_peak} ${hundredths} PARENT_SCOPE)
    endif()
  endforeach()
endfunction()
