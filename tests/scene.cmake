qz2_test_suite(scene qz2_scene qz2_render_recording qz2_content qz2_platform_fake)
# The tool test runs qz2-tool itself.
if(TARGET qz2-tool)
  add_dependencies(scene_tests qz2-tool)
  target_compile_definitions(scene_tests PRIVATE QZ2_TOOL="$<TARGET_FILE:qz2-tool>")
endif()
