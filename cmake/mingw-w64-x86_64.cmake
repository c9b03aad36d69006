# Cross toolchain: MinGW-w64, 64-bit, posix thread model.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Every program is linked statically (C++ runtime, winpthread): the exes then
# import only system DLLs and run from any folder, under Wine included.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# ctest runs the cross-built test programs through Wine. Debian's wine64
# keeps its loader outside PATH.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
