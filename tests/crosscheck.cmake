# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The whole contest checked log against log: bands, calls, times, the made
# contest of tests/contest/logs and its results, and tolka-cli contest end
# to end with its reports and its map read back by GDAL.
add_executable(tolka_crosscheck_tests contest/crosscheck_test.cpp)
target_link_libraries(tolka_crosscheck_tests PRIVATE tolka_contest GTest::gtest GTest::gtest_main)
target_compile_definitions(tolka_crosscheck_tests PRIVATE
  TOLKA_CONTEST_LOGS="${CMAKE_CURRENT_SOURCE_DIR}/contest/logs")
gtest_discover_tests(tolka_crosscheck_tests TEST_PREFIX contest.)

add_test(NAME contest.cli_end_to_end
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/contest/contest.sh $<TARGET_FILE:tolka-cli>
          ${CMAKE_CURRENT_SOURCE_DIR}/contest/logs)
