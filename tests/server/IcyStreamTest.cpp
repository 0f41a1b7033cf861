#include "HttpFetch.h"
#include "StationServer.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

constexpr std::size_t kMetaInterval = 16000;
constexpr double kMp3BytesPerSecond = 128000.0 / 8;

std::string MediaFile(const QString& name)
{
    QFile file(QStringLiteral(KESTREL_SERVER_MEDIA_DIR "/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

std::string Repeated(const std::string& bytes, std::size_t length)
{
    std::string out;
    while (out.size() < length)
        out += bytes.substr(0, length - out.size());
    return out;
}

// A stream with ICY metadata taken apart: the media bytes and the text of
// each metadata block in order ("" for an empty block).
struct IcyStream {
    std::string media;
    std::vector<std::string> blocks;
};

IcyStream SplitIcy(const std::string& body, std::size_t interval)
{
    IcyStream stream;
    std::size_t pos = 0;
    while (pos + interval < body.size()) {
        stream.media += body.substr(pos, interval);
        pos += interval;
        const std::size_t length = static_cast<unsigned char>(body[pos]) * 16u;
        if (pos + 1 + length > body.size())
            break;
        std::string block = body.substr(pos + 1, length);
        const std::size_t end = block.find('\0');
        if (end != std::string::npos) {
            EXPECT_EQ(block.find_first_not_of('\0', end), std::string::npos) << "block padded with NULs only";
            block.resize(end);
        }
        EXPECT_EQ(length == 0, block.empty()) << "an announced block is not empty";
        if (length > 0) {
            EXPECT_GT(block.size() + 16, length) << "no more padding than the last unit needs";
        }
        stream.blocks.push_back(block);
        pos += 1 + length;
    }
    return stream;
}

// Runs a tool of the media build (ffmpeg, ffprobe) on bytes fed to its
// standard input, as a player meets a stream it cannot seek in; returns its
// standard output, and its standard error in errors.
QByteArray RunOnBytes(const QString& program, const QStringList& arguments, const std::string& bytes, QString* errors)
{
    QProcess process;
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForStarted());
    process.write(bytes.data(), static_cast<qint64>(bytes.size()));
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(30000));
    *errors = QString::fromUtf8(process.readAllStandardError());
    return process.readAllStandardOutput();
}

class IcyStreamTest : public ::testing::Test
{
protected:
    bool StartServer(QStringList arguments)
    {
        m_server = std::make_unique<StationServer>(StationServerOptions{.extraArguments = std::move(arguments)});
        const bool started = m_server->Start();
        EXPECT_TRUE(started) << m_server->Error().toStdString();
        return started;
    }

    std::unique_ptr<StationServer> m_server;
};

TEST_F(IcyStreamTest, MetadataBlocksComeEveryMetaIntervalBytesWithChangingTitles)
{
    ASSERT_TRUE(StartServer({"--title-interval", "2", "--burst", "8"}));
    const auto answer = HttpFetch::GetFor(m_server->Port(), "/streams/kestrel-mp3", 10s, {{"Icy-MetaData", "1"}},
                                          7 * (kMetaInterval + 64));
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->status, 200);
    EXPECT_EQ(answer->Header("Content-Type"), "audio/mpeg");
    EXPECT_EQ(answer->Header("icy-metaint"), std::to_string(kMetaInterval));
    EXPECT_EQ(answer->Header("icy-br"), "128");
    EXPECT_FALSE(answer->Header("icy-name").empty());

    const IcyStream stream = SplitIcy(answer->body, kMetaInterval);
    ASSERT_GE(stream.blocks.size(), 6u);
    // Between the blocks lies exactly the media file, nothing lost or added.
    EXPECT_TRUE(stream.media == Repeated(MediaFile("kestrel-mp3.mp3"), stream.media.size()));

    const QRegularExpression titleForm(R"(^StreamTitle='Kestrel Demo - Track (\d+)';$)");
    std::vector<int> tracks;
    for (const std::string& block : stream.blocks) {
        if (block.empty())
            continue;
        const auto match = titleForm.match(QString::fromStdString(block));
        ASSERT_TRUE(match.hasMatch()) << block;
        tracks.push_back(match.captured(1).toInt());
    }
    // One block a second of stream and a new title every two seconds: the
    // title goes out when it changes, an empty block in between.
    EXPECT_EQ(stream.blocks[0], "StreamTitle='Kestrel Demo - Track 1';");
    ASSERT_GE(tracks.size(), 3u);
    for (std::size_t i = 1; i < tracks.size(); ++i)
        EXPECT_EQ(tracks[i], tracks[i - 1] + 1);
    EXPECT_TRUE(stream.blocks[2].empty());
}

