# Compile settings shared by every target of the project.
add_library(qel_options INTERFACE)
target_include_directories(qel_options INTERFACE ${CMAKE_SOURCE_DIR})
# See cmake/compat/chrono: searched before the standard headers.
target_include_directories(qel_options SYSTEM BEFORE INTERFACE ${CMAKE_SOURCE_DIR}/cmake/compat)
target_compile_options(qel_options INTERFACE
  -Wall -Wextra
  # Sources are UTF-8; program text is Shift-JIS at run time.
  $<$<COMPILE_LANGUAGE:CXX>:-finput-charset=UTF-8 -fexec-charset=CP932>)
# GCC 12 warns -Wrestrict inside libstdc++'s own std::string assignment once
# it is inlined at -O2 (a known false positive of that release).
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(qel_options INTERFACE $<$<COMPILE_LANGUAGE:CXX>:-Wno-restrict>)
endif()
if(QEL_SANITIZE)
  target_compile_options(qel_options INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(qel_options INTERFACE -fsanitize=address,undefined)
endif()

# Every library of the project, in creation order, for the game and the tests
# that want everything.
add_library(qel_all INTERFACE)

# qel_add_library(<name> <folder> [DEPS <targets>...])
# A static library of the .cpp files directly in <folder> and its
# subfolders, except a subfolder named main (program entry points).
# A folder without sources yet gives an interface library, so dependants
# link against it all the same.
function(qel_add_library name folder)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       ${CMAKE_SOURCE_DIR}/${folder}/*.cpp ${CMAKE_SOURCE_DIR}/${folder}/*.c)
  list(FILTER sources EXCLUDE REGEX "/${folder}/main/")
  if(sources)
    add_library(${name} STATIC ${sources})
    target_link_libraries(${name} PUBLIC qel_options ${ARG_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE qel_options ${ARG_DEPS})
  endif()
  target_link_libraries(qel_all INTERFACE ${name})
endfunction()

# qel_link(<library> <targets>...): adds dependencies to a library made by
# qel_add_library, whichever kind it turned out to be.
function(qel_link name)
  get_target_property(kind ${name} TYPE)
  if(kind STREQUAL "INTERFACE_LIBRARY")
    target_link_libraries(${name} INTERFACE ${ARGN})
  else()
    target_link_libraries(${name} PUBLIC ${ARGN})
  endif()
endfunction()
