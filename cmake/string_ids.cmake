# Writes the header that names the string table's entries, `enum class StringId : int`, from the
# same lines the program reads its texts from, so a name and its id cannot drift apart. Every
# entry (a line that starts with a digit) reads "<id><TAB><Name><TAB><text>", ids growing.
file(READ "${INPUT}" content)
string(PREPEND content "\n")
# Only the id and the name are matched: texts may hold characters that CMake lists split on.
string(REGEX MATCHALL "\n[0-9]+[^\t\n]*\t?[^\t\n]*\t?" entries "${content}")
set(enumerators "")
set(previous -1)
foreach(entry IN LISTS entries)
  if(NOT entry MATCHES "^\n([0-9]+)\t([A-Z][A-Za-z0-9]*)\t$")
    string(STRIP "${entry}" shown)
    message(FATAL_ERROR "${INPUT}: an entry needs an id, a tab, a name, a tab: \"${shown}\"")
  endif()
  set(id ${CMAKE_MATCH_1})
  set(name ${CMAKE_MATCH_2})
  if(NOT id GREATER previous)
    message(FATAL_ERROR "${INPUT}: id ${id} (${name}) does not grow; a repeated id would hide a text")
  endif()
  if(DEFINED seen_${name})
    message(FATAL_ERROR "${INPUT}: the name ${name} is used twice")
  endif()
  set(seen_${name} TRUE)
  set(previous ${id})
  string(APPEND enumerators "  ${name} = ${id},\n")
endforeach()
set(header "// Generated from ${INPUT}; do not edit.\n#pragma once\n\nnamespace velunorh {\n\n"
           "enum class StringId : int {\n${enumerators}};\n\n}  // namespace velunorh\n")
file(WRITE "${OUTPUT}" "${header}")
