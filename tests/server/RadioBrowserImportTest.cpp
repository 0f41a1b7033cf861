#include "HttpFetch.h"
#include "StationServer.h"
#include "TestApplication.h"
#include "TestEnvironment.h"

#include "catalogue/CChannelCatalogue.h"
#include "catalogue/DataFolder.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct ImportRun {
    int exitCode = -1;
    QByteArray output;
    QString errors;
};

ImportRun Import(const QStringList& arguments, const QByteArray& standardInput = {})
{
    QProcess process;
    process.start(QStringLiteral(KESTREL_STATION_SERVER_PATH), QStringList{"import"} + arguments);
    process.write(standardInput);
    process.closeWriteChannel();
    if (!process.waitForFinished(20000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            QString::fromUtf8(process.readAllStandardError())};
}

QString Fixture()
{
    return TestEnvironment::SourceDir() + "/server/data/radio-browser-stations.json";
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
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
    const ImportRun run = Import({Fixture(), "--catalogue", catalogue});
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();

    const QByteArray written = ReadFile(catalogue);
    EXPECT_TRUE(written.contains("\nCategory,Channel,Stream,Id,Genre,Description,Status\n"));
    EXPECT_EQ(ChannelLines(written), kImportedChannels);
    EXPECT_TRUE(run.output.isEmpty()) << "the catalogue went to its file, nothing to standard output";

    for (const char* count : {"imported 7 stations (1 TV, 2 off the air", "skipped 2 without a name",
                              "skipped 2 without an http or https address",
                              "skipped 1 repeating an earlier station id", "skipped 2 that are not station objects"})
        EXPECT_TRUE(run.errors.contains(count)) << count << " in\n" << run.errors.toStdString();
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"stations.txt"}) << "no file left beside it";
}

TEST(RadioBrowserImportTest, WithoutACatalogueFileTheCatalogueGoesToStandardOutputAndStdinCanBeRead)
{
    const ImportRun fromFile = Import({Fixture()});
    ASSERT_EQ(fromFile.exitCode, 0) << fromFile.errors.toStdString();
    EXPECT_EQ(ChannelLines(fromFile.output), kImportedChannels);

    const ImportRun fromInput = Import({"-"}, ReadFile(Fixture()));
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
    WriteFile(catalogue, existing);

    struct BadDump {
        QByteArray json;
        QString message;
    };
    const BadDump dumps[] = {
        {"[{\"name\": \"Cut short\", \"url_resolved\": \"http://a.example.org/\"", "not valid JSON: parse error at line 1"},
        {"{\"name\": \"One station, not a list\"}", "not a list of stations"},
        {"[{\"name\": \"\", \"url_resolved\": \"http://a.example.org/\"}, 7]", "no station to import"},
        {"[\"\xC3(\"]", "not valid JSON"},
    };
    for (const BadDump& dump : dumps) {
        const QString source = folder.filePath("dump.json");
        WriteFile(source, dump.json);
        const ImportRun run = Import({source, "--catalogue", catalogue});
        EXPECT_EQ(run.exitCode, 2) << dump.json.toStdString();
        EXPECT_TRUE(run.errors.contains(dump.message)) << run.errors.toStdString();
        EXPECT_EQ(ReadFile(catalogue), existing) << dump.json.toStdString();
    }

    const ImportRun missing = Import({folder.filePath("no-such-dump.json"), "--catalogue", catalogue});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.errors.contains("no-such-dump.json: cannot be read")) << missing.errors.toStdString();

    const ImportRun unwritable = Import({Fixture(), "--catalogue", folder.filePath("no-such-folder/stations.txt")});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_TRUE(unwritable.errors.contains("stations.txt: cannot be written")) << unwritable.errors.toStdString();

    EXPECT_EQ(ReadFile(catalogue), existing);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList({"dump.json", "stations.txt"}));
}

TEST(RadioBrowserImportTest, ABadCommandLineIsRefused)
{
    for (const QStringList& arguments :
         {QStringList{}, QStringList{Fixture(), "--catalogue"}, QStringList{Fixture(), Fixture()},
          QStringList{Fixture(), "--output", "x"}}) {
        const ImportRun run = Import(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.errors.startsWith("kestrel-station-server: ")) << run.errors.toStdString();
    }
    const ImportRun help = Import({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.output.contains("import FILE.json [--catalogue OUT]"));
}

}
