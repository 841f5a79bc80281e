# Helpers for writing the launcher (a desktop entry) and checking its data folder. Included by
# the project and by the install step.

# The launcher's working folder: "~" at the front means the home folder; anything else must be an
# absolute path, because a desktop entry's working folder is not relative to anything.
function(velunorh_data_folder value out)
  if(value MATCHES "^~(/|$)")
    string(REGEX REPLACE "^~" "$ENV{HOME}" value "${value}")
  endif()
  if(NOT value STREQUAL "" AND NOT value MATCHES "^/")
    message(FATAL_ERROR "VELUNORH_DATA_FOLDER must be an absolute path: '${value}'")
  endif()
  set(${out} "${value}" PARENT_SCOPE)
endfunction()

# A string value of a desktop entry: backslashes are its escape character. Line breaks and tabs
# cannot stand in one line of the file, and no sane path holds them.
function(desktop_string value out)
  if(value MATCHES "[\n\r\t]")
    message(FATAL_ERROR "A launcher path may not contain a line break or a tab: '${value}'")
  endif()
  string(REPLACE "\\" "\\\\" value "${value}")
  set(${out} "${value}" PARENT_SCOPE)
endfunction()

# One argument of the Exec key: '%' starts a field code and is doubled; an argument with a
# reserved character is put in double quotes, inside which '"', '`', '$' and '\' are escaped.
# The result is then a string value like any other.
function(desktop_exec_argument arg out)
  string(REPLACE "%" "%%" arg "${arg}")
  if(arg MATCHES "[] \"'\\\\><~|&;$*?#()`[]")
    string(REPLACE "\\" "\\\\" arg "${arg}")
    string(REPLACE "\"" "\\\"" arg "${arg}")
    string(REPLACE "`" "\\`" arg "${arg}")
    string(REPLACE "$" "\\$" arg "${arg}")
    set(arg "\"${arg}\"")
  endif()
  desktop_string("${arg}" arg)
  set(${out} "${arg}" PARENT_SCOPE)
endfunction()

# Text for an XML element.
function(xml_text value out)
  string(REPLACE "&" "&amp;" value "${value}")
  string(REPLACE "<" "&lt;" value "${value}")
  string(REPLACE ">" "&gt;" value "${value}")
  set(${out} "${value}" PARENT_SCOPE)
endfunction()
