# find_package(Veltra1024) for hosts: the imported target Veltra1024::Veltra1024, with the
# DLL, the import library for the host's toolchain and architecture, and the header.
get_filename_component(_veltra_root "${CMAKE_CURRENT_LIST_DIR}/../../.." ABSOLUTE)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(_veltra_arch "/x64")
else()
    set(_veltra_arch "")
endif()
if(MSVC OR CMAKE_CXX_SIMULATE_ID STREQUAL "MSVC")
    set(_veltra_implib "${_veltra_root}/lib${_veltra_arch}/Veltra1024.lib")
else()
    set(_veltra_implib "${_veltra_root}/lib${_veltra_arch}/libVeltra1024.dll.a")
endif()
if(NOT EXISTS "${_veltra_root}/bin${_veltra_arch}/Veltra1024.dll" OR NOT EXISTS "${_veltra_implib}")
    set(Veltra1024_FOUND FALSE)
    set(Veltra1024_NOT_FOUND_MESSAGE "no Veltra1024 for this architecture and toolchain under ${_veltra_root}")
    return()
endif()
if(NOT TARGET Veltra1024::Veltra1024)
    add_library(Veltra1024::Veltra1024 SHARED IMPORTED)
    set_target_properties(Veltra1024::Veltra1024 PROPERTIES
        IMPORTED_LOCATION "${_veltra_root}/bin${_veltra_arch}/Veltra1024.dll"
        IMPORTED_IMPLIB "${_veltra_implib}"
        INTERFACE_INCLUDE_DIRECTORIES "${_veltra_root}/include")
endif()
unset(_veltra_arch)
unset(_veltra_implib)
unset(_veltra_root)
