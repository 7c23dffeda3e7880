# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The contest code: the EDI reader and writer, the rules, which contacts
# count, the scores and the report of one log.
add_executable(tolka_contest_tests contest/edi_test.cpp contest/rules_test.cpp)
target_link_libraries(tolka_contest_tests PRIVATE tolka_contest GTest::gtest GTest::gtest_main)
# The manual's example rules file is read from the sources.
target_compile_definitions(tolka_contest_tests PRIVATE TOLKA_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
gtest_discover_tests(tolka_contest_tests TEST_PREFIX contest.)
