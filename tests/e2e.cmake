# End-to-end: the real program and the default show's pack in a virtual display.
foreach(run EscapeHeldSkipsEverySceneAndCleansUp:escape UntouchedPlaysEverySceneToItsEnd:untouched
            WindowAndSceneOptionsShowTheFourthSceneInAWindow:window)
  string(REPLACE ":" ";" parts ${run})
  list(GET parts 0 name)
  list(GET parts 1 mode)
  add_test(NAME ShowEndToEnd.${name}
           COMMAND xvfb-run -a -s "-screen 0 1280x720x24" ${CMAKE_CURRENT_SOURCE_DIR}/e2e_show.sh
                   $<TARGET_FILE:qz2> ${mode} $<TARGET_FILE:qz2-tool>)
  set_tests_properties(ShowEndToEnd.${name} PROPERTIES LABELS e2e TIMEOUT 400
                       ENVIRONMENT "LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_SOURCE_DIR}/lsan.supp")
endforeach()
