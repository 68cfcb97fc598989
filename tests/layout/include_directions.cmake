# Fails when a source file includes a header from a room (a top-level
# folder) above its own: no room includes one above it.
#
#   cmake -DSOURCE_DIR=<tree> -P include_directions.cmake
#
# The rooms stand in a ladder, listed bottom to top.  Each room may include
# its own headers and those of the rooms listed with it, all of which stand
# below it (the check fails on a list that names a room above); nothing
# else of the tree.  Includes without a folder part and includes of folders
# that are not part of the tree (system and third-party headers) are left
# alone; folders missing from the ladder (tests, benchmarks, examples, fuzz
# targets) may include anything.
cmake_minimum_required(VERSION 3.20)

set(rooms_bottom_to_top
  lwsdk platform placement section simplify dff col lightwave txd pixels dff_inspect texels extractor txd_build
  render import import_scene host scene effects map_export plugin tools)

# A room names the rooms it uses, or single headers of a room it uses for
# one thing only.
set(uses_lwsdk       "")
set(uses_platform    "")
set(uses_placement   "")
# A map section's own files and rules know nothing of the host.
set(uses_section     placement)
# A mesh made coarser knows nothing of where it comes from.
set(uses_simplify    platform)
set(uses_dff         platform)
set(uses_col         "")
set(uses_lightwave   platform)
set(uses_txd         dff)
set(uses_pixels      txd)
set(uses_dff_inspect dff platform/host_path.h)
set(uses_texels      dff_inspect dff)
set(uses_extractor   dff platform)
set(uses_txd_build   pixels txd dff_inspect dff lightwave platform)
# The renderer draws what dff_inspect reads, with texels/' textures, into
# pixels/' image type.
set(uses_render      texels dff_inspect pixels/rgba_image.h)
# The import reads game files through dff_inspect; its scene side writes
# LightWave files, and PNG images with pixels/' encoder.
set(uses_import      texels dff_inspect dff platform/host_path.h)
set(uses_import_scene import dff_inspect dff lightwave placement col platform pixels/png_encoder.h
                      pixels/rgba_image.h)
set(uses_host        lwsdk lightwave placement platform)
# The modules' rooms use none of the host's, the file formats' or the
# images' rooms; only the map command's files build a texture dictionary.
set(uses_scene       lwsdk dff col placement platform)
# A map object's lights and particle effects, from the items around it.
set(uses_effects     scene lwsdk dff col placement platform)
set(uses_map_export  effects scene txd_build lwsdk dff col section simplify placement platform)
# The import module's object loader tells a model by import/'s look at its
# first chunk and hands the host the object record import_scene/ builds.
set(uses_plugin      map_export scene import_scene import/model_sniff.h lightwave/lwo2_object.h lwsdk dff section
                     platform)
set(uses_tools       host txd_build render import import_scene lightwave dff_inspect txd pixels col section dff lwsdk
                     platform)

# The ladder itself: every room a room uses stands below it.
set(rungs_below "")
foreach(room ${rooms_bottom_to_top})
  foreach(used ${uses_${room}})
    string(REGEX REPLACE "/.*" "" used_room "${used}")
    if(NOT used_room IN_LIST rungs_below)
      message(FATAL_ERROR "include check: ${room}/ may include ${used}, "
        "which does not stand below it in rooms_bottom_to_top")
    endif()
  endforeach()
  list(APPEND rungs_below ${room})
endforeach()

if(NOT IS_DIRECTORY "${SOURCE_DIR}")
  message(FATAL_ERROR "include check: SOURCE_DIR '${SOURCE_DIR}' is not a folder")
endif()

# Every top-level folder is part of the tree, so an include of one that the
# ladder does not allow counts, even of a folder added later.
file(GLOB top_entries RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*")
set(tree_folders "")
foreach(entry ${top_entries})
  if(IS_DIRECTORY "${SOURCE_DIR}/${entry}")
    list(APPEND tree_folders "${entry}")
  endif()
endforeach()

set(violations "")
foreach(folder ${rooms_bottom_to_top})
  if(NOT IS_DIRECTORY "${SOURCE_DIR}/${folder}")
    continue()
  endif()
  file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}"
    "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.hpp"
    "${SOURCE_DIR}/${folder}/*.c" "${SOURCE_DIR}/${folder}/*.cpp")
  list(SORT sources)
  foreach(source ${sources})
    # One list element per line: the characters that CMake lists treat
    # specially are masked first; include lines never need them.
    file(READ "${SOURCE_DIR}/${source}" text)
    string(REGEX REPLACE "[][;\\]" "_" text "${text}")
    string(REPLACE "\n" ";" lines "${text}")
    set(line_number 0)
    foreach(line IN LISTS lines)
      math(EXPR line_number "${line_number} + 1")
      if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*\"([^/\"]+)/([^\"]+)\"")
        continue()
      endif()
      set(target_folder "${CMAKE_MATCH_1}")
      set(header "${CMAKE_MATCH_1}/${CMAKE_MATCH_2}")
      if(NOT target_folder IN_LIST tree_folders)
        continue()
      endif()
      if(target_folder STREQUAL folder OR target_folder IN_LIST uses_${folder}
         OR header IN_LIST uses_${folder})
        continue()
      endif()
      string(REPLACE ";" " " allowed_text "${folder} ${uses_${folder}}")
      list(APPEND violations
        "${source}:${line_number}: includes ${header}, but ${folder}/ may include only ${allowed_text}")
    endforeach()
  endforeach()
endforeach()

if(violations)
  list(LENGTH violations count)
  string(REPLACE ";" "\n" report "${violations}")
  message(FATAL_ERROR "${count} include(s) run the wrong way between rooms:\n${report}\n"
    "Move the code to the folder it depends on, or the shared part down to a folder both may use.")
endif()
message(STATUS "include check: no room includes one above it")
