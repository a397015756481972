# Module-definition (.def) files for both processors from one source.
#
#   corvane_processor_def(<def_file> <out_var>)
#     Sets <out_var> to a copy of <def_file> for this build's processor,
#     written at generate time into the current binary folder.
#
# The .def files name each function as the x86 compiler decorates it
# (stdcall: `Name@<bytes of arguments>`), which x86 import libraries must
# match; link with --kill-at (dlltool, ld) so the DLL's own names stay
# undecorated, as Windows' are. x64 has no such decoration, so its copy
# drops it. For a DLL this project links itself, a wrong decoration on x86
# fails the link instead of calling a function with the wrong stack.

function(corvane_processor_def def_file out_var)
  cmake_path(ABSOLUTE_PATH def_file NORMALIZE)
  cmake_path(GET def_file STEM name)
  set(processor_def ${CMAKE_CURRENT_BINARY_DIR}/${name}_${CMAKE_SYSTEM_PROCESSOR}.def)
  file(READ ${def_file} exports)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    string(REGEX REPLACE "@[0-9]+" "" exports "${exports}")
  endif()
  file(GENERATE OUTPUT ${processor_def} CONTENT "${exports}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${def_file})
  set(${out_var} ${processor_def} PARENT_SCOPE)
endfunction()
