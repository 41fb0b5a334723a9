# The layers of the program, lowest first. Each layer sees its own folders and those of the layers
# below it through a tree of links made at configure time, and a target is given only its layer's
# tree: an include that runs back up a layer does not build.
set(QZ2_LAYER_ROOT ${CMAKE_BINARY_DIR}/layers)
file(REMOVE_RECURSE ${QZ2_LAYER_ROOT})

set(qz2_layer_platform platform)
set(qz2_layer_core ${qz2_layer_platform} core)
# The renderer interface and the window sit below the scene model; the rest of render/ serves the
# back ends above it.
set(qz2_layer_render_interface ${qz2_layer_core} render/renderer.h render/window.h render/backends.h)
set(qz2_layer_scene ${qz2_layer_render_interface} scene)
set(qz2_layer_subsystems ${qz2_layer_scene})
list(FILTER qz2_layer_subsystems EXCLUDE REGEX "^render/")
list(APPEND qz2_layer_subsystems render overlay music)
# Only the driver's data pack knows the extraction library's records.
set(qz2_layer_driver ${qz2_layer_subsystems} driver start)
set(qz2_layer_tools ${qz2_layer_driver} tools)
# The extraction library stands apart: its own folder, the byte reader and CRC-32.
set(qz2_layer_start start core/byte_reader.h core/crc32.h)

foreach(layer platform core render_interface scene subsystems driver tools start)
  foreach(entry ${qz2_layer_${layer}})
    get_filename_component(parent ${QZ2_LAYER_ROOT}/${layer}/${entry} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    if(EXISTS ${CMAKE_SOURCE_DIR}/${entry})
      file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${entry} ${QZ2_LAYER_ROOT}/${layer}/${entry} SYMBOLIC)
    endif()
  endforeach()
endforeach()

# Gives target the include tree of its layer.
function(qz2_layer target layer)
  if(NOT DEFINED qz2_layer_${layer})
    message(FATAL_ERROR "qz2_layer: no layer named ${layer}")
  endif()
  target_include_directories(${target} PRIVATE ${QZ2_LAYER_ROOT}/${layer})
endfunction()
