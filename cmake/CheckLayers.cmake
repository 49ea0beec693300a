# Fails when a folder of the program includes a header of a folder it may not: one above it in
# the layers, or one beside it that it does not stand on. docs/architecture.md draws the same
# layers; the link checks (LinkClosure.cmake) hold the libraries to them, this holds the headers.
# Run with
#   cmake -DSOURCE_DIR=<repository> -P CheckLayers.cmake
# The engine's own parts are held to their order by src/wordproc/CheckParts.cmake.
cmake_minimum_required(VERSION 3.25)

# Each folder and the folders whose headers it may include, besides its own.
set(may_include_src/base)
set(may_include_src/automation)
set(may_include_src/record base)
set(may_include_src/runtime base)
set(may_include_src/pdfform)
set(may_include_src/generator base automation record runtime)
set(may_include_src/form base automation record runtime pdfform wordproc generator)
set(may_include_src/compare base record)
set(may_include_src/decision base automation record runtime pdfform wordproc generator form compare)
set(may_include_src/shell base runtime)
set(may_include_src/preview base runtime shell form)
# entry takes an import's values in the AcroForm layer's plain data, never its code.
set(may_include_src/entry base automation record runtime compare decision shell pdfform)
set(may_include_src/app base automation record runtime pdfform wordproc generator form compare decision shell preview entry)
set(may_include_tools/render base automation record runtime pdfform wordproc generator form compare decision)
set(folders src/base src/automation src/record src/runtime src/pdfform src/generator src/form src/compare
            src/decision src/shell src/preview src/entry src/app tools/render)

set(faults)
foreach(folder IN LISTS folders)
  string(REGEX REPLACE "^.*/" "" own "${folder}")
  file(GLOB_RECURSE files ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
  foreach(path IN LISTS files)
    file(RELATIVE_PATH file ${SOURCE_DIR} ${path})
    file(STRINGS ${path} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"[a-z]+/")
    foreach(line IN LISTS lines)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([a-z]+)/.*$" "\\1" other "${line}")
      if(NOT other STREQUAL own AND NOT other IN_LIST may_include_${folder})
        list(APPEND faults "${file}: ${folder} may not include ${other}/ (${line})")
      endif()
    endforeach()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "Headers included against the layers:\n  ${text}")
endif()
