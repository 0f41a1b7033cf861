#include "MediaLibrary.h"

#include "Mp3Frames.h"
#include "MpegTsLoop.h"
#include "OggPages.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

namespace stationserver {
namespace {

// Spreads the pass numbers over the serial numbers of an Ogg file's passes.
constexpr std::uint32_t kSerialStride = 0x9E3779B1;

using Pass = std::shared_ptr<const std::string>;

// Fills in the rate and the passes of media from the file's bytes; false
// when the bytes are not of the format.
using Preparation = bool (*)(std::string_view data, StreamMedia& media);

void SetRate(const MediaTiming& timing, StreamMedia& media)
{
    media.bytesPerSecond = timing.BytesPerSecond();
}

bool PrepareMp3(std::string_view data, StreamMedia& media)
{
    const auto timing = ProbeMp3(data);
    if (!timing)
        return false;
    SetRate(*timing, media);
    const Pass frames = std::make_shared<const std::string>(data.substr(timing->begin, timing->end - timing->begin));
    media.pass = [frames](std::uint64_t) { return frames; };
    return true;
}

bool PrepareOggVorbis(std::string_view data, StreamMedia& media)
{
    const auto timing = ProbeOggVorbis(data);
    if (!timing)
        return false;
    SetRate(*timing, media);
    const Pass first = std::make_shared<const std::string>(data.substr(timing->begin, timing->end - timing->begin));
    media.pass = [first](std::uint64_t n) {
        if (n == 0)
            return first;
        return std::make_shared<const std::string>(
            WithSerialMask(*first, static_cast<std::uint32_t>(n) * kSerialStride));
    };
    return true;
}

bool PrepareMpegTs(std::string_view data, StreamMedia& media)
{
    auto loop = MpegTsLoop::Prepare(data);
    if (!loop)
        return false;
    SetRate(loop->Timing(), media);
    media.pass = [loop = std::make_shared<const MpegTsLoop>(std::move(*loop))](std::uint64_t n) {
        return std::make_shared<const std::string>(loop->Pass(n));
    };
    return true;
}

struct MediaFormat {
    std::string_view extension;
    std::string_view contentType;
    Preparation prepare;
    std::string_view description;
};

constexpr MediaFormat kFormats[] = {
    {".mp3", "audio/mpeg", PrepareMp3, "MPEG audio layer III"},
    {".ogg", "audio/ogg", PrepareOggVorbis, "Ogg Vorbis"},
    {".ts", "video/mp2t", PrepareMpegTs, "MPEG transport stream with timestamps"},
};

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    std::ostringstream contents;
    contents << file.rdbuf();
    return file.bad() ? std::nullopt : std::optional(contents.str());
}

}

MediaLibrary MediaLibrary::Load(const std::string& folder, std::vector<std::string>& warnings)
{
    MediaLibrary library;
    std::error_code error;
    std::filesystem::directory_iterator entries(folder, error);
    if (error) {
        warnings.push_back("media folder " + folder + ": " + error.message() + "; no stream mounts");
        return library;
    }
    for (const auto& entry : entries) {
        const std::filesystem::path& path = entry.path();
        const auto format = std::find_if(std::begin(kFormats), std::end(kFormats), [&](const MediaFormat& candidate) {
            return path.extension() == candidate.extension;
        });
        if (format == std::end(kFormats) || !entry.is_regular_file(error))
            continue;
        const std::string name = path.stem().string();
        if (library.m_media.contains(name)) {
            warnings.push_back(path.string() + ": another media file already has the mount " + name + "; skipped");
            continue;
        }
        const std::optional<std::string> data = ReadWholeFile(path);
        if (!data) {
            warnings.push_back(path.string() + ": cannot be read");
            continue;
        }
        auto media = std::make_shared<StreamMedia>();
        media->name = name;
        media->contentType = format->contentType;
        if (!format->prepare(*data, *media) || !(media->bytesPerSecond > 0)) {
            warnings.push_back(path.string() + ": not a usable " + std::string(format->description) + " file");
            continue;
        }
        library.m_media[name] = std::move(media);
    }
    return library;
}

std::shared_ptr<const StreamMedia> MediaLibrary::Find(std::string_view name) const
{
    const auto found = m_media.find(name);
    return found == m_media.end() ? nullptr : found->second;
}

std::vector<std::string> MediaLibrary::Names() const
{
    std::vector<std::string> names;
    for (const auto& [name, media] : m_media)
        names.push_back(name);
    return names;
}

}
