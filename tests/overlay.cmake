# Overlays and the character: their draw calls through the recording renderer, and their pixels on a virtual display.
qz2_test_suite(overlay_draw qz2_overlay qz2_render_recording qz2_content qz2_platform_fake)

set(CMAKE_CROSSCOMPILING_EMULATOR xvfb-run -a -s "-screen 0 1280x720x24")
qz2_test_suite(overlay_pixels qz2_overlay qz2_render_gl qz2_content qz2_platform_system)
unset(CMAKE_CROSSCOMPILING_EMULATOR)
# The tool test runs qz2-tool itself.
if(TARGET qz2-tool)
  add_dependencies(overlay_draw_tests qz2-tool)
  target_compile_definitions(overlay_draw_tests PRIVATE QZ2_TOOL="$<TARGET_FILE:qz2-tool>")
endif()