TEST_F(IcyStreamTest, AFastStreamSendsTheSameBytesAndTitlesSoonerThanTheyPlay)
{
    // Ninety seconds of stream with no burst: in real time they take ninety
    // seconds, and the fetch gives up after thirty.
    constexpr std::size_t kSeconds = 90;
    constexpr int kTitleInterval = 20;
    ASSERT_TRUE(
        StartServer({"--stream-speed", "50", "--burst", "0", "--title-interval", QString::number(kTitleInterval)}));
    const auto answer = HttpFetch::GetFor(m_server->Port(), "/streams/kestrel-mp3", 30s, {{"Icy-MetaData", "1"}},
                                          kSeconds * (kMetaInterval + 64));
    ASSERT_TRUE(answer);
    const IcyStream stream = SplitIcy(answer->body, kMetaInterval);
    ASSERT_GE(stream.blocks.size(), kSeconds - 1) << "the stream came faster than it plays";
    EXPECT_TRUE(stream.media == Repeated(MediaFile("kestrel-mp3.mp3"), stream.media.size()));

    // One block a second of stream, whatever the speed: the titles change
    // after the same stretch of stream as at real time.
    std::vector<std::size_t> titleBlocks;
    for (std::size_t block = 0; block < stream.blocks.size(); ++block) {
        if (stream.blocks[block].empty())
            continue;
        EXPECT_EQ(stream.blocks[block],
                  "StreamTitle='Kestrel Demo - Track " + std::to_string(titleBlocks.size() + 1) + "';");
        titleBlocks.push_back(block);
    }
    ASSERT_GE(titleBlocks.size(), 4u);
    EXPECT_EQ(titleBlocks[0], 0u);
    for (std::size_t i = 2; i < titleBlocks.size(); ++i)
        EXPECT_NEAR(static_cast<double>(titleBlocks[i] - titleBlocks[i - 1]), kTitleInterval, 1.0);
}

TEST_F(IcyStreamTest, WithoutIcyMetadataTheStreamIsTheMediaFileLoopedWithoutBlocks)
{
    ASSERT_TRUE(StartServer({"--burst", "60"}));
    const std::string file = MediaFile("kestrel-mp3.mp3");
    ASSERT_FALSE(file.empty());
    const std::size_t length = file.size() * 5 / 2;
    const auto answer = HttpFetch::GetFor(m_server->Port(), "/streams/kestrel-mp3", 10s, {}, length);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->Header("icy-metaint"), "");
    ASSERT_GE(answer->body.size(), length);
    EXPECT_TRUE(answer->body.substr(0, length) == Repeated(file, length));
}

TEST_F(IcyStreamTest, OggPassesChainIntoOneStreamThatDecodesWithoutErrors)
{
    ASSERT_TRUE(StartServer({"--burst", "60"}));
    const std::string file = MediaFile("kestrel-ogg.ogg");
    ASSERT_FALSE(file.empty());
    const std::size_t length = file.size() * 3;
    const auto answer = HttpFetch::GetFor(m_server->Port(), "/streams/kestrel-ogg", 10s, {}, length);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->Header("Content-Type"), "audio/ogg");
    ASSERT_GE(answer->body.size(), length);
    const std::string body = answer->body.substr(0, length);

    // Each pass starts a new link of the chain, with a serial number of its
    // own.
    auto serialAt = [&](std::size_t pos) { return body.substr(pos + 14, 4); };
    ASSERT_EQ(body.substr(file.size(), 4), "OggS");
    ASSERT_EQ(body.substr(2 * file.size(), 4), "OggS");
    EXPECT_NE(serialAt(0), serialAt(file.size()));
    EXPECT_NE(serialAt(0), serialAt(2 * file.size()));
    EXPECT_NE(serialAt(file.size()), serialAt(2 * file.size()));

    // Decoded to 8 kHz mono 16-bit samples, all three passes play in full.
    QString errors;
    const QByteArray samples = RunOnBytes(
        "ffmpeg", {"-v", "error", "-i", "pipe:0", "-f", "s16le", "-ac", "1", "-ar", "8000", "-"}, body, &errors);
    EXPECT_TRUE(errors.isEmpty()) << errors.toStdString();
    const QByteArray onePass = RunOnBytes(
        "ffmpeg", {"-v", "error", "-i", "pipe:0", "-f", "s16le", "-ac", "1", "-ar", "8000", "-"}, file, &errors);
    ASSERT_GT(onePass.size(), 0);
    EXPECT_NEAR(static_cast<double>(samples.size()) / onePass.size(), 3.0, 0.01);
}

