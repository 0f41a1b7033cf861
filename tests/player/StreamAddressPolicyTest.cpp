#include "catalogue/StreamAddressPolicy.h"

#include <gtest/gtest.h>

namespace {
using Verdict = CStreamAddressPolicy::Verdict;

TEST(StreamAddressPolicy, AcceptsNetworkStreamsAndPlaylists)
{
    for (const char* address : {
             "http://127.0.0.1:8580/streams/kestrel-mp3",
             "https://radio.example/live",
             "HTTP://Radio.Example/Live",
             "  http://radio.example/with spaces.mp3  ",
             "http://radio.example/list.pls",
             "http://radio.example/list.m3u",
             "https://tv.example/hls/master.m3u8",
             "mms://media.example/stream",
             "mmsh://media.example/stream",
             "rtsp://camera.example:554/live",
             "rtmp://tv.example/app/stream",
             "http://[::1]:8580/streams/kestrel-ogg",
         })
        EXPECT_EQ(Verdict::Accepted, CStreamAddressPolicy::Check(address)) << address;
}

TEST(StreamAddressPolicy, RefusesLocalFilesAndTheMediaLibrarysOwnProtocols)
{
    for (const char* address : {
             "file:///etc/passwd",
             "FILE:///etc/passwd",
             "/etc/passwd",
             "etc/passwd",
             "~/music.mp3",
             "C:\\Windows\\win.ini",
             "av://lavfi:sine",
             "lavf://http://radio.example/live",
             "ffmpeg://http://radio.example/live",
             "memory://secret",
             "hex://41",
             "fd://0",
             "fdclose://3",
             "edl://%10%/etc/passwd",
             "ytdl://radio.example",
             "appending:///tmp/x",
             "null://",
             "mf://*.jpg",
             "slice://0-10@/etc/passwd",
             "archive:///tmp/a.zip",
             "dvd://",
             "cdda://",
             "smb://server/share/file.mp3",
             "ftp://radio.example/file.mp3",
             "udp://239.0.0.1:1234",
             "data:audio/mpeg;base64,AAAA",
             "javascript:alert(1)",
             "http:///etc/passwd",
             "http://",
         })
        EXPECT_EQ(Verdict::Refused, CStreamAddressPolicy::Check(address)) << address;
}

TEST(StreamAddressPolicy, TellsAnEmptyAddressApart)
{
    EXPECT_EQ(Verdict::Empty, CStreamAddressPolicy::Check(""));
    EXPECT_EQ(Verdict::Empty, CStreamAddressPolicy::Check("   \t"));
}

TEST(StreamAddressPolicy, HandsTheEngineATrimmedEncodedAddress)
{
    EXPECT_EQ("http://radio.example/with%20spaces.mp3",
              CStreamAddressPolicy::Normalised(" http://radio.example/with spaces.mp3 "));
    // Line breaks cannot smuggle a second address or header into the request.
    EXPECT_FALSE(CStreamAddressPolicy::Normalised("http://radio.example/a\nfile:///etc/passwd").contains('\n'));
}
}
