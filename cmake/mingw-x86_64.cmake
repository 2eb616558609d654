# Cross build for 64-bit Windows: the same program and its tests, run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(PLATELOG_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${PLATELOG_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PLATELOG_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${PLATELOG_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${PLATELOG_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Without plain -static the executables import libwinpthread-1.dll, which Wine cannot find.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
