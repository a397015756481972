# Delay-loaded system DLLs: the linker's own delay-load mechanism (an import
# library made by dlltool --output-delaylib and the runtime's
# __delayLoadHelper2) loads such a DLL at the first call into it instead of
# at start-up.
#
#   corvane_delay_load(<target> <def_file>)
#     Links <target> (PUBLIC, so that programs linking it get it too) against
#     a delay-load import library for the DLL and functions <def_file> names.
#     Put it before the ordinary import library of the same DLL, which the
#     toolchain adds by default.
#     The .def file names the functions as cmake/CorvaneDefFile.cmake says.
#     A function missing from it, or misdecorated on x86, links silently
#     against the ordinary import library, loaded at start-up.

include(${CMAKE_CURRENT_LIST_DIR}/CorvaneDefFile.cmake)
if(NOT CMAKE_DLLTOOL)
  message(FATAL_ERROR "No dlltool found beside the compiler ${CMAKE_C_COMPILER}")
endif()

function(corvane_delay_load target def_file)
  cmake_path(ABSOLUTE_PATH def_file NORMALIZE)
  cmake_path(GET def_file STEM name)
  set(library ${CMAKE_CURRENT_BINARY_DIR}/lib${name}_delay.a)
  corvane_processor_def(${def_file} processor_def)
  add_custom_command(
    OUTPUT ${library}
    COMMAND ${CMAKE_DLLTOOL} --kill-at --input-def ${processor_def} --dllname ${name}.dll --output-delaylib ${library}
    DEPENDS ${processor_def}
    COMMENT "Delay-load import library for ${name}.dll"
    VERBATIM)
  add_custom_target(${target}_${name}_delay DEPENDS ${library})
  add_dependencies(${target} ${target}_${name}_delay)
  target_link_libraries(${target} PUBLIC ${library} delayimp)
endfunction()
