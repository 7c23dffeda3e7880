# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# follow's library alone, without the command line: what a stream of
# sentences prints, and gpsd's times.
add_executable(tolka_gps_tests gps/follow_test.cpp)
target_include_directories(tolka_gps_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(tolka_gps_tests PRIVATE tolka_gps GTest::gtest GTest::gtest_main)
gtest_discover_tests(tolka_gps_tests)
