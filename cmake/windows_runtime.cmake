# What velunorh.exe needs beside it on Windows, from the Qt it was built with: the Qt DLLs, the
# platform and style plugins, Qt's Hungarian translation and a qt.conf that points Qt at them.
# MinGW's runtime is linked into our own programs statically, but the Qt DLLs were built against
# the shared one, so its three DLLs go along too. Qt 6.4's qtbase has no deployment tool: the
# list is kept here by hand. Windows' print support is inside Qt6PrintSupport.dll itself.
get_filename_component(VELUNORH_QT_PREFIX "${Qt6_DIR}/../../.." ABSOLUTE)
set(VELUNORH_QT_BIN "${VELUNORH_QT_PREFIX}/bin")
set(VELUNORH_QT_DLLS Qt6Core Qt6Gui Qt6Widgets Qt6PrintSupport)
list(TRANSFORM VELUNORH_QT_DLLS PREPEND "${VELUNORH_QT_BIN}/")
list(TRANSFORM VELUNORH_QT_DLLS APPEND ".dll")
set(VELUNORH_QT_PLUGINS platforms/qwindows styles/qwindowsvistastyle)

execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
                OUTPUT_VARIABLE velunorh_libstdcxx OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libgcc_s_seh-1.dll
                OUTPUT_VARIABLE velunorh_libgcc OUTPUT_STRIP_TRAILING_WHITESPACE)
find_file(velunorh_winpthread libwinpthread-1.dll
          PATHS /usr/x86_64-w64-mingw32/lib ${CMAKE_FIND_ROOT_PATH} PATH_SUFFIXES lib bin
          NO_DEFAULT_PATH REQUIRED)
set(VELUNORH_MINGW_DLLS "${velunorh_libstdcxx}" "${velunorh_libgcc}" "${velunorh_winpthread}")

# Debian's qt6-translations-l10n; the .qm files are the same on every system.
find_file(VELUNORH_QTBASE_HU qtbase_hu.qm
          PATHS "${VELUNORH_QT_PREFIX}/translations" /usr/share/qt6/translations
          NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)

# Relative to the program's folder, so the installed folder can move.
set(VELUNORH_QT_CONF "${CMAKE_BINARY_DIR}/windows/qt.conf")
file(WRITE "${VELUNORH_QT_CONF}" "[Paths]\nPrefix=.\nPlugins=plugins\nTranslations=translations\n")

# Copies the runtime into a folder of the build, so that the programs there run under Wine too;
# QT_DLLS and PLUGINS name what that folder's programs need besides.
function(velunorh_windows_runtime folder)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "QT_DLLS;PLUGINS")
  list(TRANSFORM arg_QT_DLLS PREPEND "${VELUNORH_QT_BIN}/")
  list(TRANSFORM arg_QT_DLLS APPEND ".dll")
  file(COPY ${VELUNORH_QT_DLLS} ${arg_QT_DLLS} ${VELUNORH_MINGW_DLLS} "${VELUNORH_QT_CONF}"
       DESTINATION "${folder}")
  file(COPY "${VELUNORH_QTBASE_HU}" DESTINATION "${folder}/translations")
  foreach(plugin IN LISTS VELUNORH_QT_PLUGINS arg_PLUGINS)
    get_filename_component(kind "${plugin}" DIRECTORY)
    file(COPY "${VELUNORH_QT_PREFIX}/plugins/${plugin}.dll" DESTINATION "${folder}/plugins/${kind}")
  endforeach()
endfunction()
