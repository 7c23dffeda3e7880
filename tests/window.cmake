# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Window tests: the widget tree, the handlers and quitting, each executable
# on an X server of its own.
add_executable(tolka_window_tests window_test.cpp window_actions_test.cpp window_setup_test.cpp)
target_link_libraries(tolka_window_tests PRIVATE tolka_core GTest::gtest GTest::gtest_main)
add_test(NAME window COMMAND ${TOLKA_WITH_XVFB} $<TARGET_FILE:tolka_window_tests>)

# The small display helpers of the handlers; no display needed.
add_executable(tolka_window_helpers_tests window_helpers_test.cpp)
target_link_libraries(tolka_window_helpers_tests PRIVATE tolka_core GTest::gtest
                      GTest::gtest_main)
add_test(NAME window_helpers COMMAND tolka_window_helpers_tests)

# The built program on the test's X server, closed as a window manager closes
# it and by a click on its close button.
add_executable(tolka_close_tests close_test.cpp)
target_link_libraries(tolka_close_tests PRIVATE PkgConfig::X11 GTest::gtest GTest::gtest_main)
target_compile_definitions(tolka_close_tests PRIVATE TOLKA_PROGRAM="$<TARGET_FILE:tolka>")
target_include_directories(tolka_close_tests PRIVATE ${PROJECT_SOURCE_DIR}/scripts)
add_dependencies(tolka_close_tests tolka)
add_test(NAME window_close COMMAND ${TOLKA_WITH_XVFB} $<TARGET_FILE:tolka_close_tests>)


# --help and --version, with no display at all.
add_test(NAME window_options
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/program_options.sh $<TARGET_FILE:tolka>
                 ${PROJECT_VERSION})