TEST_F(IcyStreamTest, TvPassesContinueTheClocksSoPlayersSeeOneBroadcast)
{
    ASSERT_TRUE(StartServer({"--burst", "60"}));
    const std::string file = MediaFile("kestrel-tv.ts");
    ASSERT_FALSE(file.empty());
    const std::size_t length = file.size() * 5 / 2 / 188 * 188;
    const auto answer = HttpFetch::GetFor(m_server->Port(), "/streams/kestrel-tv", 10s, {}, length);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->Header("Content-Type"), "video/mp2t");
    ASSERT_GE(answer->body.size(), length);
    const std::string body = answer->body.substr(0, length);

    QString errors;
    const QString packets =
        QString::fromUtf8(RunOnBytes("ffprobe",
                                     {"-v", "warning", "-select_streams", "v", "-show_entries", "packet=dts_time",
                                      "-of", "default=noprint_wrappers=1:nokey=1", "pipe:0"},
                                     body, &errors));
    EXPECT_TRUE(errors.isEmpty()) << errors.toStdString();
    double previous = -1;
    int count = 0;
    for (const QString& line : packets.split('\n', Qt::SkipEmptyParts)) {
        const double dts = line.toDouble();
        EXPECT_GT(dts, previous) << "video packet " << count;
        previous = dts;
        ++count;
    }
    // Twelve seconds a pass at 25 frames a second, two and a half passes.
    EXPECT_GE(count, 2 * 300);
    EXPECT_GE(previous, 2 * 12.0);
}

TEST_F(IcyStreamTest, AfterTheBurstTheStreamIsPacedAtItsBitRate)
{
    ASSERT_TRUE(StartServer({}));
    const auto reading = 3s;
    const auto answer = HttpFetch::GetFor(m_server->Port(), "/streams/kestrel-mp3", reading);
    ASSERT_TRUE(answer);
    const double expected = (2 + 3) * kMp3BytesPerSecond;  // two seconds of burst
    EXPECT_GT(static_cast<double>(answer->body.size()), expected * 0.8);
    EXPECT_LT(static_cast<double>(answer->body.size()), expected * 1.2);
}

TEST_F(IcyStreamTest, DropStreamsAfterEndsEveryStreamConnection)
{
    m_server = std::make_unique<StationServer>(StationServerOptions{.dropStreamsAfterSeconds = 1});
    ASSERT_TRUE(m_server->Start()) << m_server->Error().toStdString();
    const auto answer = HttpFetch::GetFor(m_server->Port(), "/streams/kestrel-talk", 10s);
    ASSERT_TRUE(answer);
    EXPECT_TRUE(answer->complete) << "the server closed the connection";
    EXPECT_GT(answer->body.size(), 0u);
}

TEST_F(IcyStreamTest, LogsTheStartAndWhatWasSentWhenTheListenerLeaves)
{
    ASSERT_TRUE(StartServer({}));
    const auto answer = HttpFetch::GetFor(m_server->Port(), "/streams/kestrel-ogg", 500ms);
    ASSERT_TRUE(answer);
    ASSERT_GT(answer->body.size(), 0u);
    // The server sees the listener gone at its next write.
    for (int i = 0; i < 100 && m_server->CountRequests("/streams/kestrel-ogg") == 0; ++i)
        QThread::msleep(20);
    const QStringList log = m_server->RequestLog().filter("/streams/kestrel-ogg");
    ASSERT_EQ(log.size(), 2);
    EXPECT_TRUE(log[0].endsWith(" GET /streams/kestrel-ogg 200 STREAM-START")) << log[0].toStdString();
    const QStringList fields = log[1].split(' ');
    ASSERT_EQ(fields.size(), 5);
    EXPECT_EQ(fields[3], "200");
    EXPECT_GE(fields[4].toULongLong(), answer->body.size());
}

TEST_F(IcyStreamTest, AnUnknownMountIsNotFound)
{
    ASSERT_TRUE(StartServer({}));
    const auto answer = HttpFetch::Get(m_server->Port(), "/streams/kestrel-lost-signal");
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->status, 404);
    EXPECT_EQ(m_server->RequestLog().filter(" GET /streams/kestrel-lost-signal 404 ").size(), 1);
}

}
