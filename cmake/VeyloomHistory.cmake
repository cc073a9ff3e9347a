# The program's history, written once in NEWS.md: under its title, each version newest first as
# a heading "## <version> (<yyyy-mm-dd>)", then its changes, each an item "- <text>" continued on
# lines indented by two blanks. The newest version is the one built; the Debian changelog, the
# AppStream releases and the release notes are made from this file.
#
# Run as a script, it writes the files made from a history into a folder:
#   cmake -DNEWS=<NEWS.md> -DMAINTAINER=<name and address> -DOUTPUT=<folder> \
#       -P cmake/VeyloomHistory.cmake
cmake_policy(VERSION 3.25)

# Stands in for the semicolons of the text while it is held in CMake lists: a control character,
# which no text holds.
string(ASCII 31 VEYLOOM_HISTORY_SEMICOLON)

# A version's heading: its version, then its date's year, month and day as the 3rd to 5th match.
set(_VEYLOOM_HISTORY_HEADING
    "^## ([0-9]+(\\.[0-9]+)*) \\(([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])\\)$")

# veyloom_read_history(<file>) sets, in the caller's scope, VEYLOOM_HISTORY_VERSIONS (newest
# first) and for each version V: VEYLOOM_HISTORY_DATE_<V> (yyyy-mm-dd) and
# VEYLOOM_HISTORY_ITEMS_<V>, its changes, each one element with its lines joined by "\n".
function(veyloom_read_history file)
    file(READ ${file} text)
    string(REPLACE ";" "${VEYLOOM_HISTORY_SEMICOLON}" text "${text}")
    string(REPLACE "\n" ";" lines "${text}")
    set(versions)
    set(version)
    set(item)
    set(number 0)
    foreach(line IN LISTS lines)
        math(EXPR number "${number} + 1")
        set(where "${file}:${number}")
        if(line MATCHES "${_VEYLOOM_HISTORY_HEADING}")
            set(date "${CMAKE_MATCH_3}-${CMAKE_MATCH_4}-${CMAKE_MATCH_5}")
            if(CMAKE_MATCH_4 LESS 1 OR CMAKE_MATCH_4 GREATER 12 OR CMAKE_MATCH_5 LESS 1
                    OR CMAKE_MATCH_5 GREATER 31)
                message(FATAL_ERROR "${where}: ${date} is no date")
            endif()
            _veyloom_history_end_item()
            set(version ${CMAKE_MATCH_1})
            if(version IN_LIST versions)
                message(FATAL_ERROR "${where}: version ${version} comes twice")
            endif()
            list(APPEND versions ${version})
            set(VEYLOOM_HISTORY_DATE_${version} ${date} PARENT_SCOPE)
            set(items_${version})
        elseif(line MATCHES "^- (.+)$")
            if(NOT version)
                message(FATAL_ERROR "${where}: a change before the first version's heading")
            endif()
            _veyloom_history_end_item()
            set(item "${CMAKE_MATCH_1}")
        elseif(line MATCHES "^  ([^ ].*)$" AND NOT item STREQUAL "")
            string(APPEND item "\n${CMAKE_MATCH_1}")
        elseif(line MATCHES "^# " AND NOT versions)
        elseif(NOT line STREQUAL "")
            message(FATAL_ERROR "${where}: neither a version's heading, a change nor its next "
                "line: ${line}")
        endif()
    endforeach()
    _veyloom_history_end_item()
    if(NOT versions)
        message(FATAL_ERROR "${file} names no version")
    endif()
    foreach(version IN LISTS versions)
        if(NOT items_${version})
            message(FATAL_ERROR "${file}: version ${version} names no change")
        endif()
        set(VEYLOOM_HISTORY_ITEMS_${version} "${items_${version}}" PARENT_SCOPE)
    endforeach()
    set(VEYLOOM_HISTORY_VERSIONS ${versions} PARENT_SCOPE)
endfunction()

# The item being read joins its version's changes.
macro(_veyloom_history_end_item)
    if(NOT item STREQUAL "")
        list(APPEND items_${version} "${item}")
        set(item)
    endif()
endmacro()

