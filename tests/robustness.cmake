# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Robustness: bad input into the pure functions and the handlers, and the
# window's memory (references, resident size, valgrind's leak check).

# Pure functions, no display.
add_executable(tolka_robustness_tests robustness_test.cpp)
target_link_libraries(tolka_robustness_tests PRIVATE tolka_core GTest::gtest GTest::gtest_main)
gtest_discover_tests(tolka_robustness_tests)

# The handlers and the window on a private X server: one server per binary,
# since each test builds its own window anyway.
add_executable(tolka_robustness_window_tests robustness_window_test.cpp)
target_link_libraries(tolka_robustness_window_tests
                      PRIVATE tolka_core GTest::gtest GTest::gtest_main)
add_test(NAME tolka_robustness_window_tests
         COMMAND ${TOLKA_WITH_XVFB} $<TARGET_FILE:tolka_robustness_window_tests>)

add_executable(tolka_memory_tests memory_test.cpp)
target_link_libraries(tolka_memory_tests PRIVATE tolka_core GTest::gtest GTest::gtest_main)
# Two entries so that ctest -j runs them side by side.
add_test(NAME tolka_memory_windows
         COMMAND ${TOLKA_WITH_XVFB} $<TARGET_FILE:tolka_memory_tests>
                 --gtest_filter=Memory.AThousandWindows*)
add_test(NAME tolka_memory_conversions
         COMMAND ${TOLKA_WITH_XVFB} $<TARGET_FILE:tolka_memory_tests>
                 --gtest_filter=Memory.TenThousandConversions*)
set_tests_properties(tolka_memory_windows tolka_memory_conversions PROPERTIES TIMEOUT 300)

# valgrind's leak check of a short window life; it cannot run on a
# sanitizer build. GLib's slice allocator and lazy frees would hide or fake
# leaks, hence G_SLICE and G_DEBUG.
if(NOT TOLKA_SANITIZE)
  add_executable(tolka_memory_valgrind memory_valgrind.cpp)
  target_link_libraries(tolka_memory_valgrind PRIVATE tolka_core)
  find_program(TOLKA_VALGRIND valgrind)
  if(TOLKA_VALGRIND)
    add_test(NAME tolka_memory_valgrind
             COMMAND env G_SLICE=always-malloc G_DEBUG=gc-friendly
                     ${TOLKA_WITH_XVFB} ${TOLKA_VALGRIND} --quiet --leak-check=full
                     --show-leak-kinds=definite,indirect --errors-for-leak-kinds=definite,indirect
                     --error-exitcode=1 --num-callers=30
                     --suppressions=${CMAKE_CURRENT_SOURCE_DIR}/valgrind.supp
                     $<TARGET_FILE:tolka_memory_valgrind>)
    set_tests_properties(tolka_memory_valgrind PROPERTIES TIMEOUT 120)
  else()
    message(WARNING "valgrind not found: the leak check of the window is not run")
  endif()
endif()
