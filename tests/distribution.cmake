# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# What a distribution's reviewer checks first, quickly: every file's licence
# the REUSE way, and the AppStream metadata true to the files it describes.
find_program(TOLKA_REUSE reuse)
if(NOT TOLKA_REUSE OR NOT TOLKA_APPSTREAMCLI)
  message(FATAL_ERROR "reuse or appstreamcli is missing: install the Debian packages reuse and "
                      "appstream")
endif()
add_test(NAME distribution.reuse_lint
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/reuse_lint.sh ${TOLKA_REUSE} ${PROJECT_SOURCE_DIR})
add_test(NAME distribution.metainfo
  COMMAND ${CMAKE_COMMAND} -DMETAINFO=${PROJECT_SOURCE_DIR}/data/org.example.tolka.metainfo.xml
          -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -DAPPSTREAMCLI=${TOLKA_APPSTREAMCLI}
          -P ${CMAKE_CURRENT_SOURCE_DIR}/metainfo_check.cmake)
