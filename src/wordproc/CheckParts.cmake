# Fails when a part of the engine includes a header it may not: a part above it, the flat
# folder, or a folder of the program outside the engine. Run with
#   cmake -DSOURCE_DIR=<src/wordproc> -DPARTS=<parts, lowest first> -P CheckParts.cmake
# A bare include ("Header.h") is allowed only for a header of the same folder.
cmake_minimum_required(VERSION 3.25)

# Besides the parts below it, a part may include the Core-only building blocks in base/; the
# engine part also automation/, the interface it implements. Nothing else of the program.
set(allowed_folders_engine automation)

set(faults)
set(rank 0)
foreach(part IN LISTS PARTS)
  file(GLOB files ${SOURCE_DIR}/${part}/*.h ${SOURCE_DIR}/${part}/*.cpp)
  foreach(path IN LISTS files)
    file(RELATIVE_PATH file ${SOURCE_DIR} ${path})
    file(STRINGS ${path} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS lines)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*$" "\\1" header "${line}")
      if(header MATCHES "^wordproc/([^/]+)/")
        list(FIND PARTS ${CMAKE_MATCH_1} other)
        if(other EQUAL -1)
          list(APPEND faults "${file}: ${header} is in no part")
        elseif(other GREATER rank)
          list(APPEND faults "${file}: ${header} belongs to ${CMAKE_MATCH_1}, above ${part}")
        endif()
      elseif(header MATCHES "^wordproc/")
        list(APPEND faults "${file}: ${header} names the engine's folder without its part")
      elseif(header MATCHES "^base/[^/]+$")
      elseif(header MATCHES "/")
        string(REGEX MATCH "^[^/]+" folder "${header}")
        if(NOT folder IN_LIST allowed_folders_${part} OR NOT header MATCHES "^[^/]+/[^/]+$")
          list(APPEND faults "${file}: ${part} may not include ${header}")
        endif()
      elseif(NOT EXISTS ${SOURCE_DIR}/${part}/${header})
        list(APPEND faults "${file}: ${header} is not a header of ${part}; name it with its part")
      endif()
    endforeach()
  endforeach()
  math(EXPR rank "${rank} + 1")
endforeach()

if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "The engine's parts include across their order:\n  ${text}")
endif()
