# Writes the manual page of cirquel-cli from its own help:
#   cmake -DCLI=path/to/cirquel-cli -DOUT=cirquel-cli.1 -P cli-man.cmake
# so that the page lists exactly the commands and options the program takes.
function(roff_escape in out)
  string(REPLACE "\\" "\\e" s "${in}")
  string(REPLACE "-" "\\-" s "${s}")
  string(REGEX REPLACE "^([.'])" "\\\\&\\1" s "${s}")
  set(${out} "${s}" PARENT_SCOPE)
endfunction()

execute_process(COMMAND ${CLI} --help OUTPUT_VARIABLE help RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cirquel-cli --help failed (${rc})")
endif()
string(REPLACE "\n" ";" lines "${help}")
set(commands)
foreach(line IN LISTS lines)
  if(line MATCHES "^  ([a-z-]+)  +")
    list(APPEND commands ${CMAKE_MATCH_1})
  endif()
endforeach()

set(page ".TH CIRQUEL-CLI 1 \"December 2026\" \"Cirquel 4.0.0\" \"User Commands\"
.SH NAME
cirquel-cli \\- the command-line tool of Cirquel
.SH SYNOPSIS
.B cirquel-cli
.I COMMAND
.RI [ OPTION ]...
.br
.B cirquel-cli
.I COMMAND
.B \\-\\-help
.SH DESCRIPTION
.B cirquel-cli
lists the label stocks, draws units, sheets and canvases, renders described
documents and projects, saves projects, prints and writes disc-publisher jobs,
all without a window. A command exits with status 0 when done and 2 after a
one-line message on bad input.
.SH COMMANDS
")
foreach(cmd IN LISTS commands)
  execute_process(COMMAND ${CLI} ${cmd} --help OUTPUT_VARIABLE text)
  string(REPLACE "\n" ";" clines "${text}")
  set(synopsis "")
  set(what "")
  set(options "")
  set(in_options FALSE)
  foreach(l IN LISTS clines)
    if(l MATCHES "^usage: cirquel-cli (.*)$")
      set(synopsis "${CMAKE_MATCH_1}")
    elseif(l STREQUAL "options:")
      set(in_options TRUE)
    elseif(in_options AND l MATCHES "^  (.+[^ ])  +([^ ].*)$")
      roff_escape("${CMAKE_MATCH_1}" left)
      roff_escape("${CMAKE_MATCH_2}" right)
      string(APPEND options ".TP\n.B ${left}\n${right}\n")
    elseif(in_options AND l MATCHES "^  (.+)$")
      string(STRIP "${CMAKE_MATCH_1}" bare)
      roff_escape("${bare}" left)
      string(APPEND options ".TP\n.B ${left}\n")
    elseif(NOT in_options AND NOT l STREQUAL "" AND what STREQUAL "")
      set(what "${l}")
    endif()
  endforeach()
  roff_escape("${synopsis}" synopsis)
  roff_escape("${what}" what)
  string(APPEND page ".SS ${cmd}\n.B cirquel\\-cli ${synopsis}\n.PP\n${what}\n")
  if(options)
    string(APPEND page ".RS\n${options}.RE\n")
  endif()
endforeach()
string(APPEND page ".SH SEE ALSO\n.BR cirquel (1)\n")
file(WRITE ${OUT} "${page}")
