# The OpenGL back end: its pure pieces, and its pixels and GL state on a virtual display.
qz2_test_suite(render_gl qz2_render_gl qz2_platform_gl qz2_content qz2_platform_fake)

# Each pixel test runs in a virtual X server of its own, 16:9 so that full screen shows bars.
find_package(PNG REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR xvfb-run -a -s "-screen 0 1280x720x24")
qz2_test_suite(render_pixels qz2_render_gl qz2_platform_gl qz2_content qz2_platform_system PNG::PNG)
unset(CMAKE_CROSSCOMPILING_EMULATOR)
# qz2-tool render is run as the program it is.
add_dependencies(render_pixels_tests qz2-tool)
target_compile_definitions(render_pixels_tests PRIVATE QZ2_TOOL="$<TARGET_FILE:qz2-tool>")
