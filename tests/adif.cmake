# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# What an ADIF log means: the reader, the record editor and its checks.
add_executable(tolka_adif_tests adif/adif_test.cpp)
target_include_directories(tolka_adif_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}
                           ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(tolka_adif_tests PRIVATE tolka_adif GTest::gtest GTest::gtest_main)
gtest_discover_tests(tolka_adif_tests)
