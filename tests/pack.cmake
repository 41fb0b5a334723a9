# The data pack: our extraction libraries (the Linux one and the Windows one's stored reader built
# here), the driver's extraction and deletion with a scripted stand-in library, and the RAR 4 writer.
add_library(pack_fake_start SHARED pack_fake_start.cpp)
add_library(pack_not_start SHARED pack_not_start.cpp)
foreach(library pack_fake_start pack_not_start)
  target_include_directories(${library} PRIVATE ${CMAKE_SOURCE_DIR})
endforeach()
qz2_test_suite(pack qz2_driver qz2_platform_fake qz2_content qz2_start_rar4)
# The Windows build's Start.Dll is the stored reader itself.
if(WIN32)
  set(stored_start Start)
else()
  set(stored_start StartStored)
endif()
add_dependencies(pack_tests Start ${stored_start} pack_fake_start pack_not_start)
target_compile_definitions(pack_tests PRIVATE
  START_LIBRARY="$<TARGET_FILE:Start>"
  STORED_START_LIBRARY="$<TARGET_FILE:${stored_start}>"
  FAKE_START_LIBRARY="$<TARGET_FILE:pack_fake_start>"
  NOT_START_LIBRARY="$<TARGET_FILE:pack_not_start>")
