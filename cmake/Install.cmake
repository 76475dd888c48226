# What `cmake --install` puts where, and the Debian package CPack makes of it.
include(GNUInstallDirs)

install(TARGETS kavoro kavoro-list RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The two files every user's first start copies, and the help pages.
install(FILES resources/optionen.ini resources/endungen.ini resources/hilfe.htm
              resources/help.htm resources/help.css
        DESTINATION ${CMAKE_INSTALL_DATADIR}/kavoro)
install(FILES resources/desktop/org.kavoro.Kavoro.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES resources/desktop/org.kavoro.Kavoro.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES resources/desktop/org.kavoro.Kavoro.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

find_program(GZIP gzip REQUIRED)
foreach(page kavoro.1 kavoro-list.1)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/${page}.gz
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
                     COMMAND ${GZIP} -9 -n -c ${CMAKE_SOURCE_DIR}/resources/man/${page}
                             > ${CMAKE_BINARY_DIR}/man/${page}.gz
                     DEPENDS ${CMAKE_SOURCE_DIR}/resources/man/${page})
  list(APPEND kavoro_man_pages ${CMAKE_BINARY_DIR}/man/${page}.gz)
endforeach()
add_custom_target(kavoro_man_pages ALL DEPENDS ${kavoro_man_pages})
install(FILES ${kavoro_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kavoro)
set(CPACK_PACKAGE_VENDOR "The Kavoro developers")
set(CPACK_PACKAGE_CONTACT "The Kavoro developers <kavoro@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "list the files of folders as text, spreadsheet and web page")
set(CPACK_PACKAGE_DESCRIPTION
    "Kavoro turns folders into numbered listings, held at once as plain text, as a sortable
grid and as the source of an HTML page, in German or English. Listings can be searched,
styled, saved and reopened, and exported as .txt, .xls and .htm. kavoro-list does the same
on the command line.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# Glyphs for Chinese, Japanese and Korean names on printed pages.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-droid-fallback)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the libraries do not tell: the display plugins, the icon's renderer, the German texts of
# Qt's own dialogs and fonts that hold every character of the names.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6, qt6-translations-l10n, fonts-dejavu-core")
include(CPack)
