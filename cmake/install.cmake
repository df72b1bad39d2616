# What `cmake --install` puts under the prefix, and the Debian package cpack builds from it.
include(GNUInstallDirs)

install(TARGETS velmorandi RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

if(UNIX AND NOT APPLE)
  find_package(Qt6 6.4 REQUIRED COMPONENTS Gui)

  # The theme's PNG icons come from the same drawing code as the window icon.
  add_executable(velmorandi_icon_export
    ${PROJECT_SOURCE_DIR}/packaging/icon_export.cpp ${PROJECT_SOURCE_DIR}/ui/shell/app_icon.cpp)
  target_include_directories(velmorandi_icon_export PRIVATE ${PROJECT_SOURCE_DIR}/ui)
  target_link_libraries(velmorandi_icon_export PRIVATE Qt6::Gui)

  set(icon_theme_dir ${PROJECT_BINARY_DIR}/icons/hicolor)
  set(icon_files)
  foreach(size IN ITEMS 16 32 48 256)
    set(icon_dir ${icon_theme_dir}/${size}x${size}/apps)
    add_custom_command(OUTPUT ${icon_dir}/velmorandi.png
      COMMAND ${CMAKE_COMMAND} -E make_directory ${icon_dir}
      COMMAND velmorandi_icon_export ${size} ${icon_dir}/velmorandi.png
      DEPENDS velmorandi_icon_export
      COMMENT "Drawing the ${size} x ${size} icon"
      VERBATIM)
    list(APPEND icon_files ${icon_dir}/velmorandi.png)
  endforeach()
  add_custom_target(velmorandi_icons ALL DEPENDS ${icon_files})

  install(DIRECTORY ${icon_theme_dir} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/velmorandi.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/velmorandi.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/example.ombrix.velmorandi.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/velmorandi)
  # A folder's context menu in KDE's file managers. The main entry does not claim folders,
  # which could make it the default way to open every one. KDE runs a service menu under
  # ~/.local only when it is executable, so it is installed that way everywhere.
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/kde/velmorandi-servicemenu.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/kio/servicemenus
    RENAME velmorandi.desktop
    PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                WORLD_READ WORLD_EXECUTE)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmorandi)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Ombrix)
set(CPACK_PACKAGE_CONTACT "Ombrix <velmorandi@ombrix.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Bulk file rename utility")
set(CPACK_PACKAGE_DESCRIPTION
  "Velmorandi lists every file of a folder in a rename grid and reshapes all their names at \
once with five edit operations: find and replace, change case, add string, serialize and trim. \
The extension is never touched; the new names are checked before the files are renamed.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Ombrix <velmorandi@ombrix.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.ombrix.example/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt needs some font to draw with; the windows fall back to a plain sans-serif face.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-dejavu-core)
include(CPack)
