# Debian's mingw-w64 cross compilers; the including file sets VELTRA_TRIPLET and
# VELTRA_WINE_ARCH. The -posix variants are used because GoogleTest needs std::mutex,
# which the win32 thread model lacks.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER   ${VELTRA_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELTRA_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER  ${VELTRA_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VELTRA_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
