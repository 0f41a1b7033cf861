# The headers of the operating-system service libraries (libmpv, libcurl,
# xcb/Xlib, QtWebEngine, QtDBus) may be included only in platform/. The
# folder forbidden-headers holds a stand-in of each that stops the build with
# an #error; it is searched before the system's include folders in every
# other layer. Every header of a Qt module includes the module's global
# header, so one stand-in covers the whole module.
function(kestrel_forbid_service_headers target)
  target_include_directories(${target} BEFORE PRIVATE ${CMAKE_SOURCE_DIR}/cmake/forbidden-headers)
endfunction()
