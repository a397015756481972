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

find_program(CORVANE_DLLTOOL NAMES ${CMAKE_C_COMPILER_TARGET}-dlltool x86_64-w64-mingw32-dlltool dlltool REQUIRED)

function(corvane_delay_load target def_file)
  cmake_path(ABSOLUTE_PATH def_file NORMALIZE)
  cmake_path(GET def_file STEM name)
  set(library ${CMAKE_CURRENT_BINARY_DIR}/lib${name}_delay.a)
  add_custom_command(
    OUTPUT ${library}
    COMMAND ${CORVANE_DLLTOOL} --input-def ${def_file} --dllname ${name}.dll --output-delaylib ${library}
    DEPENDS ${def_file}
    COMMENT "Delay-load import library for ${name}.dll"
    VERBATIM)
  add_custom_target(${target}_${name}_delay DEPENDS ${library})
  add_dependencies(${target} ${target}_${name}_delay)
  target_link_libraries(${target} PUBLIC ${library} delayimp)
endfunction()
