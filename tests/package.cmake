# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The Debian package, built by cpack from this tree's install rules and
# looked into without installing it (scripts/check-package.sh installs it in
# a fresh Debian by hand).
find_program(TOLKA_DPKG_DEB dpkg-deb)
find_program(TOLKA_DPKG_SHLIBDEPS dpkg-shlibdeps)
find_program(TOLKA_LINTIAN lintian)
find_program(TOLKA_APPSTREAMCLI appstreamcli)
if(NOT TOLKA_DPKG_SHLIBDEPS OR NOT TOLKA_LINTIAN OR NOT TOLKA_APPSTREAMCLI)
  message(FATAL_ERROR "dpkg-shlibdeps, lintian or appstreamcli is missing: install the Debian "
                      "packages dpkg-dev, lintian and appstream")
endif()
add_test(NAME package.deb_contents
  COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${PROJECT_BINARY_DIR}
          -DWORK_DIR=${CMAKE_CURRENT_BINARY_DIR}/package -DCPACK=${CMAKE_CPACK_COMMAND}
          -DDPKG_DEB=${TOLKA_DPKG_DEB} -DLINTIAN=${TOLKA_LINTIAN}
          -DAPPSTREAMCLI=${TOLKA_APPSTREAMCLI}
          -P ${CMAKE_CURRENT_SOURCE_DIR}/package_contents.cmake)
# cpack installs from the tree too, rewriting its install_manifest.txt.
set_tests_properties(package.deb_contents PROPERTIES RESOURCE_LOCK install_manifest TIMEOUT 300)
