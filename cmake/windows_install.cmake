# Installation on Windows: the prefix is the program's own folder (the installer makes it
# %LOCALAPPDATA%\Programs\Velunorh). The settings file lands beside velunorh.exe, so that folder
# must be the user's own; Qt and its plugins go beside the program as in the build folder.
include("${CMAKE_SOURCE_DIR}/cmake/windows_runtime.cmake")
velunorh_windows_runtime("${CMAKE_BINARY_DIR}/ui")

install(TARGETS velunorh RUNTIME DESTINATION .)
install(FILES ${VELUNORH_QT_DLLS} ${VELUNORH_MINGW_DLLS} "${VELUNORH_QT_CONF}" DESTINATION .)
foreach(plugin IN LISTS VELUNORH_QT_PLUGINS)
  get_filename_component(kind "${plugin}" DIRECTORY)
  install(FILES "${VELUNORH_QT_PREFIX}/plugins/${plugin}.dll" DESTINATION plugins/${kind})
endforeach()
install(FILES "${VELUNORH_QTBASE_HU}" DESTINATION translations)
install(FILES README.md DESTINATION .)

# The Windows installer (Velunorh-<version>-setup.exe) from the installed folder, with Debian's
# nsis: `cmake --build BUILD --target windows_installer`.
find_program(VELUNORH_MAKENSIS makensis)
if(VELUNORH_MAKENSIS)
  set(installer "${CMAKE_BINARY_DIR}/Velunorh-${PROJECT_VERSION}-setup.exe")
  set(staged "${CMAKE_BINARY_DIR}/windows/staged")
  add_custom_command(
    OUTPUT "${installer}"
    COMMAND ${CMAKE_COMMAND} -E rm -rf "${staged}"
    COMMAND ${CMAKE_COMMAND} --install "${CMAKE_BINARY_DIR}" --prefix "${staged}" --strip
    COMMAND ${CMAKE_COMMAND} "-DSTAGED=${staged}" "-DOUT=${CMAKE_BINARY_DIR}/windows"
            "-DSTRINGS=${CMAKE_SOURCE_DIR}/res/strings_hun.txt"
            -P "${CMAKE_SOURCE_DIR}/cmake/nsis_file_list.cmake"
    COMMAND ${VELUNORH_MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} "-DLISTS=${CMAKE_BINARY_DIR}/windows"
            "-DOUTFILE=${installer}" "${CMAKE_SOURCE_DIR}/res/velunorh.nsi"
    DEPENDS velunorh "${CMAKE_SOURCE_DIR}/res/velunorh.nsi" "${CMAKE_SOURCE_DIR}/README.md"
            "${CMAKE_SOURCE_DIR}/res/strings_hun.txt" "${CMAKE_SOURCE_DIR}/cmake/nsis_file_list.cmake"
    COMMENT "Making the Windows installer"
    VERBATIM)
  add_custom_target(windows_installer DEPENDS "${installer}")
endif()
