# Both back ends draw alike: qz2-tool here against the Windows build's under Wine, in a virtual display no larger
# than the 800 x 600 picture, which both draw off screen. The test command runs it after the cross-build.
find_package(PNG REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR xvfb-run -a -s "-screen 0 800x600x24")
qz2_test_suite(render_cross qz2_show_content PNG::PNG)
unset(CMAKE_CROSSCOMPILING_EMULATOR)
add_dependencies(render_cross_tests qz2-tool)
target_compile_definitions(render_cross_tests PRIVATE QZ2_TOOL="$<TARGET_FILE:qz2-tool>"
                                                      QZ2_WINE_PREFIX="${CMAKE_BINARY_DIR}/wine-prefix"
                                                      QZ2_WEB_STILL="${CMAKE_SOURCE_DIR}/tests/web/render_still.js")
