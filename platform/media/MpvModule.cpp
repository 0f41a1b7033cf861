#include "platform/media/MpvFunctions.h"

// The media module: the one piece of the program that links libmpv.
extern "C" __attribute__((visibility("default"))) const MpvFunctions* kestrel_mpv_functions()
{
    static constexpr MpvFunctions kFunctions{
        &mpv_create,
        &mpv_initialize,
        &mpv_terminate_destroy,
        &mpv_set_option,
        &mpv_set_option_string,
        &mpv_set_property,
        &mpv_set_property_async,
        &mpv_set_property_string,
        &mpv_get_property_string,
        &mpv_observe_property,
        &mpv_command,
        &mpv_command_async,
        &mpv_hook_add,
        &mpv_hook_continue,
        &mpv_request_log_messages,
        &mpv_set_wakeup_callback,
        &mpv_wait_event,
        &mpv_error_string,
        &mpv_free,
        &mpv_render_context_create,
        &mpv_render_context_set_update_callback,
        &mpv_render_context_render,
        &mpv_render_context_free,
    };
    return &kFunctions;
}
