# The music suite: libmpg123 is the reference decoder, lame makes the streams at test time.
qz2_test_suite(music qz2_music qz2_content qz2_platform_fake LINUX_ONLY music_reference_test.cpp music_crafted_test.cpp
                                                                   music_compliance_test.cpp)
target_sources(music_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/music_support.cpp)
if(WIN32)
  return()
endif()
find_package(PkgConfig REQUIRED)
pkg_check_modules(MPG123 REQUIRED IMPORTED_TARGET libmpg123)
target_sources(music_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/music_reference.cpp)
target_link_libraries(music_tests PRIVATE PkgConfig::MPG123)
target_compile_definitions(music_tests PRIVATE QZ2_TOOL="$<TARGET_FILE:qz2-tool>"
                                               QZ2_MUSIC_REFERENCES="${CMAKE_BINARY_DIR}/music-references")
add_dependencies(music_tests qz2-tool)
# The standard's Layer III compliance stream and its reference decode.
set(QZ2_COMPLIANCE_DIR "${CMAKE_CURRENT_SOURCE_DIR}/data" CACHE PATH "Folder of l3-sin1k0db.bit and .pcm")
target_compile_definitions(music_tests PRIVATE QZ2_COMPLIANCE_DIR="${QZ2_COMPLIANCE_DIR}")

# The per-frame decoding benchmark, run by hand: QZ2_BENCH_MP3=track.mp3 music_bench. Not under the sanitizers,
# for the same reasons as overlay_bench.
find_package(benchmark QUIET)
if(benchmark_FOUND AND NOT QZ2_SANITIZE)
  add_executable(music_bench ${CMAKE_CURRENT_SOURCE_DIR}/bench/music_bench.cpp)
  target_link_libraries(music_bench PRIVATE qz2_music benchmark::benchmark)
  target_include_directories(music_bench PRIVATE ${CMAKE_SOURCE_DIR})
endif()
