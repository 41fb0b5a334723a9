# The layer check of the test command, on this tree and on copies with planted back-includes.
add_test(NAME Layers.BackIncludesAreRefused COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/layers_test.sh)
set_tests_properties(Layers.BackIncludesAreRefused PROPERTIES LABELS layers)
