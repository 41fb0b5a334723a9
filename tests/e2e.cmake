# End-to-end: the real program and the default show's pack in a virtual display.
add_test(NAME ShowEndToEnd.EscapeHeldPlaysEverySceneAndCleansUp
         COMMAND xvfb-run -a -s "-screen 0 1280x720x24" ${CMAKE_CURRENT_SOURCE_DIR}/e2e_show.sh $<TARGET_FILE:qz2>)
set_tests_properties(ShowEndToEnd.EscapeHeldPlaysEverySceneAndCleansUp PROPERTIES LABELS e2e TIMEOUT 300
                     ENVIRONMENT "LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_SOURCE_DIR}/lsan.supp")
