# Both back ends draw the default show alike: qz2-tool here against the Windows build's under Wine, in a virtual
# display large enough for its 800 x 600 window. The test command runs it after the cross-build.
find_package(PNG REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR xvfb-run -a -s "-screen 0 1280x1024x24")
qz2_test_suite(render_cross qz2_show_content PNG::PNG)
unset(CMAKE_CROSSCOMPILING_EMULATOR)
add_dependencies(render_cross_tests qz2-tool)
target_compile_definitions(render_cross_tests PRIVATE QZ2_TOOL="$<TARGET_FILE:qz2-tool>"
                                                      QZ2_WINE_PREFIX="${CMAKE_BINARY_DIR}/wine-prefix")
