# bytesmith_debian_changelog(<markdown> <output> <package> <maintainer>)
#
# Writes the release history kept in <markdown> as a Debian changelog. The
# history has a heading "## VERSION (YYYY-MM-DD)" for each release, newest
# first, and under it items that start with "- " and go on in lines
# indented by two blanks; everything else (the title, an introduction,
# empty lines) is left out, and so are the backquotes of code. Each release
# becomes an entry of <package> for unstable, signed by <maintainer> at
# midnight UTC of its day.

# The day of the week of a date, as RFC 5322 names it.
function(bytesmith_weekday year month day out)
  # Sakamoto's method: January and February count as months of the year
  # before, so that the leap day comes last.
  set(offsets 0 3 2 5 0 3 5 1 4 6 2 4)
  math(EXPR index "${month} - 1")
  list(GET offsets ${index} offset)
  if(month LESS 3)
    math(EXPR year "${year} - 1")
  endif()
  math(EXPR weekday "(${year} + ${year} / 4 - ${year} / 100 + ${year} / 400 + ${offset} + ${day}) % 7")
  set(names Sun Mon Tue Wed Thu Fri Sat)
  list(GET names ${weekday} name)
  set(${out} ${name} PARENT_SCOPE)
endfunction()

function(bytesmith_debian_changelog markdown output package maintainer)
  file(READ ${markdown} history)
  # One list element a line: the text's own semicolons must not split it.
  string(REPLACE ";" "<semicolon>" history "${history}")
  string(REPLACE "`" "" history "${history}")
  string(REPLACE "\n" ";" lines "${history}")
  set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
  set(changelog "")
  set(signature "")
  set(in_item FALSE)
  foreach(line IN LISTS lines)
    if(line MATCHES "^## ([^ ]+) \\(([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])\\)$")
      set(version ${CMAKE_MATCH_1})
      set(year ${CMAKE_MATCH_2})
      set(month ${CMAKE_MATCH_3})
      set(day ${CMAKE_MATCH_4})
      # Without leading zeros, which math() would not take as decimal.
      string(REGEX REPLACE "^0" "" month ${month})
      string(REGEX REPLACE "^0" "" day ${day})
      bytesmith_weekday(${year} ${month} ${day} weekday)
      math(EXPR index "${month} - 1")
      list(GET months ${index} month_name)
      string(APPEND changelog "${signature}${package} (${version}) unstable; urgency=medium\n\n")
      set(signature "\n -- ${maintainer}  ${weekday}, ${day} ${month_name} ${year} 00:00:00 +0000\n\n")
      set(in_item FALSE)
    elseif(line MATCHES "^- (.*)$" AND NOT signature STREQUAL "")
      string(APPEND changelog "  * ${CMAKE_MATCH_1}\n")
      set(in_item TRUE)
    elseif(line MATCHES "^  (.*)$" AND in_item)
      string(APPEND changelog "    ${CMAKE_MATCH_1}\n")
    else()
      set(in_item FALSE)
    endif()
  endforeach()
  if(signature STREQUAL "")
    message(FATAL_ERROR "${markdown} holds no release heading \"## VERSION (YYYY-MM-DD)\"")
  endif()
  string(REGEX REPLACE "\n\n$" "\n" signature "${signature}")
  string(APPEND changelog "${signature}")
  string(REPLACE "<semicolon>" ";" changelog "${changelog}")
  file(WRITE ${output} "${changelog}")
endfunction()
