# The Debian package (make package, or cpack in the build folder): what the
# install puts below /usr, stripped, with the Debian copyright and changelog,
# depending on the run-time packages of the libraries it is linked with
# (found by dpkg-shlibdeps) and of those it loads by name.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME plavik)
set(CPACK_PACKAGE_VENDOR "plavik")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(PLAVIK_PACKAGE_MAINTAINER "plavik <plavik@example.org>" CACHE STRING
    "Maintainer of the Debian package (name <address>)")
set(CPACK_PACKAGE_CONTACT "${PLAVIK_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "label design and printing")
set(CPACK_PACKAGE_DESCRIPTION
    "plavik designs labels (text, barcodes, pictures, shapes) and prints them on\n"
    "sheets of labels, one by one or merged with the records of a database,\n"
    "a spreadsheet or a dBASE, Paradox, Access or ODBC data source.")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded by name at run time, so dpkg-shlibdeps cannot see them: the SQLite
# driver of Qt SQL (the program database) and the fonts the labels are drawn
# with.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, fonts-liberation2")
# Italian texts of Qt's own dialogs, the Wayland desktop; the print system.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "cups")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# The Debian documents go only into the package: a component of their own,
# left out of a plain install, packed with the program into one package.
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_COMPONENTS_ALL plavik debian)

set(PLAVIK_DEBIAN_DOC ${CMAKE_BINARY_DIR}/debian-doc)
string(TIMESTAMP PLAVIK_PACKAGE_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
file(MAKE_DIRECTORY ${PLAVIK_DEBIAN_DOC})
configure_file(${CMAKE_SOURCE_DIR}/resources/debian/changelog.in ${PLAVIK_DEBIAN_DOC}/changelog.Debian @ONLY)
add_custom_command(
  OUTPUT ${PLAVIK_DEBIAN_DOC}/changelog.Debian.gz
  COMMAND gzip -9nfk ${PLAVIK_DEBIAN_DOC}/changelog.Debian
  DEPENDS ${PLAVIK_DEBIAN_DOC}/changelog.Debian
  COMMENT "Compressing the Debian changelog")
add_custom_target(debian_changelog ALL DEPENDS ${PLAVIK_DEBIAN_DOC}/changelog.Debian.gz)
install(FILES ${CMAKE_SOURCE_DIR}/resources/debian/copyright ${PLAVIK_DEBIAN_DOC}/changelog.Debian.gz
        DESTINATION share/doc/plavik COMPONENT debian EXCLUDE_FROM_ALL)

include(CPack)
