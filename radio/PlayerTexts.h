#pragma once

// What the player tells the listener: its status line and its face.
namespace PlayerTexts {
inline constexpr char kConnecting[] = "Connecting...";
inline constexpr char kReconnecting[] = "Reconnecting...";
inline constexpr char kReconnectingIn[] = "Reconnecting in %1 s";
inline constexpr char kBuffering[] = "Buffering %1%";
inline constexpr char kPlaying[] = "Playing";
inline constexpr char kPlayingTitle[] = "Playing: %1";
inline constexpr char kPaused[] = "Paused";
// Behind the live edge of a time-shifted channel: "-02:15 behind live".
inline constexpr char kBehindLive[] = "-%1 behind live";
inline constexpr char kBehindLiveTitle[] = "-%1 behind live: %2";
// At the live edge of a time-shifted channel, after what plays, and alone.
inline constexpr char kAtLive[] = "%1 (Live)";
inline constexpr char kLive[] = "Live";
inline constexpr char kStopped[] = "Stopped";
inline constexpr char kFinished[] = "Finished";

inline constexpr char kStreamNotFound[] = "Stream not found";
inline constexpr char kAccessDenied[] = "The station refused access to the stream";
inline constexpr char kServerError[] = "The station's server reported an error";
inline constexpr char kCannotConnect[] = "Cannot connect to the station";
inline constexpr char kTimedOut[] = "The station did not answer";
inline constexpr char kUnsupportedFormat[] = "The stream's format cannot be played";
inline constexpr char kEmptyStream[] = "The station ended the stream before any sound came";
inline constexpr char kCannotPlay[] = "Cannot play this stream";
inline constexpr char kAddressRefused[] = "Not played: only network stream addresses are allowed";
inline constexpr char kNoAddress[] = "This channel has no stream address";
inline constexpr char kUnavailable[] = "Media playback is not available";

// Tool tips of the face's buttons.
inline constexpr char kPlayTip[] = "Play";
inline constexpr char kPauseTip[] = "Pause";
inline constexpr char kStopTip[] = "Stop";
inline constexpr char kMuteTip[] = "Mute";
inline constexpr char kUnmuteTip[] = "Unmute";
inline constexpr char kVolumeTip[] = "Volume: %1%";
}
