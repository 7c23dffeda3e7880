# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# End-to-end: the program driven from outside through the accessibility
# layer (AT-SPI), with real key and pointer events, on a private X server and
# a private session bus that the script starts and ends.
set(TOLKA_E2E ${CMAKE_CURRENT_SOURCE_DIR}/e2e/run-e2e.sh)

# The built program, under the C locale.
add_test(NAME e2e.ConvertsBothWaysThenCloseButtonExitsZero
         COMMAND bash ${TOLKA_E2E} $<TARGET_FILE:tolka> close-button)
add_test(NAME e2e.WindowManagerCloseExitsZero
         COMMAND bash ${TOLKA_E2E} $<TARGET_FILE:tolka> window-manager)
# Asked for a language it has no catalogue for: French all the same.
add_test(NAME e2e.LanguageWithoutCatalogueStaysFrench
         COMMAND bash ${TOLKA_E2E} $<TARGET_FILE:tolka> language-without-catalogue)

# The program installed with `cmake --install --prefix` into a scratch
# prefix, in French and in English: it must find its catalogues there, not
# under the prefix it was built for.
set(TOLKA_E2E_PREFIX ${CMAKE_CURRENT_BINARY_DIR}/e2e-prefix)
add_test(NAME e2e.InstallIntoScratchPrefix
         COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${PROJECT_BINARY_DIR} -DPREFIX=${TOLKA_E2E_PREFIX}
                 -P ${CMAKE_CURRENT_SOURCE_DIR}/e2e/install.cmake)
add_test(NAME e2e.RemoveScratchPrefix
         COMMAND ${CMAKE_COMMAND} -E rm -rf ${TOLKA_E2E_PREFIX})
set_tests_properties(e2e.InstallIntoScratchPrefix PROPERTIES
                     FIXTURES_SETUP tolka_e2e_prefix RESOURCE_LOCK install_manifest)
set_tests_properties(e2e.RemoveScratchPrefix PROPERTIES FIXTURES_CLEANUP tolka_e2e_prefix)
foreach(language French English)
  string(TOLOWER ${language} scenario)
  add_test(NAME e2e.InstalledIn${language}TypedPastedAndRead
           COMMAND bash ${TOLKA_E2E} ${TOLKA_E2E_PREFIX}/bin/tolka ${scenario})
  set_tests_properties(e2e.InstalledIn${language}TypedPastedAndRead PROPERTIES
                       FIXTURES_REQUIRED tolka_e2e_prefix)
endforeach()

# A run takes a few seconds; every wait inside has its own 10 s limit.
set_tests_properties(e2e.ConvertsBothWaysThenCloseButtonExitsZero e2e.WindowManagerCloseExitsZero
                     e2e.LanguageWithoutCatalogueStaysFrench
                     e2e.InstalledInFrenchTypedPastedAndRead
                     e2e.InstalledInEnglishTypedPastedAndRead
                     PROPERTIES TIMEOUT 60 LABELS e2e)
