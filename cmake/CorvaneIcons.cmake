# Draws the program's icons at build time with tools/make_icons.py into
# ${CMAKE_BINARY_DIR}/generated/icons/, with the icons.rc fragment that lists
# them, and a contact sheet of all of them at ${CMAKE_BINARY_DIR}/icons-sheet.png.
#
#   corvane_generate_icons(<out_rc_var>)
#     Sets <out_rc_var> to the path of the generated icons.rc. The first call
#     adds the custom command and the target `corvane_icons`; later calls (from
#     any directory) only return the path. A .rc file that #includes icons.rc
#     needs the folder of icons.rc on its include path and icons.rc in its
#     OBJECT_DEPENDS; a target outside the directory of the first call also
#     needs add_dependencies(<target> corvane_icons).
#
#   corvane_add_resources(<target> <rc_file>)
#     Compiles <rc_file> into <target> with what the program's resources need:
#     the icons drawn first (and again whenever the script changes), the
#     include path for icons.rc, app.rc and corvane.manifest, and the version
#     defines CORVANE_VERSION_MAJOR/MINOR/PATCH/BUILD from project(VERSION).
#
#   corvane_version_defines(<out_var>)
#     Those version defines as a list, for code that wants to compare.

function(corvane_generate_icons out_rc_var)
  set(icons_dir ${CMAKE_BINARY_DIR}/generated/icons)
  set(icons_rc ${icons_dir}/icons.rc)
  get_property(defined GLOBAL PROPERTY CORVANE_ICONS_DEFINED)
  if(NOT defined)
    find_package(Python3 REQUIRED COMPONENTS Interpreter)
    set(script ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/../tools/make_icons.py)
    cmake_path(NORMAL_PATH script)
    # The script knows which files it writes; ask it, and configure again
    # when it changes so that the list stays right.
    execute_process(COMMAND ${Python3_EXECUTABLE} ${script} ${icons_dir} --list
                    OUTPUT_VARIABLE names OUTPUT_STRIP_TRAILING_WHITESPACE
                    RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "tools/make_icons.py --list failed: ${failed}")
    endif()
    set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${script})
    list(TRANSFORM names PREPEND ${icons_dir}/ OUTPUT_VARIABLE outputs)
    set(sheet ${CMAKE_BINARY_DIR}/icons-sheet.png)
    add_custom_command(
      OUTPUT ${outputs}
      BYPRODUCTS ${sheet}
      COMMAND ${Python3_EXECUTABLE} ${script} ${icons_dir} --sheet ${sheet}
      DEPENDS ${script}
      COMMENT "Drawing the icons"
      VERBATIM)
    add_custom_target(corvane_icons DEPENDS ${outputs})
    set_property(GLOBAL PROPERTY CORVANE_ICONS_DEFINED TRUE)
  endif()
  set(${out_rc_var} ${icons_rc} PARENT_SCOPE)
endfunction()

function(corvane_add_resources target rc_file)
  corvane_generate_icons(icons_rc)
  cmake_path(GET icons_rc PARENT_PATH icons_dir)
  set(resources_dir ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/../src/win32/resources)
  cmake_path(NORMAL_PATH resources_dir)
  cmake_path(ABSOLUTE_PATH rc_file NORMALIZE)

  target_sources(${target} PRIVATE ${rc_file})
  add_dependencies(${target} corvane_icons)
  # windres leaves no dependency file: name what the .rc pulls in.
  set_property(SOURCE ${rc_file} APPEND PROPERTY OBJECT_DEPENDS
               ${icons_rc} ${resources_dir}/app.rc ${resources_dir}/corvane.manifest)
  # app.rc and icons.rc for #include, corvane.manifest for windres itself.
  target_include_directories(${target} PRIVATE
                             $<$<COMPILE_LANGUAGE:RC>:${resources_dir}>
                             $<$<COMPILE_LANGUAGE:RC>:${icons_dir}>)
  corvane_version_defines(defines)
  target_compile_definitions(${target} PRIVATE "$<$<COMPILE_LANGUAGE:RC>:${defines}>")
endfunction()

# Sets <out_var> to CORVANE_VERSION_MAJOR=..;..MINOR=..;..PATCH=..;..BUILD=..
# from project(VERSION), missing parts 0.
function(corvane_version_defines out_var)
  set(defines "")
  foreach(part MAJOR MINOR PATCH TWEAK)
    set(number "${PROJECT_VERSION_${part}}")
    if(number STREQUAL "")
      set(number 0)
    endif()
    string(REPLACE TWEAK BUILD name ${part})
    list(APPEND defines CORVANE_VERSION_${name}=${number})
  endforeach()
  set(${out_var} ${defines} PARENT_SCOPE)
endfunction()
