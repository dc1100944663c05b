# What the Debian package holds beside the program and its shipped files
# (src/CMakeLists.txt): the software-centre entry, the manual page, the
# licence and the change log; and how CPack makes the package
# (tools/package runs it on a Release build).
include(GNUInstallDirs)
set(package ${CMAKE_CURRENT_LIST_DIR})

install(FILES ${package}/org.example.velmorand.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${package}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

# Debian keeps manual pages and change logs compressed, reproducibly.
set(compressed)
foreach(file velmorand.1 changelog)
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/package/${file}.gz
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/package
        COMMAND sh -c "gzip -9n < '${package}/${file}' > '${CMAKE_BINARY_DIR}/package/${file}.gz'"
        DEPENDS ${package}/${file} VERBATIM)
    list(APPEND compressed ${CMAKE_BINARY_DIR}/package/${file}.gz)
endforeach()
add_custom_target(package_files ALL DEPENDS ${compressed})
install(FILES ${CMAKE_BINARY_DIR}/package/velmorand.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/package/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmorand)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CONTACT "The Velmorand developers <${VELMORAND_CONTACT_MAIL}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "personal organiser: notes, diary with reminders, contacts, birthdays")
# The long description; CPack puts the summary above it and indents it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Velmorand keeps notes, a diary whose reminders ring until they are
switched off, an address book, a journal and a list of birthdays, each in
groups of the user's own. It lives in the notification area, answers
global hot keys and can announce the time.

It reads and writes the data files, settings and language files of the
Windows program of the same name, so a whole folder can be brought along.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${VELMORAND_WEB_PAGE})
# The libraries' packages are found from the program itself.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own texts in the interface language, and Wayland sessions.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
