# 64-bit Windows (x86-64): the build that make windows makes and tests under 64-bit Wine.
set(mingw_prefix x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(wine_loader /usr/lib/wine/wine64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
