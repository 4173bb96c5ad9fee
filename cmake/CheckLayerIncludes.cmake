# cmake -DSOURCE_DIR=<repo> [-DGRAPH=<build>/layer_graph.cmake] -P CheckLayerIncludes.cmake
# Fails when a file of the project's libraries includes what its layer may
# not see:
# - a file under engine/, game/ or bindings/ includes what only platform/ may
#   use: a platform/ header, SDL, POSIX (unistd.h, sys/*, fcntl.h, dirent.h,
#   sockets, threads), iconv, FreeType or stb. The engine owns its interfaces
#   and platform/ implements them, never the other way.
# - with GRAPH (the link graph configuring writes): a library's file includes
#   a project header from outside its own folder and the folders of the
#   libraries it links, directly or through the libraries they link. So an
#   include points down the layers exactly as the links do. The programs
#   (a library's main/ subfolder, tools/packer), the tests and the benchmarks
#   are no library's and may include anything.
cmake_minimum_required(VERSION 3.25)
if(NOT SOURCE_DIR)
  message(FATAL_ERROR "SOURCE_DIR is required")
endif()

set(forbidden
  "platform/" "SDL" "unistd\\.h" "sys/" "fcntl\\.h" "dirent\\.h" "iconv\\.h" "ft2build\\.h"
  "freetype/" "stb_" "pthread\\.h" "sched\\.h" "netinet/" "arpa/" "netdb\\.h" "poll\\.h")
list(JOIN forbidden "|" alternatives)
set(pattern "^[ \t]*[$]?#[ \t]*include[ \t]*[<\"](${alternatives})")

set(found "")
foreach(layer engine game bindings)
  file(GLOB_RECURSE files
       ${SOURCE_DIR}/${layer}/*.h ${SOURCE_DIR}/${layer}/*.hpp ${SOURCE_DIR}/${layer}/*.cpp
       ${SOURCE_DIR}/${layer}/*.c ${SOURCE_DIR}/${layer}/*.pkg)
  foreach(file ${files})
    file(STRINGS ${file} lines REGEX "${pattern}")
    foreach(line ${lines})
      file(RELATIVE_PATH rel ${SOURCE_DIR} ${file})
      string(STRIP "${line}" line)
      list(APPEND found "${rel}: ${line}")
    endforeach()
  endforeach()
endforeach()

if(found)
  list(JOIN found "\n  " report)
  message(FATAL_ERROR "Only platform/ may include these:\n  ${report}")
endif()
message(STATUS "engine/, game/ and bindings/ keep to their own includes")

if(NOT GRAPH)
  return()
endif()
include(${GRAPH})

# owner_of(<path> <out>): the library whose folder holds <path> (the
# deepest such folder), or empty when no library's does; a main/ subfolder
# holds programs, which no library owns.
function(owner_of path out)
  set(best "")
  set(best_length 0)
  foreach(lib ${QEL_LAYER_LIBRARIES})
    set(folder ${QEL_LAYER_FOLDER_${lib}})
    string(LENGTH "${folder}" length)
    string(FIND "${path}" "${folder}/" at)
    if(at EQUAL 0 AND length GREATER best_length)
      string(SUBSTRING "${path}" ${length} -1 rest)
      if(NOT rest MATCHES "^/main/")
        set(best ${lib})
        set(best_length ${length})
      endif()
    endif()
  endforeach()
  set(${out} "${best}" PARENT_SCOPE)
endfunction()

set(include_pattern "^[ \t]*[$]?#[ \t]*include[ \t]*\"([^\"]+)\"")
set(upward "")
foreach(lib ${QEL_LAYER_LIBRARIES})
  set(folder ${QEL_LAYER_FOLDER_${lib}})
  file(GLOB_RECURSE files
       ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.hpp ${SOURCE_DIR}/${folder}/*.cpp
       ${SOURCE_DIR}/${folder}/*.c ${SOURCE_DIR}/${folder}/*.pkg)
  foreach(file ${files})
    file(RELATIVE_PATH rel ${SOURCE_DIR} ${file})
    owner_of(${rel} owner)
    if(NOT owner STREQUAL lib)
      continue()  # a deeper library's file, or a program's
    endif()
    file(STRINGS ${file} lines REGEX "${include_pattern}")
    foreach(line ${lines})
      string(REGEX MATCH "${include_pattern}" ignored "${line}")
      set(included ${CMAKE_MATCH_1})
      if(NOT included MATCHES "/")
        continue()  # beside the including file
      endif()
      owner_of(${included} target)
      if(target STREQUAL lib OR target IN_LIST QEL_LAYER_USES_${lib})
        continue()
      endif()
      if(target)
        set(why "${lib} does not link ${target}")
      else()
        set(why "no library holds it")
      endif()
      string(STRIP "${line}" line)
      list(APPEND upward "${rel}: ${line} (${why})")
    endforeach()
  endforeach()
endforeach()

if(upward)
  list(JOIN upward "\n  " report)
  message(FATAL_ERROR "Includes must point down the links:\n  ${report}")
endif()
message(STATUS "every library includes only its own and the libraries' it links")
