#include "CloseRequest.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <xcb/xcb.h>

namespace {
xcb_atom_t Atom(xcb_connection_t* pConnection, const char* name)
{
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(pConnection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    std::unique_ptr<xcb_intern_atom_reply_t, void (*)(void*)> reply(xcb_intern_atom_reply(pConnection, cookie, nullptr),
                                                                    free);
    return reply != nullptr ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}
}

bool SendCloseRequest(unsigned long nWindow)
{
    const auto window = static_cast<xcb_window_t>(nWindow);
    std::unique_ptr<xcb_connection_t, void (*)(xcb_connection_t*)> connection(xcb_connect(nullptr, nullptr),
                                                                              xcb_disconnect);
    if (xcb_connection_has_error(connection.get()))
        return false;
    xcb_client_message_event_t event;
    std::memset(&event, 0, sizeof(event));
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = Atom(connection.get(), "WM_PROTOCOLS");
    event.data.data32[0] = Atom(connection.get(), "WM_DELETE_WINDOW");
    event.data.data32[1] = XCB_CURRENT_TIME;
    // The X server may drop the last requests of a client that disconnects
    // straight after sending them, so the send is confirmed before the
    // connection closes.
    const xcb_void_cookie_t sent = xcb_send_event_checked(connection.get(), 0, window, XCB_EVENT_MASK_NO_EVENT,
                                                          reinterpret_cast<const char*>(&event));
    std::unique_ptr<xcb_generic_error_t, void (*)(void*)> error(xcb_request_check(connection.get(), sent), free);
    return error == nullptr;
}
