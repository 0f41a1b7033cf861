cmake_minimum_required(VERSION 3.25)

# Compares the layer table of README.md ("How the code is laid out") with
# the layers the build declares, given as LAYER_MAP: "folder:used,used;...".
file(STRINGS ${README} rows REGEX "^\\| `[a-z]+/` \\|")
set(readme_map)
foreach(row IN LISTS rows)
  string(REGEX MATCH "^\\| `([a-z]+)/` \\|.*\\|([^|]*)\\|$" matched "${row}")
  set(folder ${CMAKE_MATCH_1})
  string(REGEX MATCHALL "`[a-z]+/`" uses "${CMAKE_MATCH_2}")
  string(REGEX REPLACE "`([a-z]+)/`" "\\1" uses "${uses}")
  list(SORT uses)
  string(REPLACE ";" "," uses "${uses}")
  list(APPEND readme_map "${folder}:${uses}")
endforeach()

set(build_map)
foreach(entry IN LISTS LAYER_MAP)
  string(REGEX MATCH "^([a-z]+):(.*)$" matched "${entry}")
  set(folder ${CMAKE_MATCH_1})
  string(REPLACE "," ";" uses "${CMAKE_MATCH_2}")
  list(SORT uses)
  string(REPLACE ";" "," uses "${uses}")
  list(APPEND build_map "${folder}:${uses}")
endforeach()

list(SORT readme_map)
list(SORT build_map)
if(NOT readme_map STREQUAL build_map)
  message(FATAL_ERROR "README.md's layer table and the build's layers differ:\n"
                      "  README.md: ${readme_map}\n  the build: ${build_map}")
endif()
message(STATUS "README.md's layer table matches the build: ${build_map}")
