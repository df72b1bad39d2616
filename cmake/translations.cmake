# The program's translations, ui/translations/velmorandi_<language>.ts, made into .qm files
# with Qt's lrelease and built into the program under :/translations, each beside Qt's own
# texts in the same language (qtbase_<language>.qm, from Debian's qt6-translations-l10n or
# the Qt the program is built with). The program then runs in any language from its build
# folder or a package alike. lrelease and lupdate run on the build machine: a cross build's
# Qt has none, and the host's are used.

set(velmorandi_qt_tool_dirs
  "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS}" "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_LIBEXECS}"
  "${QT_HOST_PATH}/lib/qt6/bin" /usr/lib/qt6/bin)
find_program(VELMORANDI_LRELEASE NAMES lrelease lrelease-qt6 HINTS ${velmorandi_qt_tool_dirs}
  NO_CMAKE_FIND_ROOT_PATH)
find_program(VELMORANDI_LUPDATE NAMES lupdate lupdate-qt6 HINTS ${velmorandi_qt_tool_dirs}
  NO_CMAKE_FIND_ROOT_PATH)
if(NOT VELMORANDI_LRELEASE)
  message(FATAL_ERROR "Qt's lrelease builds the translations: install qt6-l10n-tools (Debian) "
    "or set VELMORANDI_LRELEASE")
endif()

file(GLOB VELMORANDI_TS_FILES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/ui/translations/velmorandi_*.ts)

# velmorandi_add_translations(TARGET): the .qm files, built into TARGET as the resource
# velmorandi_translations (a static library's user calls Q_INIT_RESOURCE on it).
function(velmorandi_add_translations target)
  set(qm_dir ${CMAKE_CURRENT_BINARY_DIR}/translations)
  set(qrc_entries)
  foreach(ts IN LISTS VELMORANDI_TS_FILES)
    get_filename_component(name ${ts} NAME_WE)
    string(REGEX REPLACE "^velmorandi_" "" language ${name})
    add_custom_command(OUTPUT ${qm_dir}/${name}.qm
      COMMAND ${VELMORANDI_LRELEASE} -silent ${ts} -qm ${qm_dir}/${name}.qm
      DEPENDS ${ts}
      COMMENT "Making the ${language} translation"
      VERBATIM)
    string(APPEND qrc_entries "    <file>${name}.qm</file>\n")

    find_file(VELMORANDI_QTBASE_QM_${language} qtbase_${language}.qm
      HINTS "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_TRANSLATIONS}" "${QT_HOST_PATH}/share/qt6/translations"
        /usr/share/qt6/translations
      NO_CMAKE_FIND_ROOT_PATH)
    if(VELMORANDI_QTBASE_QM_${language})
      configure_file(${VELMORANDI_QTBASE_QM_${language}} ${qm_dir}/qtbase_${language}.qm COPYONLY)
      string(APPEND qrc_entries "    <file>qtbase_${language}.qm</file>\n")
    else()
      message(WARNING "Qt's own texts in ${language} (qtbase_${language}.qm) were not found: "
        "its menus and keys stay English. Install qt6-translations-l10n (Debian) or set "
        "VELMORANDI_QTBASE_QM_${language}.")
    endif()
  endforeach()
  file(CONFIGURE OUTPUT ${qm_dir}/velmorandi_translations.qrc
    CONTENT "<RCC>\n  <qresource prefix=\"/translations\">\n${qrc_entries}  </qresource>\n</RCC>\n")
  qt_add_resources(resource_sources ${qm_dir}/velmorandi_translations.qrc)
  set_source_files_properties(${qm_dir}/velmorandi_translations.qrc PROPERTIES SKIP_AUTORCC ON)
  target_sources(${target} PRIVATE ${resource_sources})
endfunction()

# `cmake --build build --target update_translations` writes every text of the sources into
# the .ts files: new ones to translate, and none that the program no longer shows.
if(VELMORANDI_LUPDATE)
  add_custom_target(update_translations
    COMMAND ${VELMORANDI_LUPDATE} -silent -locations none -no-obsolete
      ${PROJECT_SOURCE_DIR}/ui ${PROJECT_SOURCE_DIR}/app -ts ${VELMORANDI_TS_FILES}
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    VERBATIM)
endif()
