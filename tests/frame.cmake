# The work of every frame allocates nothing, counted through the suite's own operator new.
qz2_test_suite(frame qz2_overlay qz2_music qz2_render_recording qz2_show_content qz2_platform_fake)
target_sources(frame_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/allocation_count.cpp)
