#include "platform/media/MpvOptions.h"

#include "platform/media/MpvFunctions.h"

namespace {
// The addresses in the station list come from the network, so nothing but
// the player itself decides what runs: no configuration files, scripts,
// site helpers or key bindings, and playlists may not reach local files.
struct Option {
    const char* name;
    const char* value;
    // Without it the engine is not safe to run, so it does not run.
    bool bRequired;
};

constexpr Option kOptions[] = {
    {"config", "no", true},
    {"load-scripts", "no", true},
    {"ytdl", "no", true},
    {"osc", "no", true},
    {"load-stats-overlay", "no", true},
    {"load-osd-console", "no", true},
    {"load-auto-profiles", "no", true},
    {"input-default-bindings", "no", true},
    {"input-vo-keyboard", "no", true},
    {"input-cursor", "no", true},
    {"input-terminal", "no", true},
    {"terminal", "no", true},
    {"load-unsafe-playlists", "no", true},
    {"autoload-files", "no", true},
    {"tls-verify", "yes", true},
    {"idle", "yes", true},
    {"keep-open", "no", false},
    {"audio-display", "no", false},
    {"osd-level", "0", false},
    {"cursor-autohide", "no", false},
    // Pictures go only to the program's own video control, through the
    // render API: never a window of the player's own (a TV channel started
    // in the tray), and the same on X11 and Wayland.
    {"vo", "libmpv", true},
    // The control asks for a picture when libmpv says one is due; with no
    // head start, it is due when it is asked for.
    {"video-timing-offset", "0", false},
    // Scaling is done on the CPU: the faster scaler keeps a TV channel's
    // cost near a stand-alone player's, at a quality no one tells apart at
    // the control's size.
    {"sw-fast", "yes", false},
    {"ao", "pulse,alsa,null", false},
    {"hwdec", "no", false},
    {"network-timeout", "15", false},
    // Stations play live, and nothing ever seeks back, so little of what
    // has played is kept: by default the player keeps up to 50 MiB of it,
    // and lends it whatever the read-ahead does not use, which a tray player
    // that plays all day would carry for good. None at all would lose the
    // station's song titles, which travel with the data they belong to.
    // Ahead, it buffers at most 32 MiB (the default is 150 MiB), which a
    // live stream fills only while paused: half an hour of radio, half a
    // minute of HD TV.
    {"demuxer-max-back-bytes", "1MiB", false},
    {"demuxer-donate-buffer", "no", false},
    {"demuxer-max-bytes", "32MiB", false},
    {"user-agent", "KestrelRadio (libmpv)", false},
    {"audio-client-name", "Kestrel Radio", false},
};

// Network protocols only; "file", "data" and the like are missing on purpose.
constexpr char kProtocolWhitelist[] =
    "http,https,tcp,tls,crypto,httpproxy,mmsh,mmst,rtsp,rtsps,rtp,srtp,udp,rtmp,rtmpt,rtmps,rtmpts";

bool SetKeyValueOption(const MpvFunctions& mpv, mpv_handle* pHandle, const char* name, const char* key,
                       const char* value)
{
    char* keys[] = {const_cast<char*>(key)};
    mpv_node values[1];
    values[0].format = MPV_FORMAT_STRING;
    values[0].u.string = const_cast<char*>(value);
    mpv_node_list list{1, values, keys};
    mpv_node map;
    map.format = MPV_FORMAT_NODE_MAP;
    map.u.list = &list;
    return mpv.set_option(pHandle, name, MPV_FORMAT_NODE, &map) >= 0;
}
}

namespace MpvOptions {

bool Apply(const MpvFunctions& mpv, mpv_handle* pHandle)
{
    for (const Option& option : kOptions) {
        if (mpv.set_option_string(pHandle, option.name, option.value) < 0 && option.bRequired)
            return false;
    }
    return SetKeyValueOption(mpv, pHandle, "stream-lavf-o", "protocol_whitelist", kProtocolWhitelist) &&
        SetKeyValueOption(mpv, pHandle, "demuxer-lavf-o", "protocol_whitelist", kProtocolWhitelist);
}

}
