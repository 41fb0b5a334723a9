# The music suite: libmpg123 is the reference decoder, lame makes the streams at test time.
qz2_test_suite(music qz2_music)
find_package(PkgConfig REQUIRED)
pkg_check_modules(MPG123 REQUIRED IMPORTED_TARGET libmpg123)
target_sources(music_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/music_support.cpp)
target_link_libraries(music_tests PRIVATE PkgConfig::MPG123)
target_compile_definitions(music_tests PRIVATE QZ2_TOOL="$<TARGET_FILE:qz2-tool>")
add_dependencies(music_tests qz2-tool)
