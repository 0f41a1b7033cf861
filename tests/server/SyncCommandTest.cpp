#include "FakeDirectory.h"
#include "ServerCommand.h"
#include "TestEnvironment.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>

namespace {

ServerCommandRun RunSync(const QStringList& arguments)
{
    return RunServerCommand(QStringList{"sync"} + arguments, 60000);
}

nlohmann::json Fixture()
{
    std::ifstream file(TestEnvironment::SourceDir().toStdString() + "/server/data/directory/stations.json");
    return nlohmann::json::parse(file);
}

TEST(SyncCommandTest, ADryRunPrintsWhatWouldChangeAndWritesNothing)
{
    QTemporaryDir folder;
    const QString catalogue = folder.filePath("stations.txt");
    FakeDirectory directory;
    nlohmann::json stations = Fixture();
    directory.SetStations(stations);
    const QStringList common{"--catalogue", catalogue, "--directory", QString::fromStdString(directory.BaseUrl()),
                             "--pause",     "0"};
    const ServerCommandRun first = RunSync(common);
    ASSERT_EQ(first.exitCode, 0) << first.errors.toStdString();
    EXPECT_EQ(directory.Requests().front().userAgent.rfind("kestrel-station-server/1.0 (+https://", 0), 0u)
        << directory.Requests().front().userAgent;
    const QByteArray written = ReadFile(catalogue);
    const QByteArray cache = ReadFile(catalogue + ".cache");
    ASSERT_FALSE(cache.isEmpty());

    stations[0]["name"] = "Station 01 Renamed";
    stations.erase(2);
    nlohmann::json added = stations[0];
    added["stationuuid"] = "5a1e0000-0000-4000-8000-000000000099";
    added["name"] = "Station 99";
    added["clickcount"] = 5;
    stations.push_back(added);
    directory.SetStations(stations);
    const ServerCommandRun dryRun = RunSync(common + QStringList{"--dry-run", "--full"});
    ASSERT_EQ(dryRun.exitCode, 0) << dryRun.errors.toStdString();
    EXPECT_EQ(dryRun.output,
              "added:   Radio,Station 99,http://radio01.example.org/live.mp3,5a1e0000-0000-4000-8000-000000000099,"
              "jazz,Austria - german,ON\n"
              "removed: Radio,Station 03,http://radio03.example.org/live.mp3,5a1e0000-0000-4000-8000-000000000003,"
              "jazz,Germany - german,ON\n"
              "changed: Radio,Station 01,http://radio01.example.org/live.mp3,5a1e0000-0000-4000-8000-000000000001,"
              "jazz,Austria - german,ON\n"
              "     to: Radio,Station 01 Renamed,http://radio01.example.org/live.mp3,"
              "5a1e0000-0000-4000-8000-000000000001,jazz,Austria - german,ON\n");
    EXPECT_TRUE(dryRun.errors.contains("sync (full, dry run, from ")) << dryRun.errors.toStdString();
    EXPECT_TRUE(dryRun.errors.contains("kept 22 (1 added, 1 removed, 1 changed)")) << dryRun.errors.toStdString();
    EXPECT_EQ(ReadFile(catalogue), written);
    EXPECT_EQ(ReadFile(catalogue + ".cache"), cache);
    EXPECT_FALSE(QFile::exists(catalogue + ".previous"));
}

TEST(SyncCommandTest, TheFilterFileChoosesTheStationsAndTheCommandLineWins)
{
    QTemporaryDir folder;
    const QString catalogue = folder.filePath("stations.txt");
    const QString filters = folder.filePath("sync.conf");
    FakeDirectory directory;
    directory.SetStations(Fixture());
    ASSERT_TRUE(WriteFile(filters,
                          "# Stations of Germany, most voted for first\n"
                          "country = DE\n"
                          "\n"
                          "  order = votes  \n"
                          "page-size = 5\n"
                          "pause = 0\n"
                          "directory = " +
                              QByteArray::fromStdString(directory.BaseUrl()) + "\n"));
    const ServerCommandRun run = RunSync({"--config", filters, "--catalogue", catalogue, "--page-size", "4"});
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    const FakeDirectory::Request& request = directory.Requests().front();
    EXPECT_EQ(request.Param("countrycode"), "de");
    EXPECT_EQ(request.Param("order"), "votes");
    EXPECT_EQ(request.Param("limit"), "4");
    EXPECT_TRUE(ReadFile(catalogue).contains("\nRadio,Station 24,"));
    EXPECT_FALSE(ReadFile(catalogue).contains("Austria"));

    ASSERT_TRUE(WriteFile(filters, "country = DE\nmin-votes = many\n"));
    const ServerCommandRun badValue = RunSync({"--config", filters, "--catalogue", catalogue});
    EXPECT_EQ(badValue.exitCode, 2);
    EXPECT_TRUE(badValue.errors.contains(filters + ":2: min-votes needs a number from 0 to"))
        << badValue.errors.toStdString();
    ASSERT_TRUE(WriteFile(filters, "country = DE\ncolour = blue\n"));
    const ServerCommandRun unknown = RunSync({"--config", filters, "--catalogue", catalogue});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.errors.contains(filters + ":2: unknown setting 'colour'")) << unknown.errors.toStdString();
    const ServerCommandRun noCatalogue = RunSync({"--config", filters});
    EXPECT_EQ(noCatalogue.exitCode, 2);
}

}
