# Runs the cross-built Windows test programs under Wine, with a quiet log and
# a Wine prefix of this build's own (made on the first run, a few seconds).
find_program(VELMORANDI_WINE NAMES wine64 wine HINTS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(NOT VELMORANDI_WINE)
  message(FATAL_ERROR "The Windows tests run under Wine: install wine64 (Debian) or set VELMORANDI_WINE")
endif()
set(VELMORANDI_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix CACHE PATH "Wine prefix for the tests")
# The offscreen platform of the window tests draws with FreeType from a font folder; Wine
# shows the Linux file system as drive Z:.
set(VELMORANDI_TEST_FONT_DIR /usr/share/fonts/truetype/dejavu CACHE PATH
  "Fonts for the window tests under Wine")
string(REPLACE "/" "\\" VELMORANDI_WINE_FONT_DIR "Z:${VELMORANDI_TEST_FONT_DIR}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                   WORLD_READ WORLD_EXECUTE
  @ONLY)
set(VELMORANDI_WINE_RUN ${CMAKE_BINARY_DIR}/wine-run.sh)
