# The Windows platform itself, run under Wine in a virtual display: window, keyboard, profile files, sound.
if(NOT WIN32)
  return()
endif()
qz2_test_suite(win32 qz2_render_core qz2_driver qz2_music qz2_platform_system)

# The end-to-end test's stand-in for the taskbar: restores or closes the program's window from another process.
add_executable(window_request window_request.cpp)
