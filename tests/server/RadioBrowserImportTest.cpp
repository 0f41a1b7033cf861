#include "HttpFetch.h"
#include "ServerCommand.h"
#include "StationServer.h"
#include "TestApplication.h"
#include "TestEnvironment.h"

#include "catalogue/CChannelCatalogue.h"
#include "catalogue/DataFolder.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <vector>

namespace {

ServerCommandRun Import(const QStringList& arguments, const QByteArray& standardInput = {})
{
    return RunServerCommand(QStringList{"import"} + arguments, 20000, standardInput);
}

QString Fixture()
{
    return TestEnvironment::SourceDir() + "/server/data/radio-browser-stations.json";
}

// The channel lines of a catalogue: neither comments nor the header.
QStringList ChannelLines(const QByteArray& catalogue)
{
    QStringList lines;
    for (const QString& line : QString::fromUtf8(catalogue).split('\n')) {
        if (!line.isEmpty() && !line.startsWith('#'))
            lines << line;
    }
    if (!lines.isEmpty())
        lines.removeFirst();
    return lines;
}

// The fixture holds fourteen records: seven stations to import, and a
// record for each way to be skipped.
const QStringList kImportedChannels{
    "Radio,Kestrel Test FM,http://stream.example.org/kestrel-fm.mp3,5a1e0001-0000-4000-8000-000000000001,"
    "jazz / blues / soul,Germany - german,ON",
    "TV,Kestrel Vision,https://tv.example.org/live/index.m3u8,5a1e0002-0000-4000-8000-000000000002,news,"
    "France - french,ON",
    "Radio,Rock - Pop & More,http://rock.example.org/live,5a1e0003-0000-4000-8000-000000000003,rock / pop,"
    "GB - english / spanish,ON",
    "Radio,Night Waves Radio (ambient),HTTPS://night.example.org/stream,5a1e0004-0000-4000-8000-000000000004,"
    "ambient,Canada,OFF",
    "Radio,Fallback Radio,http://fallback.example.org/stream,5a1e0008-0000-4000-8000-000000000008,talk,"
    "Ireland - irish,ON",
    QString::fromUtf8("Radio,Ραδιόφωνο Κέστρελ,http://stream.example.org/play?ids=1%2C2&name=a%20b,"
                      "5a1e0011-0000-4000-8000-000000000011,ギリシャ / folk,Greece - greek,ON"),
    "Radio,Unchecked Radio,https://unchecked.example.org/stream,5a1e0012-0000-4000-8000-000000000012,,NZ,OFF",
};

TEST(RadioBrowserImportTest, WritesOneLineAStationAndCountsEverySkippedRecordByReason)
{
    QTemporaryDir folder;
    const QString catalogue = folder.filePath("stations.txt");
    const ServerCommandRun run = Import({Fixture(), "--catalogue", catalogue});
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();

    const QByteArray written = ReadFile(catalogue);
    EXPECT_TRUE(written.contains("\nCategory,Channel,Stream,Id,Genre,Description,Status\n"));
    EXPECT_EQ(ChannelLines(written), kImportedChannels);
    EXPECT_TRUE(run.output.isEmpty()) << "the catalogue went to its file, nothing to standard output";

    for (const char* count : {"imported 7 stations (1 TV, 2 off the air", "skipped 2 without a name",
                              "skipped 2 without an http or https address", "skipped 1 repeating an earlier station id",
                              "skipped 2 that are not station objects"})
        EXPECT_TRUE(run.errors.contains(count)) << count << " in\n" << run.errors.toStdString();
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"stations.txt"}) << "no file left beside it";
}

TEST(RadioBrowserImportTest, WithoutACatalogueFileTheCatalogueGoesToStandardOutputAndStdinCanBeRead)
{
    const ServerCommandRun fromFile = Import({Fixture()});
    ASSERT_EQ(fromFile.exitCode, 0) << fromFile.errors.toStdString();
    EXPECT_EQ(ChannelLines(fromFile.output), kImportedChannels);

    const ServerCommandRun fromInput = Import({"-"}, ReadFile(Fixture()));
    ASSERT_EQ(fromInput.exitCode, 0) << fromInput.errors.toStdString();
    EXPECT_EQ(fromInput.output, fromFile.output);
}

