qz2_test_suite(scene qz2_scene qz2_render_recording qz2_content qz2_platform_fake LINUX_ONLY scene_tool_test.cpp)
# The tool test runs qz2-tool itself, on Linux.
if(NOT WIN32)
  add_dependencies(scene_tests qz2-tool)
  target_compile_definitions(scene_tests PRIVATE QZ2_TOOL="$<TARGET_FILE:qz2-tool>")
endif()
