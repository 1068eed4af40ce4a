# The program's icon, manifest and version information.
#
# include() this file from each directory that defines a target carrying
# the resources, then call startwin_add_resources(<target>) for each.

# enable_language() is only allowed at file scope, not inside a function.
enable_language(RC)
find_package(Python3 REQUIRED COMPONENTS Interpreter)

# Every target that carries the resources shares one generated icon: the
# custom command lives in a single custom target, since one output claimed by
# several targets races in parallel Makefile builds.
function(_startwin_add_icon_target)
  set(generator "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/../../../tools/make_icon.py")
  cmake_path(NORMAL_PATH generator)
  set(art_dir "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/icon")
  set(palette "${art_dir}/palette.txt")
  set(art_files)
  set(image_args)
  foreach(size IN ITEMS 16 32 48)
    set(art "${art_dir}/${size}x${size}.txt")
    list(APPEND art_files "${art}")
    list(APPEND image_args "${size}=${art}")
  endforeach()

  # A folder of its own, so that windres' search for "startwin.ico" cannot
  # pick up anything else from the build tree.
  set(generated_dir "${CMAKE_CURRENT_BINARY_DIR}/startwin_resources")
  set(icon "${generated_dir}/startwin.ico")
  file(MAKE_DIRECTORY "${generated_dir}")
  add_custom_command(
    OUTPUT "${icon}"
    COMMAND Python3::Interpreter "${generator}"
            --palette "${palette}" --output "${icon}" ${image_args}
    DEPENDS "${generator}" "${palette}" ${art_files}
    COMMENT "Generating startwin.ico from the icon art"
    VERBATIM)
  add_custom_target(startwin_icon DEPENDS "${icon}")
  set_property(GLOBAL PROPERTY STARTWIN_ICON "${icon}")
endfunction()

function(startwin_add_resources target)
  if(NOT TARGET startwin_icon)
    _startwin_add_icon_target()
  endif()
  get_property(icon GLOBAL PROPERTY STARTWIN_ICON)
  cmake_path(GET icon PARENT_PATH generated_dir)
  set(resources_dir "${CMAKE_CURRENT_FUNCTION_LIST_DIR}")
  set(rc "${resources_dir}/startwin.rc")
  set(manifest "${resources_dir}/startwin.manifest")

  add_dependencies(${target} startwin_icon)
  target_sources(${target} PRIVATE "${rc}")
  # windres searches its include path for the files an .rc names. CMake does
  # not scan .rc files for them, so the dependencies are spelled out: a new
  # icon or an edited manifest recompiles the resources.
  set_source_files_properties("${rc}" TARGET_DIRECTORY ${target}
    PROPERTIES
      INCLUDE_DIRECTORIES "${generated_dir};${resources_dir}"
      OBJECT_DEPENDS "${icon};${manifest}")
endfunction()
