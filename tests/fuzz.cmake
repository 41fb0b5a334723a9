# The fuzz targets as plain programs replaying the inputs once found at fault (the fuzz preset builds them itself).
if(NOT QZ2_FUZZ)
  add_subdirectory(fuzz)
endif()
