# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The Debian package: in a configured build tree, `cpack -G DEB` makes
# tolka_<version>_<arch>.deb of whatever `cmake --install` installs, under
# /usr. Configure with -DCMAKE_INSTALL_PREFIX=/usr so that the paths built
# into the programs are the package's too.

# The changelogs (this package's and the source package's) and the AppStream
# release name the version being built.
file(STRINGS ${PROJECT_SOURCE_DIR}/packaging/changelog changelog_top LIMIT_COUNT 1)
file(STRINGS ${PROJECT_SOURCE_DIR}/packaging/debian/changelog debian_changelog_top
     LIMIT_COUNT 1)
file(STRINGS ${PROJECT_SOURCE_DIR}/data/org.example.tolka.metainfo.xml metainfo_release
     REGEX "<release " LIMIT_COUNT 1)
if(NOT changelog_top MATCHES "^tolka \\(${PROJECT_VERSION}\\) "
   OR NOT debian_changelog_top MATCHES "^tolka \\(${PROJECT_VERSION}-[0-9]+\\) "
   OR NOT metainfo_release MATCHES "version=\"${PROJECT_VERSION}\"")
  message(FATAL_ERROR "packaging/changelog, packaging/debian/changelog and the metainfo's "
                      "newest release must all name version ${PROJECT_VERSION}")
endif()

install(FILES ${PROJECT_SOURCE_DIR}/packaging/debian/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
tolka_install_compressed(packaging/changelog ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tolka)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "Tolka developers <tolka-devel@example.org>")
# The summary and the description are the source package's: its control
# file's extended description, without the leading blank and with " ." for
# an empty line.
file(READ ${PROJECT_SOURCE_DIR}/packaging/debian/control control)
if(NOT control MATCHES "\nDescription: ([^\n]+)\n(( [^\n]*\n)+)")
  message(FATAL_ERROR "packaging/debian/control has no Description")
endif()
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${CMAKE_MATCH_1}")
string(REGEX REPLACE "(^|\n) \\.\n" "\\1\n" description "${CMAKE_MATCH_2}")
string(REGEX REPLACE "(^|\n) " "\\1" description "${description}")
string(STRIP "${description}" CPACK_PACKAGE_DESCRIPTION)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://example.org/tolka/)
# Depends from the libraries the programs link (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# GTK+ 2 finds the window's icon only where the hicolor theme is installed,
# which the toolkit itself merely recommends.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS hicolor-icon-theme)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Directories that the install creates get 0755 whatever the umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
