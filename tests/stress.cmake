# The player's stress test: many short tracks opened, started and stopped; meant for the tsan preset.
qz2_test_suite(stress qz2_music qz2_mp3_frames qz2_platform_fake qz2_platform_system)
target_sources(stress_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/music_support.cpp)
