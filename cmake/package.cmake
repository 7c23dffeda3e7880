# The Debian package: in a configured build tree, `cpack -G DEB` makes
# tolka_<version>_<arch>.deb of whatever `cmake --install` installs, under
# /usr. Configure with -DCMAKE_INSTALL_PREFIX=/usr so that the paths built
# into the programs are the package's too.

# The changelog and the AppStream release name the version being built.
file(STRINGS ${PROJECT_SOURCE_DIR}/packaging/changelog changelog_top LIMIT_COUNT 1)
file(STRINGS ${PROJECT_SOURCE_DIR}/data/org.example.tolka.metainfo.xml metainfo_release
     REGEX "<release " LIMIT_COUNT 1)
if(NOT changelog_top MATCHES "^tolka \\(${PROJECT_VERSION}\\) "
   OR NOT metainfo_release MATCHES "version=\"${PROJECT_VERSION}\"")
  message(FATAL_ERROR "packaging/changelog and the metainfo's newest release must both name "
                      "version ${PROJECT_VERSION}")
endif()

install(FILES ${PROJECT_SOURCE_DIR}/packaging/debian/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
tolka_install_compressed(packaging/changelog ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tolka)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "Tolka developers <tolka-devel@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "convert positions to and from the extended QTH locator")
set(CPACK_PACKAGE_DESCRIPTION [=[
Tolka converts a geographic position between degrees, minutes and seconds
and the ten-character extended QTH locator, from AA00AAAA00 to RR99XXXX99.
Its first six characters are the Maidenhead locator that radio amateurs
exchange; the last four refine it down to cells of 1.25 by 0.625 seconds
of arc. A locator converts back to the south-west corner of its cell.

The window, built with GTK+ 2, speaks French, and English under an English
locale; the numbers follow the locale's decimal separator.

The command line, tolka-cli, converts one position or millions in scripts
and pipelines: encode turns positions into locators, exactly at cell edges,
decode turns locators (extended or Maidenhead) into positions, and distance
gives the distance and antenna bearing between two stations, short and long
path, on the WGS84 ellipsoid and by the IARU Region 1 VHF contest rule.]=])
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
