# 32-bit Windows (x86), for the 32-bit editions of Windows: built by make windows32, not tested by CI, whose
# machines may not run 32-bit programs.
set(mingw_prefix i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(wine_loader /usr/lib/wine/wine)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
