# Writes the manual page of coastra (roff, section 1) from the program's own
# --help and --version texts, so the page says what the program says:
#   cmake -DEXE=path/to/coastra -DOUT=coastra.1 -P man_page.cmake
# The usage line becomes the synopsis, the line after it the name line, each
# "Heading:" line a section, each "  TERM  text" line (two blanks or more
# between) a tagged paragraph whose deeper-indented lines continue it.
execute_process(COMMAND "${EXE}" --help OUTPUT_VARIABLE help RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${EXE} --help failed: the manual page cannot be written")
endif()
execute_process(COMMAND "${EXE}" --version OUTPUT_VARIABLE version)
string(REGEX MATCH "^coastra ([^\n]*)" unused "${version}")
set(version "${CMAKE_MATCH_1}")
# roff: a backslash is \e, a minus sign \-; list separators kept out of the way.
string(REPLACE "\\" "\\e" help "${help}")
string(REPLACE "-" "\\-" help "${help}")
string(REPLACE ";" "\\;" help "${help}")
string(REPLACE "\n" ";" lines "${help}")
set(page ".TH COASTRA 1 \"\" \"coastra ${version}\" \"User Commands\"\n")
set(n 0)
foreach(line IN LISTS lines)
  math(EXPR n "${n} + 1")
  if(n EQUAL 1)
    string(REGEX REPLACE "^Usage: " "" synopsis "${line}")
  elseif(n EQUAL 2)
    string(REGEX REPLACE "\\.$" "" summary "${line}")
    string(TOLOWER "${summary}" summary)
    string(APPEND page ".SH NAME\ncoastra \\- ${summary}\n.SH SYNOPSIS\n${synopsis}\n"
                       ".SH DESCRIPTION\n${line}\n")
  elseif(line STREQUAL "")
    continue()
  elseif(line MATCHES "^([^ ].*):$")
    string(TOUPPER "${CMAKE_MATCH_1}" heading)
    string(APPEND page ".SH \"${heading}\"\n")
  elseif(line MATCHES "^  ([^ ]([^ ]| [^ ])*)   *([^ ].*)$")
    string(APPEND page ".TP\n.B ${CMAKE_MATCH_1}\n${CMAKE_MATCH_3}\n")
  else()
    string(STRIP "${line}" line)
    string(REGEX REPLACE "^([.'])" "\\\\&\\1" line "${line}")
    string(APPEND page "${line}\n")
  endif()
endforeach()
string(APPEND page ".SH \"SEE ALSO\"\n"
                   "coastra\\-plot \\-\\-help, coastra\\-ensemble \\-\\-help and the README in share/doc/coastra.\n")
file(WRITE "${OUT}" "${page}")
