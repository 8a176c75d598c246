# Every option a program's --help lists is in its manual page, as man shows
# the page (the page's own text, unescaped, where man is not installed).
execute_process(COMMAND ${PROGRAM} --help RESULT_VARIABLE result OUTPUT_VARIABLE help)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} --help failed (${result})")
endif()
string(REGEX MATCHALL "--[a-z][a-z0-9-]*" options "${help}")
list(REMOVE_DUPLICATES options)
list(LENGTH options count)
if(count LESS 10)
  message(FATAL_ERROR "too few options in ${PROGRAM} --help: ${options}")
endif()

find_program(MAN man)
if(MAN)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env MANWIDTH=120 LC_ALL=C.UTF-8 ${MAN} -l ${PAGE}
                  RESULT_VARIABLE result OUTPUT_VARIABLE page)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "man -l ${PAGE} failed (${result})")
  endif()
  # Bold and underlined letters as overstrikes, should man keep them.
  string(ASCII 8 backspace)
  string(REGEX REPLACE ".${backspace}" "" page "${page}")
else()
  file(READ ${PAGE} page)
  string(REPLACE "\\-" "-" page "${page}")
  string(REGEX REPLACE "\\\\f[BIRP]" "" page "${page}")
endif()

set(missing "")
foreach(option ${options})
  # The whole option: not the start of a longer one (--net as in --net-port).
  if(NOT page MATCHES "${option}([^a-z0-9-]|$)")
    list(APPEND missing ${option})
  endif()
endforeach()
if(missing)
  message(FATAL_ERROR "${PAGE} does not list ${missing} of ${PROGRAM} --help")
endif()
