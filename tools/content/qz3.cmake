# The qz3 scene writer of the content-writer library.
add_library(qz2_content_qz3 STATIC ${CMAKE_CURRENT_LIST_DIR}/qz3_writer.cpp)
target_link_libraries(qz2_content_qz3 PUBLIC qz2_scene)
