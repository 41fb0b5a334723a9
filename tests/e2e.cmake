# End-to-end: the real program and the default show's pack in a virtual display.
find_package(X11 REQUIRED)
add_executable(send_close_request send_close_request.cpp)
target_link_libraries(send_close_request PRIVATE X11::X11)

foreach(run EscapeHeldSkipsEverySceneAndCleansUp:escape UntouchedPlaysEverySceneToItsEnd:untouched
            WindowAndSceneOptionsShowTheFourthSceneInAWindow:window
            ClosingTheWindowEndsTheShowAndCleansUp:close SigtermEndsTheShowAndCleansUp:sigterm
            APausedShowWaitsWithoutACore:pause)
  string(REPLACE ":" ";" parts ${run})
  list(GET parts 0 name)
  list(GET parts 1 mode)
  # The full-screen runs fill a screen of the show's own size; the windowed ones need room around the window.
  set(screen 1280x720x24)
  if(mode MATCHES "^(escape|untouched)$")
    set(screen 800x600x24)
  endif()
  add_test(NAME ShowEndToEnd.${name}
           COMMAND xvfb-run -a -s "-screen 0 ${screen}" ${CMAKE_CURRENT_SOURCE_DIR}/e2e_show.sh
                   $<TARGET_FILE:qz2> ${mode} $<TARGET_FILE:qz2-tool> $<TARGET_FILE:send_close_request>)
  set_tests_properties(ShowEndToEnd.${name} PROPERTIES LABELS e2e TIMEOUT 400
                       ENVIRONMENT "LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_SOURCE_DIR}/lsan.supp")
endforeach()
