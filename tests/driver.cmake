qz2_test_suite(driver qz2_show qz2_show_content qz2_render_recording qz2_platform_fake)
# One test counts the allocations of a whole frame.
target_sources(driver_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/allocation_count.cpp)
