# Cross build for 32-bit Windows: the deliverable platelog.exe.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(PLATELOG_TRIPLE i686-w64-mingw32)
set(CMAKE_C_COMPILER ${PLATELOG_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PLATELOG_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${PLATELOG_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${PLATELOG_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# SSE arithmetic rounds every single-precision step to float exactly as x86_64 does;
# x87 excess precision would change the nutrient rounding.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
