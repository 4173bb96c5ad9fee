# The packer and the build-time steps that turn plain sources into the
# game's scrambled data files (see tools/lib/packer.h for the command line).
# A folder whose targets.cmake is read before this one and packs data
# includes this file first; the guard makes the later inclusions no-ops.
include_guard(GLOBAL)

add_executable(packer ${CMAKE_SOURCE_DIR}/tools/packer/main.cpp)
target_link_libraries(packer PRIVATE tools_lib platform)

# qel_pack_table(<target> <input> <output> [KEY <key>] [TEXT] [TABLE]
#                [CHIPS <chip art>])
# Scrambles one plain file (a CSV table, a picture) into <output> at build
# time; KEY defaults to the game's file key. TEXT: the input is UTF-8 text,
# converted to Shift-JIS first. TABLE: a UTF-8 data table whose rows are
# checked against its header first (tools/lib/table_check.h); CHIPS: and
# whose chips are checked against the chip sheet drawn from that file.
# <target> is created and built by default; other targets may depend on it.
function(qel_pack_table target input output)
  cmake_parse_arguments(ARG "TEXT;TABLE" "KEY;CHIPS" "" ${ARGN})
  set(command scramble)
  if(ARG_TEXT)
    set(command scramble-text)
  endif()
  if(NOT DEFINED ARG_KEY)
    set(ARG_KEY file)
  endif()
  set(extra "")
  set(depends "")
  if(ARG_TABLE OR ARG_CHIPS)
    set(command scramble-table)
    if(ARG_CHIPS)
      get_filename_component(chips "${ARG_CHIPS}" ABSOLUTE)
      set(extra ${chips})
      set(depends ${chips})
    endif()
  endif()
  get_filename_component(input "${input}" ABSOLUTE)
  get_filename_component(outdir "${output}" DIRECTORY)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${outdir}
    COMMAND packer ${command} ${ARG_KEY} ${input} ${output} ${extra}
    DEPENDS packer ${input} ${depends}
    COMMENT "Packing ${output}"
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${output})
endfunction()

# qel_pack_scripts(<target> <output> BASE_DIR <dir> FILES <file>... [TEXT])
# Writes a script package of the files in the order given; each entry is
# named by its path relative to BASE_DIR, with '/' separators (the name the
# scripts see as their chunk name). TEXT: the files are UTF-8, converted to
# Shift-JIS and checked as Lua first.
function(qel_pack_scripts target output)
  cmake_parse_arguments(ARG "TEXT" "BASE_DIR" "FILES" ${ARGN})
  set(command package)
  if(ARG_TEXT)
    set(command package-text)
  endif()
  if(NOT ARG_BASE_DIR OR NOT ARG_FILES)
    message(FATAL_ERROR "qel_pack_scripts(${target}): BASE_DIR and FILES are required")
  endif()
  get_filename_component(base "${ARG_BASE_DIR}" ABSOLUTE)
  set(entries "")
  set(depends "")
  foreach(file ${ARG_FILES})
    get_filename_component(abs "${file}" ABSOLUTE BASE_DIR "${base}")
    file(RELATIVE_PATH name "${base}" "${abs}")
    list(APPEND entries "${name}=${abs}")
    list(APPEND depends "${abs}")
  endforeach()
  get_filename_component(outdir "${output}" DIRECTORY)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${outdir}
    COMMAND packer ${command} ${output} ${entries}
    DEPENDS packer ${depends}
    COMMENT "Packing ${output}"
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${output})
endfunction()

add_executable(contentgen ${CMAKE_SOURCE_DIR}/tools/contentgen/main.cpp)
target_link_libraries(contentgen PRIVATE tools_lib)
qel_link(tools_lib qel::vorbisenc)
qel_link(tools_lib qel::stb)

# qel_generate_sound(<target> <description> <output>)
# Synthesises one sound effect from its text description at build time.
function(qel_generate_sound target input output)
  get_filename_component(input "${input}" ABSOLUTE)
  get_filename_component(outdir "${output}" DIRECTORY)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${outdir}
    COMMAND contentgen sound ${input} ${output}
    DEPENDS contentgen ${input}
    COMMENT "Synthesising ${output}"
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${output})
endfunction()

# qel_generate_picture(<target> <description> <output>)
# Draws one picture (a chip sheet) from its text description at build time.
function(qel_generate_picture target input output)
  get_filename_component(input "${input}" ABSOLUTE)
  get_filename_component(outdir "${output}" DIRECTORY)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${outdir}
    COMMAND contentgen picture ${input} ${output}
    DEPENDS contentgen ${input}
    COMMENT "Drawing ${output}"
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${output})
endfunction()
