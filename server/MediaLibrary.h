#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace stationserver {

// A media file made ready for its stream mount.
struct StreamMedia {
    std::string name;  // the mount: /streams/<name>
    std::string contentType;
    double bytesPerSecond = 0;  // the file's own average rate
    // The bytes of the n-th pass (from 0) through the file. Passes follow
    // one another without a seam that players would stumble over.
    std::function<std::shared_ptr<const std::string>(std::uint64_t n)> pass;
};

// The stream mounts: every media file of the media folder that a stream can
// loop (.mp3 MPEG audio layer III, .ogg Ogg Vorbis, .ts MPEG transport
// stream), named after the file without its extension.
class MediaLibrary
{
public:
    // Loads the folder; each file it cannot use and a missing folder add a
    // line to warnings, and the rest of the library still works.
    static MediaLibrary Load(const std::string& folder, std::vector<std::string>& warnings);

    std::shared_ptr<const StreamMedia> Find(std::string_view name) const;
    std::vector<std::string> Names() const;

private:
    std::map<std::string, std::shared_ptr<const StreamMedia>, std::less<>> m_media;
};

}
