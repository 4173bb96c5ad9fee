# Compile settings shared by every target of the project.
add_library(qel_options INTERFACE)
target_include_directories(qel_options INTERFACE ${CMAKE_SOURCE_DIR})
# See cmake/compat/chrono: searched before the standard headers.
target_include_directories(qel_options SYSTEM BEFORE INTERFACE ${CMAKE_SOURCE_DIR}/cmake/compat)
target_compile_options(qel_options INTERFACE -Wall -Wextra)
if(QEL_WERROR)
  target_compile_options(qel_options INTERFACE -Werror)
endif()
if(QEL_FUZZ)
  # clang has no -fexec-charset=CP932: the fuzz build keeps program text
  # UTF-8, and its targets never compare program text to literals.
  target_compile_options(qel_options INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
    -fno-sanitize-recover=undefined)
  target_link_options(qel_options INTERFACE -fsanitize=address,undefined)
  # Pools serve from the heap, so ASan sees pooled objects (memory_allocator.h).
  target_compile_definitions(qel_options INTERFACE QEL_POOL_MALLOC)
else()
  # Sources are UTF-8; program text is Shift-JIS at run time.
  target_compile_options(qel_options INTERFACE
    $<$<COMPILE_LANGUAGE:CXX>:-finput-charset=UTF-8 -fexec-charset=CP932>)
endif()
# GCC 12 warns -Wrestrict inside libstdc++'s own std::string assignment once
# it is inlined at -O2 (a known false positive of that release).
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(qel_options INTERFACE $<$<COMPILE_LANGUAGE:CXX>:-Wno-restrict>)
endif()
if(QEL_TSAN)
  target_compile_options(qel_options INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
  target_link_options(qel_options INTERFACE -fsanitize=thread)
endif()
if(QEL_SANITIZE)
  target_compile_options(qel_options INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(qel_options INTERFACE -fsanitize=address,undefined)
endif()

# Every library of the project, in creation order, for the game and the tests
# that want everything.
add_library(qel_all INTERFACE)
set_property(GLOBAL PROPERTY QEL_LIBRARIES "")

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
  set_property(GLOBAL APPEND PROPERTY QEL_LIBRARIES ${name})
  set_property(GLOBAL PROPERTY QEL_FOLDER_${name} ${folder})
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

# qel_check_acyclic(): stops the configuration when the project's libraries
# use each other in a cycle (one folder using another that uses it), or when
# an engine, game or bindings library uses platform. Call it once every
# library has its dependencies. It also writes the link graph as the include
# rule reads it (${CMAKE_BINARY_DIR}/layer_graph.cmake: each library's folder
# and every library it links, however indirectly; see
# cmake/CheckLayerIncludes.cmake).
function(qel_check_acyclic)
  get_property(libraries GLOBAL PROPERTY QEL_LIBRARIES)
  foreach(lib ${libraries})
    get_target_property(kind ${lib} TYPE)
    if(kind STREQUAL "INTERFACE_LIBRARY")
      get_target_property(deps ${lib} INTERFACE_LINK_LIBRARIES)
    else()
      get_target_property(deps ${lib} LINK_LIBRARIES)
    endif()
    set(own "")
    foreach(dep ${deps})
      if(dep IN_LIST libraries)
        list(APPEND own ${dep})
      endif()
    endforeach()
    set(deps_${lib} ${own})
  endforeach()
  # Kahn's algorithm: peel off libraries whose dependencies are all peeled.
  set(left ${libraries})
  set(done "")
  set(progress TRUE)
  while(left AND progress)
    set(progress FALSE)
    foreach(lib ${left})
      set(ready TRUE)
      foreach(dep ${deps_${lib}})
        if(NOT dep IN_LIST done)
          set(ready FALSE)
        endif()
      endforeach()
      if(ready)
        list(APPEND done ${lib})
        list(REMOVE_ITEM left ${lib})
        set(progress TRUE)
      endif()
    endforeach()
  endwhile()
  if(left)
    message(FATAL_ERROR "Libraries in a cycle of uses, or standing on one: ${left}")
  endif()
  # Every library a library stands on, however indirectly. The engine, the
  # game and the bindings own interfaces that platform implements; none of
  # them may stand on platform.
  set(graph "# Written by qel_check_acyclic (cmake/QelTargets.cmake) at configure time.\n")
  string(APPEND graph "set(QEL_LAYER_LIBRARIES ${libraries})\n")
  foreach(lib ${libraries})
    set(seen "")
    set(todo ${deps_${lib}})
    while(todo)
      list(POP_FRONT todo dep)
      if(dep STREQUAL "platform" AND lib MATCHES "^(engine_|game_|bindings$)")
        message(FATAL_ERROR "${lib} uses platform; only the programs may")
      endif()
      if(NOT dep IN_LIST seen)
        list(APPEND seen ${dep})
        list(APPEND todo ${deps_${dep}})
      endif()
    endwhile()
    get_property(folder GLOBAL PROPERTY QEL_FOLDER_${lib})
    string(APPEND graph "set(QEL_LAYER_FOLDER_${lib} ${folder})\n")
    string(APPEND graph "set(QEL_LAYER_USES_${lib} ${seen})\n")
  endforeach()
  file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/layer_graph.cmake CONTENT "${graph}" @ONLY)
endfunction()
