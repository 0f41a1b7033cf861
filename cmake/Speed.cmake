# What keeps the build short.

# ccache, when it is installed, so that a rebuild of unchanged sources costs
# nothing. A launcher given on the command line is kept. ccache reuses the
# results of sources that read a precompiled header only when told that
# the header's macros and time stamps may be trusted.
find_program(KESTREL_CCACHE ccache)
if(KESTREL_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
  set(CMAKE_CXX_COMPILER_LAUNCHER ${KESTREL_CCACHE})
  set(CMAKE_C_COMPILER_LAUNCHER ${KESTREL_CCACHE})
endif()
if(CMAKE_CXX_COMPILER_LAUNCHER MATCHES "ccache$")
  set(CMAKE_CXX_COMPILER_LAUNCHER
      ${CMAKE_COMMAND} -E env CCACHE_SLOPPINESS=pch_defines,time_macros ${CMAKE_CXX_COMPILER_LAUNCHER})
endif()

# Precompiled headers: most of the time of compiling one of our sources
# goes into parsing the same Qt (and, in the tests, GoogleTest) headers.
# They are precompiled once for the program's libraries and once for the
# tests, and every such target reuses them. Qt's test headers stay out: they
# read macros that Qt sets to each test's own folder.
option(KESTREL_PRECOMPILED_HEADERS "Precompile the Qt and GoogleTest headers most sources include" ON)

set(KESTREL_PRECOMPILED_QT_HEADERS
  <QApplication>
  <QCoreApplication>
  <QDialog>
  <QEvent>
  <QFile>
  <QHBoxLayout>
  <QIcon>
  <QLabel>
  <QList>
  <QObject>
  <QPainter>
  <QPointer>
  <QString>
  <QStringList>
  <QTimer>
  <QVBoxLayout>
  <QWidget>
  <functional>
  <memory>
)

# kestrel_precompiled_header_source(TARGET HEADER...): a library whose only
# work is the precompiled header that others reuse; it compiles with the Qt
# modules and the warnings every user of the header has (-Wpedantic changes
# the compiler's own macros, which must match), and nothing else.
function(kestrel_precompiled_header_source target)
  set(source ${CMAKE_CURRENT_BINARY_DIR}/${target}.cpp)
  file(WRITE ${source} "// The precompiled header's own source: nothing of its own.\n")
  add_library(${target} OBJECT ${source})
  set_target_properties(${target} PROPERTIES AUTOMOC OFF)
  target_link_libraries(${target} PRIVATE Qt6::Core Qt6::Gui Qt6::Widgets Qt6::Network)
  kestrel_warnings(${target})
  target_precompile_headers(${target} PRIVATE ${ARGN})
endfunction()

# The program's libraries reuse one precompiled header.
function(kestrel_precompile_qt target)
  if(NOT KESTREL_PRECOMPILED_HEADERS)
    return()
  endif()
  if(NOT TARGET kestrel_program_pch)
    kestrel_precompiled_header_source(kestrel_program_pch ${KESTREL_PRECOMPILED_QT_HEADERS})
  endif()
  target_precompile_headers(${target} REUSE_FROM kestrel_program_pch)
endfunction()

# The tests and their support libraries are compiled without optimisation,
# which halves their compile time: they spend their time waiting for the
# program, whose own code stays optimised in its libraries. They reuse a
# precompiled header of their own, with GoogleTest.
function(kestrel_compile_as_test target)
  target_compile_options(${target} PRIVATE -O0)
  if(NOT KESTREL_PRECOMPILED_HEADERS)
    return()
  endif()
  if(NOT TARGET kestrel_test_pch)
    kestrel_precompiled_header_source(kestrel_test_pch ${KESTREL_PRECOMPILED_QT_HEADERS}
      <gmock/gmock.h> <gtest/gtest.h>)
    target_link_libraries(kestrel_test_pch PRIVATE GTest::gtest GTest::gmock)
    target_compile_options(kestrel_test_pch PRIVATE -O0)
  endif()
  target_precompile_headers(${target} REUSE_FROM kestrel_test_pch)
endfunction()

# lld, when it is installed, links in a third of the time of the default
# linker.
find_program(KESTREL_LLD ld.lld)
if(KESTREL_LLD AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  add_link_options(-fuse-ld=lld)
endif()
