# 32-bit Windows: the product.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(VELTRA_TRIPLET i686-w64-mingw32)
set(VELTRA_WINE_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
