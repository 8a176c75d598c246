# Steps the editor's end-to-end scripts share: run a program (its output in
# `output`), and check that a dump holds whole lines.
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${ARGN} failed (${result}): ${out} ${err}")
  endif()
  set(output "${out}" PARENT_SCOPE)
endfunction()

function(expect_lines text)
  foreach(line ${ARGN})
    string(FIND "${text}" "${line}\n" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "missing '${line}' in:\n${text}")
    endif()
  endforeach()
endfunction()
