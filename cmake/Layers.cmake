# The headers of the operating-system service libraries (libmpv, libcurl,
# xcb/Xlib, QtWebEngine, QtDBus) may be included only in platform/. The
# folder forbidden-headers holds a stand-in of each that stops the build with
# an #error; it is searched before the system's include folders in every
# other layer. Every header of a Qt module includes the module's global
# header, so one stand-in covers the whole module.
function(kestrel_forbid_service_headers target)
  target_include_directories(${target} BEFORE PRIVATE ${CMAKE_SOURCE_DIR}/cmake/forbidden-headers)
endfunction()

# kestrel_layer(FOLDER [USES FOLDER...]): the static library kestrel_FOLDER
# of the folder's sources, which sees the headers of the folders it uses and
# of what they use, and no others. Headers are included by their path from
# the repository's root ("radio/StreamPlayback.h"), so each folder gets an
# include root of its own in the build tree holding only a link to itself:
# the repository's root is on no one's include path.
function(kestrel_layer folder)
  cmake_parse_arguments(L "" "" "USES" ${ARGN})
  set(target kestrel_${folder})
  set(include_root ${CMAKE_BINARY_DIR}/layers/${folder})
  file(MAKE_DIRECTORY ${include_root})
  file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${include_root}/${folder} SYMBOLIC)
  add_library(${target} STATIC)
  target_include_directories(${target} PUBLIC ${include_root})
  foreach(used IN LISTS L_USES)
    target_link_libraries(${target} PUBLIC kestrel_${used})
  endforeach()
  kestrel_warnings(${target})
  kestrel_precompile_qt(${target})
  if(NOT folder STREQUAL "platform")
    kestrel_forbid_service_headers(${target})
  endif()
  set_property(GLOBAL APPEND PROPERTY KESTREL_LAYERS "${folder}")
  set_property(GLOBAL PROPERTY KESTREL_LAYER_USES_${folder} "${L_USES}")
endfunction()
