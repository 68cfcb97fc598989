# Fails when a source file includes a header from a folder above it.
#
#   cmake -DSOURCE_DIR=<tree> -P include_directions.cmake
#
# Each folder below may include its own headers and those of the folders
# listed with it, nothing else of the tree.  Includes without a folder part
# and includes of folders that are not part of the tree (system and
# third-party headers) are left alone; folders missing from the table
# (tests, benchmarks, examples) may include anything.
cmake_minimum_required(VERSION 3.20)

set(allowed_platform    platform)
set(allowed_lightwave   lightwave platform)
set(allowed_host        host lightwave placement platform plugin/lw_host.h)
# The map command writes a texture dictionary with txd_build; the first
# command's files include none of it.
set(allowed_plugin      plugin scene dff platform txd_build col section placement)
set(allowed_scene       plugin scene dff placement platform col)
set(allowed_dff         plugin scene dff platform)
set(allowed_extractor   extractor dff platform)
set(allowed_dff_inspect dff_inspect dff)
set(allowed_txd         txd dff)
set(allowed_pixels      pixels txd)
set(allowed_txd_build   txd_build pixels txd dff_inspect dff lightwave platform)
set(allowed_col         col)
set(allowed_placement   placement)
set(allowed_section     section placement)
set(allowed_tools       tools host txd_build lightwave dff_inspect txd pixels col section dff platform
                        plugin/lw_host.h)
set(checked_folders platform placement lightwave host plugin scene dff extractor dff_inspect txd pixels txd_build
                    col section tools)

if(NOT IS_DIRECTORY "${SOURCE_DIR}")
  message(FATAL_ERROR "include check: SOURCE_DIR '${SOURCE_DIR}' is not a folder")
endif()

# Every top-level folder is part of the tree, so an include of one that the
# table does not allow counts, even of a folder added later.
file(GLOB top_entries RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*")
set(tree_folders "")
foreach(entry ${top_entries})
  if(IS_DIRECTORY "${SOURCE_DIR}/${entry}")
    list(APPEND tree_folders "${entry}")
  endif()
endforeach()

set(violations "")
foreach(folder ${checked_folders})
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
      if(target_folder IN_LIST allowed_${folder} OR header IN_LIST allowed_${folder})
        continue()
      endif()
      string(REPLACE ";" " " allowed_text "${allowed_${folder}}")
      list(APPEND violations
        "${source}:${line_number}: includes ${header}, but ${folder}/ may include only ${allowed_text}")
    endforeach()
  endforeach()
endforeach()

if(violations)
  list(LENGTH violations count)
  string(REPLACE ";" "\n" report "${violations}")
  message(FATAL_ERROR "${count} include(s) run the wrong way between folders:\n${report}\n"
    "Move the code to the folder it depends on, or the shared part down to a folder both may use.")
endif()
message(STATUS "include check: every include runs downward")
