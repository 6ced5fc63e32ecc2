# Writes a gzip-compressed manual page (cmake -P):
#   -DPAGE=<roff file>                          compresses a page written in the project;
#   -DCLI=<velmorra-cli> -DVERSION=.. -DDATE=..  generates velmorra-cli's page from its --help texts,
#     [-DLANGUAGE=zh|en]                        so that the page lists every subcommand and option,
#                                               in that language (Chinese unless told).
# and -DOUTPUT=<page.1.gz>.

# Splits off the first line of `rest` into `line` (without CMake's list splitting, which a ';' or
# an unbalanced '[' in a help text would upset).
macro(take_line)
  string(FIND "${rest}" "\n" cut)
  if(cut EQUAL -1)
    set(line "${rest}")
    set(rest "")
  else()
    string(SUBSTRING "${rest}" 0 ${cut} line)
    math(EXPR cut "${cut} + 1")
    string(SUBSTRING "${rest}" ${cut} -1 rest)
  endif()
endmacro()

# A help text to roff: blank lines part paragraphs, an indented "name  description" line is a
# tagged entry (a subcommand or an option), any other line is a line of text.
function(help_to_roff text result)
  string(REPLACE "\\" "\\e" rest "${text}")
  string(REPLACE "--" "\\-\\-" rest "${rest}")
  # Chinese has no blanks to break a line at; groff may break after a closing punctuation mark
  # and before an opening one.
  foreach(mark "，" "。" "；" "：" "、" "）" "”")
    string(REPLACE "${mark}" "${mark}\\:" rest "${rest}")
  endforeach()
  foreach(mark "（" "“")
    string(REPLACE "${mark}" "\\:${mark}" rest "${rest}")
  endforeach()
  set(roff "")
  while(NOT rest STREQUAL "")
    take_line()
    if(line STREQUAL "")
      string(APPEND roff ".PP\n")
    elseif(line MATCHES "^  +([^ ]+( [^ ]+)*)  +([^ ].*)$")
      string(APPEND roff ".TP\n.B ${CMAKE_MATCH_1}\n${CMAKE_MATCH_3}\n")
    else()
      string(STRIP "${line}" line)
      if(line MATCHES "^[.']")
        string(PREPEND line "\\&")
      endif()
      string(APPEND roff "${line}\n.br\n")  # each line of a help text says one thing
    endif()
  endwhile()
  set(${result} "${roff}" PARENT_SCOPE)
endfunction()

# The subcommands the top-level help lists: indented lines that start with a lower-case name.
function(list_subcommands text result)
  set(rest "${text}")
  set(names "")
  while(NOT rest STREQUAL "")
    take_line()
    if(line MATCHES "^  ([a-z][a-z0-9-]*)  ")
      list(APPEND names ${CMAKE_MATCH_1})
    endif()
  endwhile()
  set(${result} "${names}" PARENT_SCOPE)
endfunction()

function(run_help result)
  # The language is named: the build machine's locale must not choose it.
  execute_process(COMMAND ${CLI} --lang ${LANGUAGE} ${ARGN} --help OUTPUT_VARIABLE text RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${CLI} ${ARGN} --help failed: ${status}")
  endif()
  string(STRIP "${text}" text)
  set(${result} "${text}" PARENT_SCOPE)
endfunction()

if(DEFINED CLI)
  if(NOT DEFINED LANGUAGE)
    set(LANGUAGE zh)
  endif()
  # Lines of Chinese text have too few blanks to stretch: set them flush left.
  set(adjust "")
  if(LANGUAGE STREQUAL "zh")
    set(adjust ".ad l\n")
  endif()
  run_help(top)
  list_subcommands("${top}" subcommands)
  if(NOT subcommands)
    message(FATAL_ERROR "${CLI} --help lists no subcommand")
  endif()

  help_to_roff("${top}" description)
  set(page ".TH VELMORRA\\-CLI 1 \"${DATE}\" \"Velmorra ${VERSION}\" \"User Commands\"
${adjust}.SH NAME
velmorra\\-cli \\- analyse communication frames on the command line
.SH SYNOPSIS
.B velmorra\\-cli
.I subcommand
.RI [ options ]
.RI [ input ...]
.br
.B velmorra\\-cli
.RI [ subcommand ]
.B \\-\\-help
.br
.B velmorra\\-cli \\-\\-version
.SH DESCRIPTION
${description}.SH SUBCOMMANDS
")
  foreach(subcommand IN LISTS subcommands)
    run_help(help ${subcommand})
    help_to_roff("${help}" text)
    string(APPEND page ".SS ${subcommand}\n${text}")
  endforeach()
  string(APPEND page ".SH SEE ALSO\n.BR velmorra (1)\n")
  get_filename_component(folder "${OUTPUT}" DIRECTORY)
  get_filename_component(name "${OUTPUT}" NAME_WLE)
  set(PAGE "${folder}/${name}")
  file(WRITE "${PAGE}" "${page}")
endif()

# gzip -n: no name or time stamp in the header, so the same page gives the same file.
execute_process(COMMAND gzip -9 -n -c INPUT_FILE "${PAGE}" OUTPUT_FILE "${OUTPUT}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "gzip ${PAGE} failed")
endif()
