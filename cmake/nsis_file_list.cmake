# Writes the installer's lists of the files in a staged install: cmake -DSTAGED=... -DOUT=... -P
# The uninstaller removes exactly these, so whatever the user's work left in the folder (the
# settings file, layout files, the print ledger) stays.
file(GLOB_RECURSE files RELATIVE "${STAGED}" "${STAGED}/*")
list(SORT files)
set(install "")
set(uninstall "")
set(folders "")
foreach(file IN LISTS files)
  get_filename_component(dir "${file}" DIRECTORY)
  string(REPLACE "/" "\\" win "${file}")
  string(REPLACE "/" "\\" windir "${dir}")
  string(APPEND install "SetOutPath \"$INSTDIR\\${windir}\"\nFile \"${STAGED}/${file}\"\n")
  string(APPEND uninstall "Delete \"$INSTDIR\\${win}\"\n")
  while(dir)
    list(APPEND folders "${dir}")
    get_filename_component(dir "${dir}" DIRECTORY)
  endwhile()
endforeach()
list(REMOVE_DUPLICATES folders)
list(SORT folders ORDER DESCENDING)  # the deepest first, so each is empty when its turn comes
foreach(dir IN LISTS folders)
  string(REPLACE "/" "\\" windir "${dir}")
  string(APPEND uninstall "RMDir \"$INSTDIR\\${windir}\"\n")
endforeach()
file(WRITE "${OUT}/install_files.nsh" "${install}")
file(WRITE "${OUT}/uninstall_files.nsh" "${uninstall}")

# The installer's own texts come from the string table like every other text: each entry named
# Installer... becomes a define of the same name.
file(STRINGS "${STRINGS}" lines ENCODING UTF-8 REGEX "^[0-9]+\tInstaller")
set(defines "")
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^[0-9]+\t([A-Za-z0-9]+)\t(.*)$" "\\1" name "${line}")
  string(REGEX REPLACE "^[0-9]+\t([A-Za-z0-9]+)\t(.*)$" "\\2" text "${line}")
  # NSIS quotes with $\" and writes a dollar sign as $$.
  string(REPLACE "$" "$$" text "${text}")
  string(REPLACE "\"" "$\\\"" text "${text}")
  string(REPLACE "\\n" "$\\n" text "${text}")
  string(APPEND defines "!define ${name} \"${text}\"\n")
endforeach()
file(WRITE "${OUT}/strings.nsh" "${defines}")
