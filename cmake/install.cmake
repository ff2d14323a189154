# Install rules and the Debian package (cpack -G DEB).
include(GNUInstallDirs)

set(_pkg ${PROJECT_SOURCE_DIR}/packaging)
set(_gen ${PROJECT_BINARY_DIR}/packaging)

install(TARGETS marvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS marvane_svg LIBRARY DESTINATION ${MARVANE_MODULE_DIR})

configure_file(${_pkg}/marvane.desktop.in ${_gen}/${MARVANE_APP_ID}.desktop @ONLY)
configure_file(${_pkg}/marvane.metainfo.xml.in ${_gen}/${MARVANE_APP_ID}.metainfo.xml @ONLY)
install(FILES ${_gen}/${MARVANE_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_gen}/${MARVANE_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${_pkg}/marvane.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${MARVANE_APP_ID}.svg)
# The session files' type (application/x-marvane-session, *.marvane), for
# update-mime-database; the desktop entry names it in MimeType=.
install(FILES ${_pkg}/marvane-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME marvane.xml)

# PNG icons rendered from the SVG at build time.
include(${CMAKE_CURRENT_LIST_DIR}/icons.cmake)
set(_pngs)
foreach(size 16 32 48 64 128 256)
  set(_png ${_gen}/icons/${size}/${MARVANE_APP_ID}.png)
  marvane_render_icon(${size} ${_png})
  list(APPEND _pngs ${_png})
  install(FILES ${_png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(marvane_icons ALL DEPENDS ${_pngs})

# The man page, gzipped as Debian wants it.
add_custom_command(OUTPUT ${_gen}/marvane.1.gz
  COMMAND gzip -9n -c ${_pkg}/marvane.1 > ${_gen}/marvane.1.gz
  DEPENDS ${_pkg}/marvane.1 VERBATIM)
add_custom_target(marvane_man ALL DEPENDS ${_gen}/marvane.1.gz)
install(FILES ${_gen}/marvane.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

add_custom_command(OUTPUT ${_gen}/changelog.gz
  COMMAND gzip -9n -c ${_pkg}/changelog > ${_gen}/changelog.gz
  DEPENDS ${_pkg}/changelog VERBATIM)
add_custom_target(marvane_changelog ALL DEPENDS ${_gen}/changelog.gz)
install(FILES ${_pkg}/copyright ${_gen}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME marvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_CONTACT "The Marvane developers <marvane@example.org>")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_LICENSE "${MARVANE_LICENSE}")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Type the weights of a regression with an interaction term and see, for each
 moderator value, the slope and intercept of the simple-effect line, two
 plotting points on it and where the lines cross.")
include(CPack)
