# 64-bit Windows: the companion DLL and the fast test target.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(VELTRA_TRIPLET x86_64-w64-mingw32)
set(VELTRA_WINE_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
