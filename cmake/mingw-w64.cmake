# Windows programs with Debian's MinGW-w64 in the posix thread model (std::thread needs it).
# Included by a toolchain file that sets mingw_prefix (the compilers' target triplet),
# CMAKE_SYSTEM_PROCESSOR and wine_loader (the Wine loader that runs the build's tests).
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${mingw_prefix}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_prefix}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_prefix}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${mingw_prefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The loader itself, not Debian's wine wrapper: the wrapper takes the 32-bit loader whenever
# wine32 is installed, and a machine may not run 32-bit programs at all.
set(CMAKE_CROSSCOMPILING_EMULATOR ${wine_loader})

# The runtime (libgcc, libstdc++, winpthread) linked in, so each .exe runs alone.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
