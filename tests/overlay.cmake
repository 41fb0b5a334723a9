# Overlays and the character: their draw calls through the recording renderer, and their pixels on a virtual display.
qz2_test_suite(overlay_draw qz2_overlay qz2_render_recording qz2_content qz2_platform_fake
               LINUX_ONLY overlay_draw_tool_test.cpp)
if(WIN32)
  return()
endif()

set(CMAKE_CROSSCOMPILING_EMULATOR xvfb-run -a -s "-screen 0 1280x720x24")
qz2_test_suite(overlay_pixels qz2_overlay qz2_render_gl qz2_platform_gl qz2_content qz2_platform_system)
unset(CMAKE_CROSSCOMPILING_EMULATOR)
# The tool test runs qz2-tool itself.
add_dependencies(overlay_draw_tests qz2-tool)
target_compile_definitions(overlay_draw_tests PRIVATE QZ2_TOOL="$<TARGET_FILE:qz2-tool>")

# The per-frame benchmark on the show's own files, run by hand: overlay_bench. Not under the sanitizers: their
# timings mean nothing.
find_package(benchmark QUIET)
if(benchmark_FOUND AND TARGET qz2_show_content AND NOT QZ2_SANITIZE)
  add_executable(overlay_bench ${CMAKE_CURRENT_SOURCE_DIR}/bench/overlay_bench.cpp)
  target_link_libraries(overlay_bench PRIVATE qz2_overlay qz2_render_recording qz2_show_content qz2_platform_fake
                                              benchmark::benchmark)
  target_include_directories(overlay_bench PRIVATE ${CMAKE_SOURCE_DIR})
endif()
