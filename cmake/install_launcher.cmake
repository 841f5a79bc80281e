# Install step: writes the launcher and the AppStream metainfo for the prefix given to
# `cmake --install` (the paths in them are absolute) and installs both.
# Set by the project before this runs: VELUNORH_SOURCE_DIR, VELUNORH_STAGING_DIR, VELUNORH_APP_ID,
# VELUNORH_PROGRAM_DIR, VELUNORH_DATA_DIR (CMAKE_INSTALL_DATADIR), VELUNORH_ICON_SIZES,
# VELUNORH_DATA_FOLDER, VELUNORH_SCREENSHOT_URL.
include("${VELUNORH_SOURCE_DIR}/cmake/desktop_entry.cmake")

# The paths as the installed program will see them: DESTDIR is only where the files are staged.
get_filename_component(prefix "${CMAKE_INSTALL_PREFIX}" ABSOLUTE)
# An install folder is relative to the prefix unless it was given as an absolute path.
cmake_path(ABSOLUTE_PATH VELUNORH_PROGRAM_DIR BASE_DIRECTORY "${prefix}" OUTPUT_VARIABLE program_dir)
cmake_path(ABSOLUTE_PATH VELUNORH_DATA_DIR BASE_DIRECTORY "${prefix}" OUTPUT_VARIABLE data_dir)
set(program "${program_dir}/velunorh")
list(GET VELUNORH_ICON_SIZES -1 largest)
set(icon "${data_dir}/icons/hicolor/${largest}x${largest}/apps/${VELUNORH_APP_ID}.png")

desktop_string("${program}" LAUNCHER_TRY_EXEC)
desktop_exec_argument("${program}" LAUNCHER_EXEC)
# An absolute icon path resolves whatever prefix was chosen; a themed name would only where the
# desktop looks for icon themes.
desktop_string("${icon}" LAUNCHER_ICON)
velunorh_data_folder("${VELUNORH_DATA_FOLDER}" folder)
if(folder STREQUAL "")
  set(LAUNCHER_PATH_LINE "")
  message(STATUS "Launcher: no data folder chosen (VELUNORH_DATA_FOLDER); it starts Velunorh in "
                 "the home folder")
else()
  desktop_string("${folder}" path_value)
  set(LAUNCHER_PATH_LINE "Path=${path_value}\n")
  message(STATUS "Launcher: starts Velunorh in ${folder}")
endif()

set(desktop_file "${VELUNORH_STAGING_DIR}/${VELUNORH_APP_ID}.desktop")
configure_file("${VELUNORH_SOURCE_DIR}/res/velunorh.desktop.in" "${desktop_file}" @ONLY)

file(READ "${VELUNORH_SOURCE_DIR}/res/velunorh.metainfo.xml" metainfo)
if(NOT VELUNORH_SCREENSHOT_URL STREQUAL "")
  if(NOT VELUNORH_SCREENSHOT_URL MATCHES "^https?://[^ \t\n]+$")
    message(FATAL_ERROR "VELUNORH_SCREENSHOT_URL must be a web address (http or https): "
                        "'${VELUNORH_SCREENSHOT_URL}'")
  endif()
  xml_text("${VELUNORH_SCREENSHOT_URL}" url)
  string(CONCAT screenshots
    "<screenshots>\n"
    "    <screenshot type=\"default\">\n"
    "      <caption>The publisher list, the two previews of the card and the month boxes</caption>\n"
    "      <caption xml:lang=\"hu\">A hírnökök listája, a lap két előnézete és a hónapok</caption>\n"
    "      <image>${url}</image>\n"
    "    </screenshot>\n"
    "  </screenshots>")
  string(REPLACE "<!-- screenshot -->" "${screenshots}" metainfo "${metainfo}")
endif()
set(metainfo_file "${VELUNORH_STAGING_DIR}/${VELUNORH_APP_ID}.metainfo.xml")
file(WRITE "${metainfo_file}" "${metainfo}")

file(INSTALL DESTINATION "${data_dir}/applications" TYPE FILE FILES "${desktop_file}")
file(INSTALL DESTINATION "${data_dir}/metainfo" TYPE FILE FILES "${metainfo_file}")
