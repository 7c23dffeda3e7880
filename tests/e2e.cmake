# End-to-end: the built program driven from outside through the accessibility
# layer (AT-SPI), with real key and pointer events, on a private X server and
# a private session bus that the script starts and ends.
set(TOLKA_E2E ${CMAKE_CURRENT_SOURCE_DIR}/e2e/run-e2e.sh)

add_test(NAME e2e.ConvertsBothWaysThenCloseButtonExitsZero
         COMMAND bash ${TOLKA_E2E} $<TARGET_FILE:tolka> close-button)
add_test(NAME e2e.WindowManagerCloseExitsZero
         COMMAND bash ${TOLKA_E2E} $<TARGET_FILE:tolka> window-manager)
# A run takes a few seconds; every wait inside has its own 10 s limit.
set_tests_properties(e2e.ConvertsBothWaysThenCloseButtonExitsZero e2e.WindowManagerCloseExitsZero
                     PROPERTIES TIMEOUT 60 LABELS e2e)
