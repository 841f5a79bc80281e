# Installation. Velunorh keeps its settings file (velunorh.INI) beside its program file, so the
# program goes into a folder of its own under a prefix its user can write, such as ~/.local:
#   cmake --install build --prefix ~/.local
# gives ~/.local/share/velunorh/velunorh, a link to it in ~/.local/bin, the launcher in
# ~/.local/share/applications, the icons, the AppStream metainfo and the README; the folders are
# GNUInstallDirs' (CMAKE_INSTALL_BINDIR, CMAKE_INSTALL_DATADIR, CMAKE_INSTALL_DOCDIR). On Windows
# the prefix is the program's folder, with Qt beside the program (cmake/windows_install.cmake).
if(WIN32)
  # On Windows the prefix is the program's own folder: the installer packs what lands there.
  include("${CMAKE_SOURCE_DIR}/cmake/windows_install.cmake")
  return()
endif()

include(GNUInstallDirs)
include("${CMAKE_SOURCE_DIR}/cmake/desktop_entry.cmake")
# The documentation goes under the package's name (share/doc/velunorh), not the project's.
if("$CACHE{CMAKE_INSTALL_DOCDIR}" STREQUAL "")
  set(CMAKE_INSTALL_DOCDIR "${CMAKE_INSTALL_DATAROOTDIR}/doc/velunorh")
endif()

set(VELUNORH_DATA_FOLDER "" CACHE STRING
    "Folder of the companion program's files; the launcher starts Velunorh in it (empty: the home folder)")
set(VELUNORH_SCREENSHOT_URL "" CACHE STRING
    "Web address where docs/main-window.png is published, for the AppStream metainfo (empty: no screenshot)")
# Checked now, so that a wrong folder fails before anything is built.
velunorh_data_folder("${VELUNORH_DATA_FOLDER}" velunorh_data_folder_path)

set(VELUNORH_PROGRAM_DIR "${CMAKE_INSTALL_DATADIR}/velunorh")
set(VELUNORH_ICON_SIZES 32 64 128)
set(staging "${CMAKE_BINARY_DIR}/install-staging")

install(TARGETS velunorh RUNTIME DESTINATION ${VELUNORH_PROGRAM_DIR})

# A relative link works under any prefix; the program finds its real folder through
# /proc/self/exe, so its settings still land beside it.
file(RELATIVE_PATH link_target "${CMAKE_INSTALL_FULL_BINDIR}" "${CMAKE_INSTALL_FULL_DATADIR}/velunorh/velunorh")
file(MAKE_DIRECTORY "${staging}/bin")
file(CREATE_LINK "${link_target}" "${staging}/bin/velunorh" SYMBOLIC)
install(FILES "${staging}/bin/velunorh" DESTINATION "${CMAKE_INSTALL_BINDIR}")

# The icon theme's PNG files, made from the program's own icon.
add_executable(icon_png tools/icon_png_main.cpp)
target_link_libraries(icon_png PRIVATE Qt6::Gui)
set_target_properties(icon_png PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
set(icon_files)
foreach(size IN LISTS VELUNORH_ICON_SIZES)
  set(png "${CMAKE_BINARY_DIR}/icons/${size}x${size}/${VELUNORH_APP_ID}.png")
  add_custom_command(
    OUTPUT "${png}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_BINARY_DIR}/icons/${size}x${size}"
    COMMAND icon_png "${CMAKE_SOURCE_DIR}/res/velunorh.xpm" "${png}" ${size}
    DEPENDS icon_png "${CMAKE_SOURCE_DIR}/res/velunorh.xpm"
    COMMENT "Making the ${size}x${size} icon")
  list(APPEND icon_files "${png}")
  install(FILES "${png}" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps")
endforeach()
add_custom_target(velunorh_icons ALL DEPENDS ${icon_files})

install(FILES README.md DESTINATION "${CMAKE_INSTALL_DOCDIR}")
install(FILES docs/main-window.png DESTINATION "${CMAKE_INSTALL_DOCDIR}/docs")

# The launcher and the metainfo name the installed paths, so they are written for the prefix
# given at install time. The two choices can also be given then, to
# `cmake -DCMAKE_INSTALL_PREFIX=... -DVELUNORH_DATA_FOLDER=... -P build/cmake_install.cmake`.
install(CODE "
  set(VELUNORH_SOURCE_DIR [==[${CMAKE_SOURCE_DIR}]==])
  set(VELUNORH_STAGING_DIR [==[${staging}]==])
  set(VELUNORH_APP_ID [==[${VELUNORH_APP_ID}]==])
  set(VELUNORH_PROGRAM_DIR [==[${VELUNORH_PROGRAM_DIR}]==])
  set(VELUNORH_DATA_DIR [==[${CMAKE_INSTALL_DATADIR}]==])
  set(VELUNORH_ICON_SIZES [==[${VELUNORH_ICON_SIZES}]==])
  if(NOT DEFINED VELUNORH_DATA_FOLDER)
    set(VELUNORH_DATA_FOLDER [==[${velunorh_data_folder_path}]==])
  endif()
  if(NOT DEFINED VELUNORH_SCREENSHOT_URL)
    set(VELUNORH_SCREENSHOT_URL [==[${VELUNORH_SCREENSHOT_URL}]==])
  endif()
  include([==[${CMAKE_SOURCE_DIR}/cmake/install_launcher.cmake]==])
")
