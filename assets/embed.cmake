# Writes a C++ source that defines the pictures of pictures.h from the files'
# bytes. Plain constant arrays (not data linked in beside the compiler) keep
# every Picture constant-initialised, so code that copies one during its own
# static initialisation never sees it empty.
#
#   cmake -P embed.cmake OUTPUT.cpp Name=file [Name=file ...]
cmake_minimum_required(VERSION 3.25)

set(output ${CMAKE_ARGV3})
math(EXPR last "${CMAKE_ARGC} - 1")
set(arrays "")
set(pictures "")
foreach(i RANGE 4 ${last})
  string(REGEX MATCH "^([A-Za-z0-9_]+)=(.+)$" entry "${CMAKE_ARGV${i}}")
  if(NOT entry)
    message(FATAL_ERROR "embed.cmake: '${CMAKE_ARGV${i}}' is not Name=file")
  endif()
  set(name ${CMAKE_MATCH_1})
  file(READ "${CMAKE_MATCH_2}" hex HEX)
  if(hex STREQUAL "")
    message(FATAL_ERROR "embed.cmake: ${CMAKE_MATCH_2} is empty")
  endif()
  # 24 bytes a line (CMake's expressions have no counted repeats).
  string(REPEAT "[0-9a-f]" 48 line)
  string(REGEX REPLACE "(${line})" "\\1\n" hex "${hex}")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REPLACE "\n" "\n    " bytes "${bytes}")
  string(APPEND arrays "const unsigned char k${name}[] = {\n    ${bytes}\n};\n")
  string(APPEND pictures "constinit const Picture ${name}{k${name}, sizeof k${name}};\n")
endforeach()

file(WRITE "${output}.tmp"
  "// Made by assets/embed.cmake from the files in assets/art at build time.\n"
  "#include \"assets/pictures.h\"\n\n"
  "namespace assets {\nnamespace {\n${arrays}}  // namespace\n\n${pictures}}  // namespace assets\n")
file(RENAME "${output}.tmp" "${output}")
