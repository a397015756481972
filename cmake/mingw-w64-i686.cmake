# The 32-bit Windows side (x86): the same build as cmake/mingw-w64.cmake with
# Debian's i686 mingw-w64.
set(CORVANE_MINGW_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
