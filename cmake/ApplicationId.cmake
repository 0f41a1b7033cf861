# kestrel_application_id(OUT DOMAIN): the program's reverse-DNS application
# id, made from the maker's domain: lower-cased, its labels in reverse order,
# then the program's name. A desktop entry's and a D-Bus name's elements
# allow only letters, digits and underscores and may not begin with a digit,
# so a hyphen becomes an underscore and a label that begins with a digit gets
# an underscore in front (as the D-Bus naming rules recommend):
#   kestrelradio.example  -> example.kestrelradio.KestrelRadio
#   my-radio.co.uk        -> uk.co.my_radio.KestrelRadio
#   3radio.example        -> example._3radio.KestrelRadio
function(kestrel_application_id out domain)
  string(TOLOWER "${domain}" lowered)
  string(REGEX REPLACE "\\.+$" "" lowered "${lowered}")
  string(REPLACE "." ";" labels "${lowered}")
  list(REVERSE labels)
  set(elements)
  foreach(label IN LISTS labels)
    if(label STREQUAL "")
      message(FATAL_ERROR "KESTREL_MAKER_DOMAIN \"${domain}\" has an empty label")
    endif()
    string(REGEX REPLACE "[^a-z0-9_]" "_" element "${label}")
    if(element MATCHES "^[0-9]")
      set(element "_${element}")
    endif()
    list(APPEND elements "${element}")
  endforeach()
  list(APPEND elements KestrelRadio)
  list(JOIN elements "." id)
  set(${out} "${id}" PARENT_SCOPE)
endfunction()
