# The PNG and JPEG decoders: libspng (with zlib) and libjpeg-turbo.
# tools/fetch-library-sources.sh puts Debian's source packages of them in
# build/deps (VELMORA_IMAGE_SOURCES_DIR for another folder).
#
# The Windows builds compile all three from there and link them in
# statically.  The Linux build compiles libspng from there too, linked in
# statically with its SIMD defiltering, which Debian's own libspng is
# built without; it links the system's zlib and libjpeg-turbo.  Where
# libspng's source could not be fetched, the Linux build takes Debian's
# shared libspng instead.
set(VELMORA_IMAGE_SOURCES_DIR "" CACHE PATH
  "Folder with the sources of zlib, libspng and libjpeg-turbo (default: build/deps in the source tree)")
set(_image_sources ${VELMORA_IMAGE_SOURCES_DIR})
if(NOT _image_sources)
  set(_image_sources ${PROJECT_SOURCE_DIR}/build/deps)
endif()

include(CheckCSourceCompiles)

# png_library: libspng's one source file, with the optimisations its own
# build turns on by default.  Third-party code: our warning flags do not
# apply.
function(velmora_spng_from_source zlib)
  # libspng's build gives one of its defiltering loops an AVX2 clone,
  # picked at load time, where the compiler and C library allow.
  set(CMAKE_REQUIRED_FLAGS -Werror)
  check_c_source_compiles([[
    __attribute__((target_clones("default,avx2"))) static int f(int x) { return x + 3; }
    int main(void) { return f(39) == 42 ? 0 : 1; }]] VELMORA_HAVE_TARGET_CLONES)
  set(source ${_image_sources}/libspng/spng)
  add_library(png_library STATIC ${source}/spng.c)
  target_include_directories(png_library PUBLIC ${source})
  target_compile_definitions(png_library PUBLIC SPNG_STATIC
    PRIVATE $<$<BOOL:${VELMORA_HAVE_TARGET_CLONES}>:SPNG_ENABLE_TARGET_CLONES>)
  target_link_libraries(png_library PRIVATE ${zlib})
  target_compile_options(png_library PRIVATE -w)
endfunction()

if(NOT WIN32)
  find_package(ZLIB REQUIRED)
  if(EXISTS ${_image_sources}/libspng/spng/spng.c)
    velmora_spng_from_source(ZLIB::ZLIB)
  else()
    message(WARNING "libspng's source is not in ${_image_sources}/libspng: PNG images are "
      "decoded by Debian's shared libspng, which is built without its SIMD code and takes about 1.7 "
      "times as long. tools/fetch-library-sources.sh libspng fetches the source; configure again after it.")
    find_path(SPNG_INCLUDE_DIR spng.h REQUIRED)
    find_library(SPNG_LIBRARY spng REQUIRED)
    add_library(png_library INTERFACE)
    target_include_directories(png_library INTERFACE ${SPNG_INCLUDE_DIR})
    target_link_libraries(png_library INTERFACE ${SPNG_LIBRARY})
  endif()

  # Debian's libjpeg-turbo, its SIMD code in, shared: the static library
  # Debian ships is built for programs only (it refers to the C library's
  # stderr in a way a shared object cannot), and the map module links it.
  find_package(JPEG REQUIRED)
  add_library(jpeg_library INTERFACE)
  target_link_libraries(jpeg_library INTERFACE JPEG::JPEG)
  return()
endif()

foreach(_package zlib libspng libjpeg-turbo)
  if(NOT IS_DIRECTORY ${_image_sources}/${_package})
    message(FATAL_ERROR "The Windows builds compile ${_package} from its source, which is not in "
      "${_image_sources}/${_package}: run tools/fetch-library-sources.sh (tools/cross-build.sh does).")
  endif()
endforeach()

# Third-party code: our warning flags do not apply.
set(_zlib ${_image_sources}/zlib)
add_library(zlib_code STATIC
  ${_zlib}/adler32.c ${_zlib}/compress.c ${_zlib}/crc32.c ${_zlib}/deflate.c ${_zlib}/inffast.c ${_zlib}/inflate.c
  ${_zlib}/inftrees.c ${_zlib}/trees.c ${_zlib}/zutil.c)
target_include_directories(zlib_code PUBLIC ${_zlib})
target_compile_options(zlib_code PRIVATE -w)

velmora_spng_from_source(zlib_code)

# libjpeg-turbo is built by its own CMake project with the same toolchain,
# its SIMD code assembled by nasm; only its static library is made, and
# used from its build folder (jconfig.h is generated there, the other
# headers come from the source).
include(ExternalProject)
set(_jpeg_source ${_image_sources}/libjpeg-turbo)
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
