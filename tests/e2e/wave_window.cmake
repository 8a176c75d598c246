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
