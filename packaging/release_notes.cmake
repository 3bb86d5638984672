# Turns ZARVIK_RELEASES (releases.cmake) into the forms the metainfo and the Debian
# package want, so that the release history is written once.

# Splits "version|date|notes" into <prefix>_VERSION, <prefix>_DATE and <prefix>_NOTES.
function(zarvik_split_release entry prefix)
  string(REPLACE "|" ";" fields "${entry}")
  list(LENGTH fields count)
  if(NOT count EQUAL 3)
    message(FATAL_ERROR "releases.cmake: \"${entry}\" is not version|date|notes")
  endif()
  list(GET fields 0 version)
  list(GET fields 1 date)
  list(GET fields 2 notes)
  if(NOT date MATCHES "^[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]$")
    message(FATAL_ERROR "releases.cmake: ${version}'s date ${date} is not YYYY-MM-DD")
  endif()
  set(${prefix}_VERSION "${version}" PARENT_SCOPE)
  set(${prefix}_DATE "${date}" PARENT_SCOPE)
  set(${prefix}_NOTES "${notes}" PARENT_SCOPE)
endfunction()

# The newest release's date; stops the configure when the newest release is not the
# project's version, so that the package, the metainfo and --version cannot disagree.
function(zarvik_newest_release out_date)
  list(GET ZARVIK_RELEASES 0 newest)
  zarvik_split_release("${newest}" release)
  if(NOT release_VERSION STREQUAL PROJECT_VERSION)
    message(FATAL_ERROR "The project's version is ${PROJECT_VERSION} but the newest release "
                        "in packaging/releases.cmake is ${release_VERSION}: add a release there")
  endif()
  set(${out_date} "${release_DATE}" PARENT_SCOPE)
endfunction()

function(zarvik_xml_escape text out)
  string(REPLACE "&" "&amp;" text "${text}")
  string(REPLACE "<" "&lt;" text "${text}")
  string(REPLACE ">" "&gt;" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# The <release> elements of the metainfo, newest first.
function(zarvik_metainfo_releases out)
  set(xml "")
  foreach(entry IN LISTS ZARVIK_RELEASES)
    zarvik_split_release("${entry}" release)
    zarvik_xml_escape("${release_NOTES}" notes)
    string(APPEND xml "    <release version=\"${release_VERSION}\" date=\"${release_DATE}\">\n"
                      "      <description><p>${notes}</p></description>\n"
                      "    </release>\n")
  endforeach()
  string(STRIP "${xml}" xml)
  set(${out} "    ${xml}" PARENT_SCOPE)
endfunction()

# Day of the week of an ISO date as Debian's changelog writes it (Tomohiko Sakamoto's
# method), since CMake cannot read a date back from text.
function(zarvik_rfc2822_date iso out)
  string(REGEX MATCH "^([0-9]+)-([0-9]+)-([0-9]+)$" _ "${iso}")
  set(day_text ${CMAKE_MATCH_3})
  math(EXPR year "${CMAKE_MATCH_1}")
  math(EXPR month "${CMAKE_MATCH_2}")
  math(EXPR day "${CMAKE_MATCH_3}")
  set(offsets 0 3 2 5 0 3 5 1 4 6 2 4)
  math(EXPR index "${month} - 1")
  list(GET offsets ${index} offset)
  set(y ${year})
  if(month LESS 3)
    math(EXPR y "${y} - 1")
  endif()
  math(EXPR weekday "(${y} + ${y} / 4 - ${y} / 100 + ${y} / 400 + ${offset} + ${day}) % 7")
  set(names Sun Mon Tue Wed Thu Fri Sat)
  list(GET names ${weekday} weekday_name)
  set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
  list(GET months ${index} month_name)
  set(${out} "${weekday_name}, ${day_text} ${month_name} ${year} 12:00:00 +0000" PARENT_SCOPE)
endfunction()

# Wraps notes into "  * " and "    " lines under 80 columns.
function(zarvik_changelog_item notes out)
  string(REPLACE " " ";" words "${notes}")
  set(text "  *")
  set(line "  *")
  foreach(word IN LISTS words)
    string(LENGTH "${line} ${word}" length)
    if(length GREATER 79)
      string(APPEND text "\n    ${word}")
      set(line "    ${word}")
    else()
      string(APPEND text " ${word}")
      string(APPEND line " ${word}")
    endif()
  endforeach()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# A Debian changelog of every release, as a native package's /usr/share/doc wants it.
function(zarvik_write_debian_changelog path package contact)
  set(text "")
  foreach(entry IN LISTS ZARVIK_RELEASES)
    zarvik_split_release("${entry}" release)
    zarvik_changelog_item("${release_NOTES}" item)
    zarvik_rfc2822_date("${release_DATE}" when)
    string(APPEND text "${package} (${release_VERSION}) unstable; urgency=medium\n\n"
                       "${item}\n\n -- ${contact}  ${when}\n\n")
  endforeach()
  string(STRIP "${text}" text)
  file(CONFIGURE OUTPUT ${path} CONTENT "${text}\n" @ONLY)
endfunction()