# _veyloom_history_weekday(<yyyy-mm-dd> <variable>): the day of the week, Mon to Sun, counted
# from 1970-01-01, a Thursday, in days of the proleptic Gregorian calendar.
function(_veyloom_history_weekday date variable)
    string(REGEX MATCH "^([0-9]+)-0*([0-9]+)-0*([0-9]+)$" _ ${date})
    set(year ${CMAKE_MATCH_1})
    set(month ${CMAKE_MATCH_2})
    set(day ${CMAKE_MATCH_3})
    if(month LESS_EQUAL 2)
        math(EXPR year "${year} - 1")
        math(EXPR month "${month} + 9")
    else()
        math(EXPR month "${month} - 3")
    endif()
    math(EXPR days "${year} * 365 + ${year} / 4 - ${year} / 100 + ${year} / 400
        + (153 * ${month} + 2) / 5 + ${day} - 719469")
    math(EXPR index "(${days} % 7 + 7) % 7")
    list(GET _VEYLOOM_HISTORY_WEEKDAYS ${index} weekday)
    set(${variable} ${weekday} PARENT_SCOPE)
endfunction()
set(_VEYLOOM_HISTORY_WEEKDAYS Thu Fri Sat Sun Mon Tue Wed)
set(VEYLOOM_HISTORY_MONTHS January February March April May June July August September October
    November December)

# veyloom_history_month(<yyyy-mm-dd> <variable>): "December 2026", as a manual page dates itself.
function(veyloom_history_month date variable)
    string(REGEX MATCH "^([0-9]+)-0*([0-9]+)-" _ ${date})
    math(EXPR index "${CMAKE_MATCH_2} - 1")
    list(GET VEYLOOM_HISTORY_MONTHS ${index} month)
    set(${variable} "${month} ${CMAKE_MATCH_1}" PARENT_SCOPE)
endfunction()

# veyloom_write_history(<folder> <maintainer>): from the history read last, the Debian changelog
# (every version, signed by the maintainer), the newest version's release notes
# (release-notes.md) and the AppStream <release> elements (releases.xml).
function(veyloom_write_history folder maintainer)
    set(changelog)
    set(releases.xml)
    foreach(version IN LISTS VEYLOOM_HISTORY_VERSIONS)
        set(date ${VEYLOOM_HISTORY_DATE_${version}})
        string(APPEND changelog "cv-veyloom (${version}) unstable; urgency=medium\n\n")
        string(APPEND releases.xml "    <release version=\"${version}\" date=\"${date}\">\n"
            "      <description>\n        <ul>\n")
        foreach(item IN LISTS VEYLOOM_HISTORY_ITEMS_${version})
            string(REPLACE "\n" "\n    " lines "${item}")
            string(APPEND changelog "  * ${lines}\n")
            string(REPLACE "\n" " " flat "${item}")
            string(REPLACE "&" "&amp;" flat "${flat}")
            string(REPLACE "<" "&lt;" flat "${flat}")
            string(REPLACE ">" "&gt;" flat "${flat}")
            string(APPEND releases.xml "          <li>${flat}</li>\n")
        endforeach()
        _veyloom_history_weekday(${date} weekday)
        veyloom_history_month(${date} month)
        string(SUBSTRING ${date} 8 2 day)
        string(REGEX REPLACE "^(...)[a-z]*" "\\1" month "${month}")
        string(APPEND changelog
            "\n -- ${maintainer}  ${weekday}, ${day} ${month} 00:00:00 +0000\n\n")
        string(APPEND releases.xml "        </ul>\n      </description>\n    </release>\n")
    endforeach()
    string(REGEX REPLACE "\n\n$" "\n" changelog "${changelog}")

    list(GET VEYLOOM_HISTORY_VERSIONS 0 version)
    set(release-notes.md
        "# CV Veyloom ${version}\n\nReleased on ${VEYLOOM_HISTORY_DATE_${version}}.\n\n")
    foreach(item IN LISTS VEYLOOM_HISTORY_ITEMS_${version})
        string(REPLACE "\n" "\n  " lines "${item}")
        string(APPEND release-notes.md "- ${lines}\n")
    endforeach()

    # A file that is already as it should be is left alone, so nothing made from it is made again.
    foreach(file changelog releases.xml release-notes.md)
        string(REPLACE "${VEYLOOM_HISTORY_SEMICOLON}" ";" content "${${file}}")
        file(WRITE ${folder}/${file}.new "${content}")
        file(COPY_FILE ${folder}/${file}.new ${folder}/${file} ONLY_IF_DIFFERENT)
        file(REMOVE ${folder}/${file}.new)
    endforeach()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
    veyloom_read_history(${NEWS})
    veyloom_write_history(${OUTPUT} "${MAINTAINER}")
endif()
