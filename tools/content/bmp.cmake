# The BMP writer of the content builder and the tests, in its own target until the writers are folded together.
if(TARGET qz2_content_bmp)
  return()
endif()
add_library(qz2_content_bmp STATIC ${CMAKE_CURRENT_LIST_DIR}/bmp_writer.cpp)
