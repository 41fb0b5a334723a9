# qz2-tool capture (handed over to qz2-capture) on a short pack from the content builder, read back with FFmpeg's
# own tools. The two captures are made once, for every test.
qz2_test_suite(capture ONE_PROCESS)
add_dependencies(capture_tests qz2-tool qz2-content)
target_compile_definitions(capture_tests PRIVATE QZ2_TOOL="$<TARGET_FILE:qz2-tool>"
                                                 QZ2_CONTENT="$<TARGET_FILE:qz2-content>")
