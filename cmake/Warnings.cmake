# Everything we write compiles without warnings. Turning them into errors is
# for our own builds (scripts/test.sh, and so CI): a user's or a packager's
# newer compiler may warn where ours does not, and that must not stop their
# build.
option(KESTREL_WARNINGS_AS_ERRORS "Stop the build on any compiler warning" OFF)

function(kestrel_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow)
  if(KESTREL_WARNINGS_AS_ERRORS)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
