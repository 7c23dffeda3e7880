# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# support tests: the pixmap search path, image loading and accessible-action
# descriptions.
#
# The search path only grows, so every suite that depends on what it holds
# runs in a process of its own: one add_test per suite.
add_executable(tolka_support_tests support_test.cpp)
target_link_libraries(tolka_support_tests PRIVATE tolka_core GTest::gtest GTest::gtest_main)

# GLib's small blocks (error records among them) come from plain malloc, so
# that LeakSanitizer in the sanitizer build sees each one.
foreach(suite PixmapWithoutDirectory PixmapSearch PixmapWarningCatalogue AtkActionDescription)
  add_test(NAME support.${suite}
           COMMAND ${TOLKA_WITH_XVFB} $<TARGET_FILE:tolka_support_tests> --gtest_filter=${suite}.*)
  set_tests_properties(support.${suite} PROPERTIES ENVIRONMENT "G_SLICE=always-malloc")
endforeach()

# Every route of the image loaders, each found path, pixbuf and error record
# accounted for: one process runs all suites (the suite that needs an empty
# search path is defined first, so runs first) under memcheck. A definitely
# lost block or any memory error fails the test; the toolkit's own one-time
# allocations stay reachable, so they need no suppression. Modules loaded
# from the environment are kept out of it. The sanitizer build has
# LeakSanitizer instead, and memcheck cannot run beside it.
find_program(TOLKA_VALGRIND valgrind)
if(TOLKA_VALGRIND AND NOT TOLKA_SANITIZE)
  add_test(NAME support.memcheck
           COMMAND ${TOLKA_WITH_XVFB} ${TOLKA_VALGRIND} --quiet --leak-check=full
                   --errors-for-leak-kinds=definite --error-exitcode=99 --num-callers=30
                   $<TARGET_FILE:tolka_support_tests>)
  set_tests_properties(support.memcheck PROPERTIES
                       ENVIRONMENT "G_SLICE=always-malloc;GTK_MODULES=" TIMEOUT 120)
endif()
