#pragma once

#include <mpv/client.h>
#include <mpv/render.h>

// The libmpv functions the engine calls, taken from the media module. The
// module links libmpv, and with it some two hundred codec and protocol
// libraries whose linking takes longer than showing the window: the program
// loads it beside its start instead of before it.
struct MpvFunctions {
    decltype(&mpv_create) create;
    decltype(&mpv_initialize) initialize;
    decltype(&mpv_terminate_destroy) terminate_destroy;
    decltype(&mpv_set_option) set_option;
    decltype(&mpv_set_option_string) set_option_string;
    decltype(&mpv_set_property) set_property;
    decltype(&mpv_set_property_async) set_property_async;
    decltype(&mpv_set_property_string) set_property_string;
    decltype(&mpv_get_property_string) get_property_string;
    decltype(&mpv_observe_property) observe_property;
    decltype(&mpv_command) command;
    decltype(&mpv_command_async) command_async;
    decltype(&mpv_hook_add) hook_add;
    decltype(&mpv_hook_continue) hook_continue;
    decltype(&mpv_request_log_messages) request_log_messages;
    decltype(&mpv_set_wakeup_callback) set_wakeup_callback;
    decltype(&mpv_wait_event) wait_event;
    decltype(&mpv_error_string) error_string;
    decltype(&mpv_free) free;
    decltype(&mpv_render_context_create) render_context_create;
    decltype(&mpv_render_context_set_update_callback) render_context_set_update_callback;
    decltype(&mpv_render_context_render) render_context_render;
    decltype(&mpv_render_context_free) render_context_free;
};

// The name of the function through which the media module hands them over.
inline constexpr char kMpvFunctionsEntry[] = "kestrel_mpv_functions";
using MpvFunctionsEntry = const MpvFunctions* (*)();