// The imported catalogue is served by the station server and read by the
// program's own station list reader: every field arrives where the
// program looks for it.
TEST(RadioBrowserImportTest, TheImportedCatalogueReachesTheProgramsReaderIntact)
{
    QTemporaryDir folder;
    const QString catalogue = folder.filePath("stations.txt");
    ASSERT_EQ(Import({Fixture(), "--catalogue", catalogue}).exitCode, 0);

    StationServer server({.catalogueFile = catalogue});
    ASSERT_TRUE(server.Start()) << server.Error().toStdString();
    const auto answer = HttpFetch::Get(server.Port(), "/stationlist.zip");
    ASSERT_TRUE(answer);
    ASSERT_EQ(answer->status, 200);

    TestApplication app;
    WriteSettingInt(SettingNames::kDisplayTVChannels, 1);
    QFile stationList(GetStationListPath());
    ASSERT_TRUE(stationList.open(QIODevice::WriteOnly | QIODevice::Truncate));
    stationList.write(QByteArray::fromStdString(answer->body));
    stationList.close();

    CChannelCatalogue channels;
    ASSERT_NE(channels.LoadStationList(), 0);
    EXPECT_EQ(channels.m_header.GetColumn1Text(), QStringLiteral("Channel"));
    ASSERT_EQ(channels.m_channels.size(), kImportedChannels.size());
    for (qsizetype i = 0; i < channels.m_channels.size(); ++i) {
        const CChannelRecord& record = channels.m_channels[i];
        const QStringList fields = kImportedChannels[i].split(',');
        ASSERT_EQ(fields.size(), 7);
        EXPECT_EQ(record.GetCategory(), fields[0]);
        EXPECT_EQ(record.GetColumn1Text(), fields[1]);
        EXPECT_EQ(record.GetStreamUrl(), fields[2]);
        EXPECT_EQ(record.GetColumn3Text(), fields[4]);
        EXPECT_EQ(record.GetColumn2Text(), fields[5]);
        EXPECT_EQ(record.GetStatus(), fields[6]);
    }
}

TEST(RadioBrowserImportTest, AFailedImportLeavesTheExistingCatalogueAsItWas)
{
    QTemporaryDir folder;
    const QString catalogue = folder.filePath("stations.txt");
    const QByteArray existing = "Category,Channel,Stream,Id,Genre,Description,Status\n"
                                "Radio,Keep Me,http://keep.example.org/,k,g,d,ON\n";
    ASSERT_TRUE(WriteFile(catalogue, existing));

    struct BadDump {
        QByteArray json;
        QString message;
    };
    const BadDump dumps[] = {
        {"[{\"name\": \"Cut short\", \"url_resolved\": \"http://a.example.org/\"",
         "not valid JSON: parse error at line 1"},
        {"{\"name\": \"One station, not a list\"}", "not a list of stations"},
        {"[{\"name\": \"\", \"url_resolved\": \"http://a.example.org/\"}, 7]", "no station to import"},
        {"[\"\xC3(\"]", "not valid JSON"},
        {"[{\"name\": \"a\", \"url_resolved\": \"http://a.example.org/\"}] and more", "not valid JSON"},
        {"[{\"name\": \"a\" \"url_resolved\": \"http://a.example.org/\"}]", "not valid JSON: parse error at line 1"},
        {"[{\"name\": \"a\", \"url_resolved\": \"http://a.example.org/\"},]", "not valid JSON"},
        {"[{\"name\": \"a\", \"url_resolved\": \"http://a.example.org/\", \"tags\": [1, 2}]", "not valid JSON"},
        {"[{\"name\": \"a\",\n \"url_resolved\": \"http://a.example.org/\", \"votes\": tru}]",
         "not valid JSON: parse error at line 2"},
        {"", "not valid JSON"},
    };
    for (const BadDump& dump : dumps) {
        const QString source = folder.filePath("dump.json");
        ASSERT_TRUE(WriteFile(source, dump.json));
        const ServerCommandRun run = Import({source, "--catalogue", catalogue});
        EXPECT_EQ(run.exitCode, 2) << dump.json.toStdString();
        EXPECT_TRUE(run.errors.contains(dump.message)) << run.errors.toStdString();
        EXPECT_EQ(ReadFile(catalogue), existing) << dump.json.toStdString();
    }

    const ServerCommandRun missing = Import({folder.filePath("no-such-dump.json"), "--catalogue", catalogue});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.errors.contains("no-such-dump.json: cannot be read")) << missing.errors.toStdString();

    const ServerCommandRun unwritable =
        Import({Fixture(), "--catalogue", folder.filePath("no-such-folder/stations.txt")});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_TRUE(unwritable.errors.contains("stations.txt: cannot be written")) << unwritable.errors.toStdString();

    EXPECT_EQ(ReadFile(catalogue), existing);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList({"dump.json", "stations.txt"}));
}

