# The application id for maker domains of every shape: what the desktop
# entry's file name, the AppStream id and the D-Bus names all accept.
include(${KESTREL_SOURCE_DIR}/cmake/ApplicationId.cmake)

function(expect domain expected)
  kestrel_application_id(id "${domain}")
  if(NOT id STREQUAL expected)
    message(FATAL_ERROR "${domain}: got ${id}, expected ${expected}")
  endif()
  # Every element: letters, digits and underscores, not beginning with a digit.
  string(REPLACE "." ";" elements "${id}")
  foreach(element IN LISTS elements)
    if(NOT element MATCHES "^[A-Za-z_][A-Za-z0-9_]*$")
      message(FATAL_ERROR "${domain}: element \"${element}\" of ${id} is not valid")
    endif()
  endforeach()
endfunction()

expect(kestrelradio.example example.kestrelradio.KestrelRadio)
expect(KestrelRadio.Example example.kestrelradio.KestrelRadio)
expect(my-radio.co.uk uk.co.my_radio.KestrelRadio)
expect(3radio.example example._3radio.KestrelRadio)
expect(radio.example. example.radio.KestrelRadio)
message(STATUS "application ids are sound")
