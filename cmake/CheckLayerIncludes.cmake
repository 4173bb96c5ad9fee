# cmake -DSOURCE_DIR=<repo> -P CheckLayerIncludes.cmake
# Fails when a file under engine/, game/ or bindings/ includes what only
# platform/ may use: a platform/ header, SDL, POSIX (unistd.h, sys/*,
# fcntl.h, dirent.h, sockets, threads), iconv, FreeType or stb. The engine
# owns its interfaces and platform/ implements them, never the other way.
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
