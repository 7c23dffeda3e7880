# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# i18n tests: the catalogue, the menu entry, the manual and the install.

# The window's texts under English, under French without a catalogue, and
# against po/; on an X server of its own.
add_executable(tolka_i18n_tests i18n_test.cpp)
target_link_libraries(tolka_i18n_tests PRIVATE tolka_core GTest::gtest GTest::gtest_main)
target_compile_definitions(tolka_i18n_tests PRIVATE
  TOLKA_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
  TOLKA_TEST_CATALOGUE="${TOLKA_BUILD_LOCALEDIR}/en/LC_MESSAGES/locx.mo")
add_dependencies(tolka_i18n_tests translations)
add_test(NAME i18n.window COMMAND ${TOLKA_WITH_XVFB} $<TARGET_FILE:tolka_i18n_tests>)

# The committed template is what the sources give.
add_test(NAME i18n.pot_matches_sources
  COMMAND ${CMAKE_COMMAND} ${TOLKA_EXTRACT_locx}
          -DOUTPUT=${CMAKE_CURRENT_BINARY_DIR}/i18n-extracted.pot -DMODE=check
          -P ${PROJECT_SOURCE_DIR}/po/extract.cmake)

# msgfmt as the build runs it accepts every catalogue and rejects one whose
# format directives differ from the source's.
add_test(NAME i18n.catalogue_format_check
  COMMAND ${CMAKE_COMMAND} "-DMSGFMT=${TOLKA_MSGFMT_COMMAND}"
          -DPO_DIR=${PROJECT_SOURCE_DIR}/po -DWORK_DIR=${CMAKE_CURRENT_BINARY_DIR}/i18n-format
          -P ${CMAKE_CURRENT_SOURCE_DIR}/i18n_format.cmake)

# The menu entry and the manual pass their validators without a word.
find_program(TOLKA_DESKTOP_FILE_VALIDATE desktop-file-validate)
find_program(TOLKA_GROFF groff)
if(NOT TOLKA_DESKTOP_FILE_VALIDATE OR NOT TOLKA_GROFF)
  message(FATAL_ERROR "desktop-file-validate or groff is missing: install the Debian packages "
                      "desktop-file-utils and groff-base")
endif()
add_test(NAME i18n.desktop_entry
  COMMAND ${CMAKE_COMMAND} -DVALIDATE=${TOLKA_DESKTOP_FILE_VALIDATE}
          -DFILE=${PROJECT_SOURCE_DIR}/data/org.example.tolka.desktop
          -P ${CMAKE_CURRENT_SOURCE_DIR}/i18n_desktop.cmake)
add_test(NAME i18n.manual_page
  COMMAND ${CMAKE_COMMAND} -DGROFF=${TOLKA_GROFF} -DFILE=${PROJECT_SOURCE_DIR}/docs/tolka.1
          -P ${CMAKE_CURRENT_SOURCE_DIR}/i18n_manual.cmake)

# Install into a scratch prefix, uninstall, and nothing is left. It writes
# the tree's install_manifest.txt, so it keeps and restores any earlier one.
add_test(NAME i18n.install_uninstall
  COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${PROJECT_BINARY_DIR}
          -DPREFIX=${CMAKE_CURRENT_BINARY_DIR}/i18n-prefix
          -P ${CMAKE_CURRENT_SOURCE_DIR}/i18n_install.cmake)
set_tests_properties(i18n.install_uninstall PROPERTIES RESOURCE_LOCK install_manifest)
