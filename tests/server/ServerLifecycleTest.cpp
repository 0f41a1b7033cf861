#include "HttpFetch.h"
#include "ServerCommand.h"
#include "StationServer.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <future>
#include <QThread>
#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

// Runs the server to its end with the arguments; for runs that must not
// get as far as serving.
ServerCommandRun RunServer(const QStringList& arguments)
{
    return RunServerCommand(arguments, 10000);
}

QString WriteCatalogue(const QTemporaryDir& folder, const QByteArray& text)
{
    const QString path = folder.filePath("catalogue.txt");
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
    return path;
}

constexpr char kHeader[] = "Category,Channel,Stream,Id,Genre,Description,Status\n";

struct MalformedCatalogue {
    QByteArray text;
    QString lineAndReason;  // after the file name
};

TEST(ServerLifecycleTest, AMalformedCatalogueIsRejectedWithItsLineNumberAndReason)
{
    const MalformedCatalogue cases[] = {
        {QByteArray("# comment\n\n") + kHeader + "Radio,A,http://a,x,g,d,ON\nRadio,B,http://b,x,g\n",
         ":5: only 5 fields; a line needs 7"},
        {QByteArray(kHeader) + "Radio,A,http://a,x,g,d,ON\r\nRadio,\xC3(,http://b,x,g,d,ON\r\n", ":3: not valid UTF-8"},
        {QByteArray(kHeader) + "Radio,Overlong \xC0\xAF,http://b,x,g,d,ON\n", ":2: not valid UTF-8"},
        {QByteArray(kHeader) + "Radio,A,   ,x,g,d,ON\n", ":2: the stream address (field 3) is empty"},
        {QByteArray(kHeader) + "Radio,A,http://a,x,g,d,O\rN\n", ":2: control character U+000D"},
        {QByteArray(",Channel,Stream,Id,Genre,Description,Status\n"), ":1: the header's first field"},
        {QByteArray("# only comments\n\n   \n"), ": no header line"},
    };
    for (const MalformedCatalogue& malformed : cases) {
        QTemporaryDir folder;
        const QString path = WriteCatalogue(folder, malformed.text);
        StationServer server({.catalogueFile = path});
        EXPECT_FALSE(server.Start()) << malformed.lineAndReason.toStdString();
        EXPECT_EQ(server.ExitCode(), 2);
        EXPECT_TRUE(server.ErrorOutput().startsWith(path + malformed.lineAndReason))
            << server.ErrorOutput().toStdString() << " should begin with " << malformed.lineAndReason.toStdString();
    }
}

TEST(ServerLifecycleTest, AMissingCatalogueIsNamedInTheMessage)
{
    const ServerCommandRun run = RunServer(
        {"--catalogue", "/nonexistent/catalogue.txt", "--port", "0", "--music-port", "0", "--promo-port", "0"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.errors.startsWith("/nonexistent/catalogue.txt: cannot be read")) << run.errors.toStdString();
}

TEST(ServerLifecycleTest, ATakenPortIsReportedAndEndsTheServer)
{
    StationServer first;
    ASSERT_TRUE(first.Start()) << first.Error().toStdString();
    const QString taken = QString::number(first.Port());
    const ServerCommandRun station = RunServer({"--port", taken, "--music-port", "0", "--promo-port", "0"});
    EXPECT_EQ(station.exitCode, 1);
    EXPECT_TRUE(station.errors.contains("port " + taken + " is already in use")) << station.errors.toStdString();

    const QString takenMusic = QString::number(first.MusicPort());
    const ServerCommandRun music = RunServer({"--port", "0", "--music-port", takenMusic, "--promo-port", "0"});
    EXPECT_EQ(music.exitCode, 1);
    EXPECT_TRUE(music.errors.contains("port " + takenMusic + " is already in use")) << music.errors.toStdString();
    EXPECT_TRUE(music.errors.contains("--music-port")) << music.errors.toStdString();

    // The first server goes on serving.
    const auto answer = HttpFetch::Get(first.Port(), "/stationlist.zip");
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->status, 200);
}

TEST(ServerLifecycleTest, BadCommandLinesAreRefusedAndHelpIsShown)
{
    for (const QStringList& arguments :
         {QStringList{"--no-such-option"}, QStringList{"--port", "65536"}, QStringList{"--port"},
          QStringList{"--fault", "status=200"}, QStringList{"--fault", "delay=soon"}}) {
        const ServerCommandRun run = RunServer(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.errors.startsWith("kestrel-station-server: ")) << run.errors.toStdString();
    }
    const ServerCommandRun help = RunServer({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* option : {"--listen", "--port", "--music-port", "--promo-port", "--catalogue", "--media",
                               "--request-log", "--ready-file", "--fault", "--drop-streams-after"})
        EXPECT_TRUE(help.output.contains(option)) << option;
}

// Shutdown must not wait for listeners that never leave by themselves.
void StopsCleanlyWithListenersAttached(int signal)
{
    StationServer server;
    ASSERT_TRUE(server.Start()) << server.Error().toStdString();
    std::vector<std::future<std::optional<HttpFetch::Answer>>> listeners;
    for (const char* mount : {"/streams/kestrel-mp3", "/streams/kestrel-ogg", "/streams/kestrel-tv"}) {
        listeners.push_back(
            std::async(std::launch::async, [&server, mount] { return HttpFetch::GetFor(server.Port(), mount, 60s); }));
    }
    for (int i = 0; i < 100 && server.RequestLog().filter("STREAM-START").size() < 3; ++i)
        QThread::msleep(20);
    ASSERT_EQ(server.RequestLog().filter("STREAM-START").size(), 3);

    ::kill(static_cast<pid_t>(server.ProcessId()), signal);
    for (auto& listener : listeners) {
        ASSERT_EQ(listener.wait_for(10s), std::future_status::ready);
        const auto answer = listener.get();
        ASSERT_TRUE(answer);
        EXPECT_GT(answer->body.size(), 0u);
    }
    server.Stop();
    EXPECT_EQ(server.ExitCode(), 0) << server.ErrorOutput().toStdString();
    // Every stream was logged as ended.
    EXPECT_EQ(server.CountRequests("/streams/kestrel-mp3") + server.CountRequests("/streams/kestrel-ogg") +
                  server.CountRequests("/streams/kestrel-tv"),
              3);
}

TEST(ServerLifecycleTest, SigtermStopsTheServerWithListenersAttached)
{
    StopsCleanlyWithListenersAttached(SIGTERM);
}

TEST(ServerLifecycleTest, SigintStopsTheServerWithListenersAttached)
{
    StopsCleanlyWithListenersAttached(SIGINT);
}

}
