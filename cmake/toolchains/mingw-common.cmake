# Shared part of the mingw-w64 toolchains; the including file sets
# VELMORA_MINGW_TRIPLE and CMAKE_SYSTEM_PROCESSOR first.
#
# The posix flavour of Debian's cross compilers is chosen explicitly (not
# whatever the alternatives system points at) because its C++ library has
# the whole thread support; with the runtimes linked statically the
# deliverables need no DLL that Windows does not ship either way.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${VELMORA_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELMORA_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VELMORA_MINGW_TRIPLE}-windres)

# Layout and the user's desktop have no libgcc, libstdc++ or winpthread
# DLLs: link every runtime into each program and module.
# Release builds are what ships, so they go without symbol tables.
foreach(_kind EXE SHARED MODULE)
  set(CMAKE_${_kind}_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
  set(CMAKE_${_kind}_LINKER_FLAGS_RELEASE_INIT "-s")
endforeach()

# Libraries and headers come from the cross sysroot only, never from the
# build machine's /usr.
set(CMAKE_FIND_ROOT_PATH /usr/${VELMORA_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# CLI11, nlohmann-json and stb are header-only and the same for every
# target, so Debian's copies serve the cross builds too.  Their package files
# point at /usr/include, which must not reach the cross compiler (its C
# headers would shadow the Windows ones), so they are reached through a
# small prefix of links that holds only these two header folders.
set(_velmora_header_prefix "${CMAKE_BINARY_DIR}/header-only-deps")
foreach(_entry
    "share/cmake/CLI11=/usr/share/cmake/CLI11"
    "share/cmake/nlohmann_json=/usr/share/cmake/nlohmann_json"
    "include/CLI=/usr/include/CLI"
    "include/nlohmann=/usr/include/nlohmann"
    "include/stb=/usr/include/stb")
  string(REPLACE "=" ";" _pair "${_entry}")
  list(GET _pair 0 _link)
  list(GET _pair 1 _target)
  if(EXISTS "${_target}" AND NOT EXISTS "${_velmora_header_prefix}/${_link}")
    get_filename_component(_parent "${_velmora_header_prefix}/${_link}" DIRECTORY)
    file(MAKE_DIRECTORY "${_parent}")
    file(CREATE_LINK "${_target}" "${_velmora_header_prefix}/${_link}" SYMBOLIC)
  endif()
endforeach()
set(CLI11_DIR "${_velmora_header_prefix}/share/cmake/CLI11" CACHE PATH "")
set(nlohmann_json_DIR "${_velmora_header_prefix}/share/cmake/nlohmann_json" CACHE PATH "")
set(STB_INCLUDE_DIR "${_velmora_header_prefix}/include" CACHE PATH "")
