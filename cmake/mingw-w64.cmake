# Cross-builds the Windows side with Debian's mingw-w64 (posix thread model,
# so the stand-in's dial thread can use std::thread), linked statically so
# corvane.exe needs no runtime DLLs. x64 unless a toolchain file that
# includes this one names another processor first (mingw-w64-i686.cmake).
if(NOT CORVANE_MINGW_PROCESSOR)
  set(CORVANE_MINGW_PROCESSOR x86_64)
endif()
set(mingw_triple ${CORVANE_MINGW_PROCESSOR}-w64-mingw32)
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${CORVANE_MINGW_PROCESSOR})
set(CMAKE_C_COMPILER ${mingw_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_triple}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${mingw_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
