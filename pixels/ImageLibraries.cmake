# The PNG and JPEG decoders: libspng (with zlib) and libjpeg-turbo.
# On the build machine, Debian's libraries; for the Windows builds, their
# Debian source packages compiled here (tools/fetch-library-sources.sh
# puts them in VELMORA_IMAGE_SOURCES_DIR) and linked in statically.
set(VELMORA_IMAGE_SOURCES_DIR "" CACHE PATH
  "Folder with the sources of zlib, libspng and libjpeg-turbo, compiled instead of system libraries")

if(NOT VELMORA_IMAGE_SOURCES_DIR)
  find_package(JPEG REQUIRED)
  add_library(jpeg_library INTERFACE)
  target_link_libraries(jpeg_library INTERFACE JPEG::JPEG)
  find_path(SPNG_INCLUDE_DIR spng.h REQUIRED)
  find_library(SPNG_LIBRARY spng REQUIRED)
  add_library(png_library INTERFACE)
  target_include_directories(png_library INTERFACE ${SPNG_INCLUDE_DIR})
  target_link_libraries(png_library INTERFACE ${SPNG_LIBRARY})
  return()
endif()

# Third-party code: our warning flags do not apply.
set(_zlib ${VELMORA_IMAGE_SOURCES_DIR}/zlib)
add_library(zlib_code STATIC
  ${_zlib}/adler32.c ${_zlib}/compress.c ${_zlib}/crc32.c ${_zlib}/deflate.c ${_zlib}/inffast.c ${_zlib}/inflate.c
  ${_zlib}/inftrees.c ${_zlib}/trees.c ${_zlib}/zutil.c)
target_include_directories(zlib_code PUBLIC ${_zlib})
target_compile_options(zlib_code PRIVATE -w)

set(_spng ${VELMORA_IMAGE_SOURCES_DIR}/libspng)
add_library(png_library STATIC ${_spng}/spng/spng.c)
target_include_directories(png_library PUBLIC ${_spng}/spng)
target_compile_definitions(png_library PUBLIC SPNG_STATIC)
target_link_libraries(png_library PRIVATE zlib_code)
target_compile_options(png_library PRIVATE -w)

# libjpeg-turbo is built by its own CMake project with the same toolchain,
# its SIMD code assembled by nasm; only its static library is made, and
# used from its build folder (jconfig.h is generated there, the other
# headers come from the source).
include(ExternalProject)
set(_jpeg_source ${VELMORA_IMAGE_SOURCES_DIR}/libjpeg-turbo)
set(_jpeg_build ${CMAKE_BINARY_DIR}/libjpeg-turbo)
set(_jpeg_archive ${_jpeg_build}/${CMAKE_STATIC_LIBRARY_PREFIX}jpeg${CMAKE_STATIC_LIBRARY_SUFFIX})
get_filename_component(_toolchain "${CMAKE_TOOLCHAIN_FILE}" ABSOLUTE BASE_DIR "${PROJECT_SOURCE_DIR}")
ExternalProject_Add(libjpeg_turbo_build
  SOURCE_DIR ${_jpeg_source}
  BINARY_DIR ${_jpeg_build}
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${_toolchain}
    -DCMAKE_BUILD_TYPE=Release
    # Never installed, but its package files need a full path.
    -DCMAKE_INSTALL_PREFIX=${_jpeg_build}/install
    -DENABLE_SHARED=OFF
    -DENABLE_STATIC=ON
    -DWITH_TURBOJPEG=OFF
    -DREQUIRE_SIMD=ON
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target jpeg-static
  INSTALL_COMMAND ""
  BUILD_BYPRODUCTS ${_jpeg_archive})
add_library(jpeg_library STATIC IMPORTED GLOBAL)
set_target_properties(jpeg_library PROPERTIES
  IMPORTED_LOCATION ${_jpeg_archive}
  INTERFACE_INCLUDE_DIRECTORIES "${_jpeg_source};${_jpeg_build}")