// The catalogue is only ever written as a regular file: whatever else
// stands at its path (a link, a pipe, a device, a folder) is refused and
// left as it is, and so is what a link points to.
TEST(RadioBrowserImportTest, RefusesToReplaceAnythingButARegularFile)
{
    QTemporaryDir folder;
    const QString target = folder.filePath("target.txt");
    ASSERT_TRUE(WriteFile(target, "keep this\n"));
    const QString link = folder.filePath("link.txt");
    ASSERT_TRUE(QFile::link(target, link));
    const QString pipe = folder.filePath("pipe.txt");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString subfolder = folder.filePath("folder.txt");
    ASSERT_TRUE(QDir(folder.path()).mkdir("folder.txt"));
    // Only root may make a device; a null device of our own then stands in
    // for /dev/stdout.
    const QString device = folder.filePath("device.txt");
    const bool haveDevice = ::mknod(QFile::encodeName(device).constData(), S_IFCHR | 0600, makedev(1, 3)) == 0;

    struct Special {
        QString path;
        const char* kind;
        mode_t type;
    };
    std::vector<Special> specials{
        {link, "a symbolic link", S_IFLNK}, {pipe, "a FIFO", S_IFIFO}, {subfolder, "a folder", S_IFDIR}};
    if (haveDevice)
        specials.push_back({device, "a device", S_IFCHR});
    for (const Special& special : specials) {
        const ServerCommandRun run = Import({Fixture(), "--catalogue", special.path});
        EXPECT_EQ(run.exitCode, 1) << special.kind;
        EXPECT_TRUE(
            run.errors.contains(QFileInfo(special.path).fileName() + ": is " + special.kind + ", not a regular file"))
            << run.errors.toStdString();
        EXPECT_FALSE(run.errors.contains("imported")) << run.errors.toStdString();
        struct stat status {};
        ASSERT_EQ(::lstat(QFile::encodeName(special.path).constData(), &status), 0) << special.kind;
        EXPECT_EQ(status.st_mode & S_IFMT, special.type) << special.kind;
    }
    EXPECT_EQ(ReadFile(target), "keep this\n");
    QStringList expected{"device.txt", "folder.txt", "link.txt", "pipe.txt", "target.txt"};
    if (!haveDevice)
        expected.removeFirst();
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name),
              expected)
        << "nothing left beside them";
}

// A number too large for a double is left out with its field, and counted;
// the rest of the record and of the dump is imported. Values the catalogue
// does not use may nest anything, brackets in strings included.
TEST(RadioBrowserImportTest, LeavesOutNumbersTooLargeToReadAndKeepsTheirRecords)
{
    const QByteArray dump = "\xEF\xBB\xBF [\n"
                            R"({"name": "Huge Votes", "url_resolved": "http://a.example.org/", "stationuuid": "a",)"
                            R"( "votes": 1e999, "lastcheckok": 1},)"
                            "\n"
                            R"({"name": "Huge Check", "url_resolved": "http://b.example.org/", "stationuuid": "b",)"
                            R"( "lastcheckok": -1E+999},)"
                            "\n 1e999 ,\n"
                            R"({"extra": {"a": [1, 2, {"b": "]}\"["}], "c": "\\"}, "name": "N\u00e9sted \"[{\"",)"
                            R"( "url_resolved": "http://c.example.org/", "stationuuid": "c", "n\u0061me": "Nested",)"
                            R"( "lastcheckok": true, "geo": [1e999]})"
                            "\r\n]\n";
    const ServerCommandRun run = Import({"-"}, dump);
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    EXPECT_EQ(ChannelLines(run.output).join('\n').toStdString(),
              "Radio,Huge Votes,http://a.example.org/,a,,,ON\n"
              "Radio,Huge Check,http://b.example.org/,b,,,OFF\n"
              "Radio,Nested,http://c.example.org/,c,,,ON");
    for (const char* count : {"imported 3 stations (0 TV, 1 off the air", "skipped 1 that are not station objects",
                              "left out 3 fields holding a number too large to read"})
        EXPECT_TRUE(run.errors.contains(count)) << count << " in\n" << run.errors.toStdString();
}

