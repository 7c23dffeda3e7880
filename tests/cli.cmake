# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# tolka-cli: its parsers, conversions, distances and line reader (pure,
# linked with the window's own code only to compare with it), and the built
# program end to end.
add_executable(tolka_cli_tests cli/parse_test.cpp cli/convert_test.cpp cli/distance_test.cpp
               cli/nmea_test.cpp cli/lines_test.cpp cli/adif_command_test.cpp)
target_link_libraries(tolka_cli_tests PRIVATE tolka_cli_core tolka_core GTest::gtest
                      GTest::gtest_main)
gtest_discover_tests(tolka_cli_tests)

# The built program end to end, one test for each group of e2e.sh.
foreach(group statuses alignment operands long-line interactive distance edi adif)
  add_test(NAME cli.e2e_${group}
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/cli/e2e.sh $<TARGET_FILE:tolka-cli> ${group})
endforeach()

# follow on a recorded track, from standard input and through gpsd.
foreach(group stdin gpsd)
  add_test(NAME cli.follow_${group}
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/gps/follow.sh $<TARGET_FILE:tolka-cli> ${group})
endforeach()

# decode --geojson as GDAL reads it.
add_test(NAME cli.geojson_read_by_gdal
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/geojson/geojson.sh $<TARGET_FILE:tolka-cli>)

# The README's paste recipes, on files with CRLF line ends.
add_test(NAME cli.readme_recipes
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/cli/readme_recipes.sh $<TARGET_FILE:tolka-cli>
          ${PROJECT_SOURCE_DIR}/README.md)

# Installed into the scratch prefix of e2e.cmake: its files, and French from
# the prefix.
add_test(NAME cli.installed_speaks_french
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/cli/installed.sh ${TOLKA_E2E_PREFIX}
          ${TOLKA_BASH_COMPLETION_DIR})
set_tests_properties(cli.installed_speaks_french PROPERTIES FIXTURES_REQUIRED tolka_e2e_prefix)

# The manual page, the completion and the catalogue template.
add_test(NAME cli.manual_page
  COMMAND ${CMAKE_COMMAND} -DGROFF=${TOLKA_GROFF} -DFILE=${PROJECT_SOURCE_DIR}/docs/tolka-cli.1
          -P ${CMAKE_CURRENT_SOURCE_DIR}/i18n_manual.cmake)
add_test(NAME cli.bash_completion
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/cli/completion.sh
          ${PROJECT_SOURCE_DIR}/data/tolka-cli.bash-completion)
add_test(NAME cli.pot_matches_sources
  COMMAND ${CMAKE_COMMAND} ${TOLKA_EXTRACT_tolka-cli} -DOUTPUT=${CMAKE_CURRENT_BINARY_DIR}/cli-extracted.pot
          -DMODE=check -P ${PROJECT_SOURCE_DIR}/po/extract.cmake)
