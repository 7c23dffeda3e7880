# tolka-cli: its parsers, conversions and line reader (pure, linked with the
# window's own code only to compare with it), and the built program end to
# end.
add_executable(tolka_cli_tests cli/parse_test.cpp cli/convert_test.cpp cli/lines_test.cpp)
target_link_libraries(tolka_cli_tests PRIVATE tolka_cli_core tolka_core GTest::gtest
                      GTest::gtest_main)
gtest_discover_tests(tolka_cli_tests)