// The server's address placeholder in a hand-written catalogue is a
// feature; arriving from the directory it would make the server name
// itself. Addresses without a host name no server at all.
TEST(RadioBrowserImportTest, NeverWritesTheServerPlaceholderNorAnAddressWithoutAHost)
{
    const QByteArray dump = R"([
        {"name": "{server}", "url_resolved": "http://{server}/x", "stationuuid": "{server}", "tags": "a{server}b",
         "country": "{server}", "lastcheckok": 1},
        {"name": "Userinfo only", "url_resolved": "http://a@/x"},
        {"name": "Port only", "url_resolved": "http://:8000/x"},
        {"name": "Userinfo and port", "url_resolved": "https://user:pw@:443/"},
        {"name": "Empty brackets", "url_resolved": "http://[]/x"},
        {"name": "Query at once", "url_resolved": "http://?x"},
        {"name": "Good userinfo", "url_resolved": "http://a@b.example.org/x", "stationuuid": "g1", "lastcheckok": 1},
        {"name": "Good IPv6", "url_resolved": "http://[::1]:8000/x", "stationuuid": "g2", "lastcheckok": 1},
        {"name": "Fallback", "url_resolved": "http://@/", "url": "http://fallback.example.org/s", "stationuuid": "g3",
         "lastcheckok": 1}
    ])";
    QTemporaryDir folder;
    const QString catalogue = folder.filePath("stations.txt");
    ASSERT_TRUE(WriteFile(folder.filePath("dump.json"), dump));
    const ServerCommandRun run = Import({folder.filePath("dump.json"), "--catalogue", catalogue});
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    const QStringList expected{"Radio,(server),http://%7Bserver%7D/x,(server),a(server)b,(server),ON",
                               "Radio,Good userinfo,http://a@b.example.org/x,g1,,,ON",
                               "Radio,Good IPv6,http://[::1]:8000/x,g2,,,ON",
                               "Radio,Fallback,http://fallback.example.org/s,g3,,,ON"};
    EXPECT_EQ(ChannelLines(ReadFile(catalogue)).join('\n').toStdString(), expected.join('\n').toStdString());
    EXPECT_TRUE(run.errors.contains("skipped 5 without an http or https address")) << run.errors.toStdString();

    StationServer server({.catalogueFile = catalogue});
    ASSERT_TRUE(server.Start()) << server.Error().toStdString();
    const auto answer = HttpFetch::Get(server.Port(), "/stationlist.zip");
    ASSERT_TRUE(answer);
    const QString list = QString::fromUtf16(reinterpret_cast<const char16_t*>(answer->body.data()),
                                            static_cast<qsizetype>(answer->body.size() / 2));
    EXPECT_TRUE(list.contains(expected[0])) << list.toStdString();
    EXPECT_FALSE(list.contains(server.BaseUrl())) << list.toStdString();
}

TEST(RadioBrowserImportTest, ABadCommandLineIsRefused)
{
    for (const QStringList& arguments : {QStringList{}, QStringList{Fixture(), "--catalogue"},
                                         QStringList{Fixture(), Fixture()}, QStringList{Fixture(), "--output", "x"}}) {
        const ServerCommandRun run = Import(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.errors.startsWith("kestrel-station-server: ")) << run.errors.toStdString();
    }
    const ServerCommandRun help = Import({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.output.contains("import FILE.json [--catalogue OUT]"));
}

}
