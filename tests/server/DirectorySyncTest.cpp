#include "FakeDirectory.h"
#include "TestEnvironment.h"

#include "CatalogueChanges.h"
#include "DirectorySync.h"
#include "GivenDirectoryServers.h"
#include "ResolvedDirectoryServers.h"

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

using namespace stationserver;

namespace {

constexpr char kUserAgent[] = "kestrel-station-server/test";

std::string Uuid(int station)
{
    char uuid[48];
    std::snprintf(uuid, sizeof uuid, "5a1e0000-0000-4000-8000-%012d", station);
    return uuid;
}

std::string ReadText(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

nlohmann::json Fixture(const char* name)
{
    std::ifstream file(TestEnvironment::SourceDir().toStdString() + "/server/data/directory/" + name);
    return nlohmann::json::parse(file);
}

// The station ids of a catalogue's channels, in its order.
std::vector<std::string> Ids(const std::string& catalogue)
{
    std::vector<std::string> ids;
    for (const std::string_view line : ChannelLines(catalogue)) {
        std::size_t start = 0;
        for (int field = 0; field < 3; ++field)
            start = line.find(',', start) + 1;
        ids.emplace_back(line.substr(start, line.find(',', start) - start));
    }
    return ids;
}

std::vector<std::string> Ids(std::initializer_list<int> stations)
{
    std::vector<std::string> ids;
    for (const int station : stations)
        ids.push_back(Uuid(station));
    return ids;
}

class DirectorySyncTest : public ::testing::Test
{
protected:
    SyncSettings Settings(std::size_t pageSize = 100) const
    {
        SyncSettings settings;
        settings.catalogueFile = Catalogue();
        settings.pageSize = pageSize;
        settings.pause = std::chrono::milliseconds(0);
        settings.http.userAgent = kUserAgent;
        settings.http.deadline = std::chrono::seconds(20);
        return settings;
    }

    int Sync(SyncSettings settings, std::vector<std::string> servers)
    {
        GivenDirectoryServers given(std::move(servers));
        return Sync(std::move(settings), given);
    }

    int Sync(SyncSettings settings, DirectoryServers& servers)
    {
        std::ostringstream out;
        std::ostringstream log;
        const int status = DirectorySync(std::move(settings), servers, out, log).Run();
        m_out = out.str();
        m_log = log.str();
        return status;
    }

    std::string Catalogue() const { return m_folder.filePath("catalogue.txt").toStdString(); }

    QTemporaryDir m_folder;
    std::string m_out;
    std::string m_log;
};

TEST_F(DirectorySyncTest, ReadsTheSelectedCountriesPageByPageAndWritesTheirWorkingStationsInClickOrder)
{
    FakeDirectory directory;
    directory.SetStations(Fixture("stations.json"));
    SyncSettings settings = Settings(3);
    settings.filter.countryCodes = {"de", "at"};
    ASSERT_EQ(Sync(settings, {directory.BaseUrl()}), kSyncDone) << m_log;

    // Seven working stations in Germany, eight in Austria: three pages each.
    std::vector<std::pair<std::string, std::string>> asked;
    for (const FakeDirectory::Request& request : directory.Requests()) {
        EXPECT_EQ(request.path, "/json/stations/search");
        EXPECT_EQ(request.userAgent, kUserAgent);
        EXPECT_EQ(request.Param("hidebroken"), "true");
        EXPECT_EQ(request.Param("order"), "clickcount");
        EXPECT_EQ(request.Param("reverse"), "true");
        EXPECT_EQ(request.Param("limit"), "3");
        asked.emplace_back(request.Param("countrycode"), request.Param("offset"));
    }
    const std::vector<std::pair<std::string, std::string>> pages{{"de", "0"}, {"de", "3"}, {"de", "6"},
                                                                 {"at", "0"}, {"at", "3"}, {"at", "6"}};
    EXPECT_EQ(asked, pages);

    const std::string catalogue = ReadText(Catalogue());
    EXPECT_EQ(Ids(catalogue), Ids({1, 3, 4, 9, 10, 12, 13, 15, 16, 18, 19, 21, 22, 24}))
        << "station 6 is broken, station 7 has no http address";
    const std::vector<std::string_view> lines = ChannelLines(catalogue);
    EXPECT_EQ(lines.front(),
              "Radio,Station 01,http://radio01.example.org/live.mp3," + Uuid(1) + ",jazz,Austria - german,ON");
    EXPECT_EQ(lines[4],
              "TV,Vision - Ten,http://radio10.example.org/live.mp3," + Uuid(10) + ",pop / rock,Austria - german,ON");
    EXPECT_NE(m_log.find("fetched 15 records in 6 requests; kept 14 (14 added, 0 removed, 0 changed)"),
              std::string::npos)
        << m_log;
    EXPECT_NE(m_log.find("1 without an http or https address"), std::string::npos) << m_log;
    EXPECT_TRUE(std::filesystem::exists(settings.CacheFile()));
    EXPECT_FALSE(std::filesystem::exists(settings.PreviousCatalogueFile())) << "there was no catalogue before";
}

TEST_F(DirectorySyncTest, LaterSyncsAskOnlyForTheChangesSinceTheLastOneAndApplyThem)
{
    FakeDirectory directory;
    directory.SetStations(Fixture("stations.json"));
    directory.SetChanges(Fixture("changes.json"));
    SyncSettings settings = Settings();
    settings.filter.countryCodes = {"de", "at"};
    ASSERT_EQ(Sync(settings, {directory.BaseUrl()}), kSyncDone) << m_log;
    const std::string first = ReadText(Catalogue());

    // Four changes after the latest one seen, two a page.
    settings.pageSize = 2;
    ASSERT_EQ(Sync(settings, {directory.BaseUrl()}), kSyncDone) << m_log;
    std::vector<std::string> after;
    for (const FakeDirectory::Request& request : directory.Requests()) {
        if (request.path == "/json/stations/changed") {
            EXPECT_EQ(request.Param("limit"), "2");
            after.push_back(request.Param("lastchangeuuid").substr(24));
        }
    }
    EXPECT_EQ(directory.Requests().size(), 2 + after.size()) << "no search after the first sync";
    EXPECT_EQ(after, (std::vector<std::string>{"000000000024", "000000000102", "000000000104"}));

    const std::string second = ReadText(Catalogue());
    EXPECT_EQ(Ids(second), Ids({1, 3, 9, 10, 12, 13, 15, 16, 18, 19, 21, 22, 24})) << "station 4 moved to France";
    const std::vector<std::string_view> lines = ChannelLines(second);
    EXPECT_EQ(lines[0],
              "Radio,Station 01 Renamed,https://radio01.example.org/new-stream," + Uuid(1) +
                  ",jazz,Austria - german,ON")
        << "a new address replaces the one resolved from the old";
    EXPECT_EQ(lines[1].substr(0, 25), "Radio,Station 03 Renamed,");
    EXPECT_NE(m_log.find("kept 13 (0 added, 1 removed, 2 changed)"), std::string::npos) << m_log;
    EXPECT_NE(m_log.find("1 changes to stations outside the selection"), std::string::npos) << m_log;
    EXPECT_EQ(ReadText(settings.PreviousCatalogueFile()), first);

    // Nothing new: the catalogue stays as it is, and so does the one before.
    ASSERT_EQ(Sync(settings, {directory.BaseUrl()}), kSyncDone) << m_log;
    EXPECT_EQ(directory.Requests().back().Param("lastchangeuuid").substr(24), "000000000104");
    EXPECT_EQ(ReadText(Catalogue()), second);
    EXPECT_EQ(ReadText(settings.PreviousCatalogueFile()), first);
}

TEST_F(DirectorySyncTest, WhenTheDirectoryNoLongerKnowsTheLastChangeAllStationsAreReadAgain)
{
    FakeDirectory directory;
    directory.SetStations(Fixture("stations.json"));
    ASSERT_EQ(Sync(Settings(), {directory.BaseUrl()}), kSyncDone) << m_log;
    directory.SetChanges(nlohmann::json::array());
    ASSERT_EQ(Sync(Settings(), {directory.BaseUrl()}), kSyncDone) << m_log;
    const std::vector<FakeDirectory::Request> requests = directory.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[1].path, "/json/stations/changed");
    EXPECT_EQ(requests[2].path, "/json/stations/search");
    EXPECT_NE(m_log.find("reading all stations instead"), std::string::npos) << m_log;
}

TEST_F(DirectorySyncTest, AServerThatFailsIsLeftForTheNext)
{
    FakeDirectory failing;
    failing.SetBehaviour(FakeDirectory::Behaviour::Fail);
    FakeDirectory working;
    working.SetStations(Fixture("stations.json"));
    ASSERT_EQ(Sync(Settings(10), {failing.BaseUrl(), working.BaseUrl()}), kSyncDone) << m_log;

    EXPECT_EQ(failing.Requests().size(), 1u) << "the pages after the failure go to the server that answered";
    EXPECT_EQ(working.Requests().size(), 3u);
    EXPECT_NE(m_log.find("503"), std::string::npos) << m_log;
    EXPECT_NE(m_log.find("trying the next server"), std::string::npos) << m_log;
    EXPECT_NE(m_log.find("from " + working.BaseUrl()), std::string::npos) << m_log;
    EXPECT_EQ(ChannelLines(ReadText(Catalogue())).size(), 22u);
}

// A sync that cannot read the directory whole changes nothing: neither the
// catalogue, nor the one kept before it, nor the cache.
class FailedSyncTest : public DirectorySyncTest
{
protected:
    void SetUp() override
    {
        m_directory.SetStations(Fixture("stations.json"));
        ASSERT_EQ(Sync(Settings(), {m_directory.BaseUrl()}), kSyncDone) << m_log;
        nlohmann::json fewer = Fixture("stations.json");
        fewer.erase(fewer.size() - 1);
        m_directory.SetStations(fewer);
        SyncSettings settings = Settings();
        settings.forceFull = true;
        ASSERT_EQ(Sync(settings, {m_directory.BaseUrl()}), kSyncDone) << m_log;
        m_before = Files();
    }

    std::vector<std::string> Files() const
    {
        return {ReadText(Catalogue()), ReadText(Settings().PreviousCatalogueFile()), ReadText(Settings().CacheFile())};
    }

    FakeDirectory m_directory;
    std::vector<std::string> m_before;
};

TEST_F(FailedSyncTest, AnAnswerCutShortLeavesEverythingAsItWas)
{
    m_directory.SetBehaviour(FakeDirectory::Behaviour::CutShort);
    SyncSettings settings = Settings();
    settings.forceFull = true;
    EXPECT_EQ(Sync(settings, {m_directory.BaseUrl()}), kSyncDirectoryFailed);
    EXPECT_EQ(Files(), m_before);
    EXPECT_NE(m_log.find("sync failed: "), std::string::npos) << m_log;
    EXPECT_NE(m_log.find(Catalogue() + " is left as it was"), std::string::npos) << m_log;
}

TEST_F(FailedSyncTest, AnAnswerPastTheDeadlineIsGivenUp)
{
    m_directory.SetBehaviour(FakeDirectory::Behaviour::Stall);
    SyncSettings settings = Settings();
    settings.forceFull = true;
    settings.http.deadline = std::chrono::milliseconds(300);
    EXPECT_EQ(Sync(settings, {m_directory.BaseUrl()}), kSyncDirectoryFailed);
    EXPECT_EQ(Files(), m_before);
    EXPECT_NE(m_log.find("no whole answer in time"), std::string::npos) << m_log;
}

TEST_F(FailedSyncTest, NoServerToAskLeavesEverythingAsItWas)
{
    EXPECT_EQ(Sync(Settings(), std::vector<std::string>{}), kSyncDirectoryFailed);
    EXPECT_EQ(Files(), m_before);
}

TEST_F(DirectorySyncTest, ACatalogueOfATenthOfTheStationsIsRefusedUnlessForced)
{
    FakeDirectory directory;
    directory.SetMadeUpStations(100);
    ASSERT_EQ(Sync(Settings(), {directory.BaseUrl()}), kSyncDone) << m_log;
    const std::string hundred = ReadText(Catalogue());
    ASSERT_EQ(ChannelLines(hundred).size(), 100u);

    directory.SetMadeUpStations(10);
    SyncSettings settings = Settings();
    settings.forceFull = true;
    EXPECT_EQ(Sync(settings, {directory.BaseUrl()}), kSyncRefused);
    EXPECT_EQ(ReadText(Catalogue()), hundred);
    EXPECT_NE(m_log.find("sync refused: 10 stations to keep, fewer than 0.5 of the 100 in " + Catalogue() +
                         ", which is left as it was"),
              std::string::npos)
        << m_log;

    settings.forceSmaller = true;
    EXPECT_EQ(Sync(settings, {directory.BaseUrl()}), kSyncDone) << m_log;
    EXPECT_EQ(ChannelLines(ReadText(Catalogue())).size(), 10u);
    EXPECT_EQ(ReadText(settings.PreviousCatalogueFile()), hundred);
}

TEST_F(DirectorySyncTest, ADirectoryWithoutAnyStationToKeepIsRefused)
{
    FakeDirectory directory;
    directory.SetStations(nlohmann::json::array());
    EXPECT_EQ(Sync(Settings(), {directory.BaseUrl()}), kSyncRefused);
    EXPECT_FALSE(std::filesystem::exists(Catalogue())) << "an empty list is never served";
}

TEST_F(DirectorySyncTest, FiltersSelectByLanguageTagCodecAndKeepTheMostVotedFor)
{
    FakeDirectory directory;
    directory.SetStations(Fixture("stations.json"));
    SyncSettings settings = Settings();
    settings.filter.languages = {"german"};
    settings.filter.tags = {"jazz"};
    settings.filter.codec = "aac";
    settings.filter.order = StationOrder::Votes;
    settings.filter.maxStations = 3;
    ASSERT_EQ(Sync(settings, {directory.BaseUrl()}), kSyncDone) << m_log;
    EXPECT_EQ(Ids(ReadText(Catalogue())), Ids({21, 19, 15}));
    const FakeDirectory::Request& request = directory.Requests().front();
    EXPECT_EQ(request.Param("language"), "german");
    EXPECT_EQ(request.Param("tag"), "jazz");
    EXPECT_EQ(request.Param("order"), "votes");
    EXPECT_NE(m_log.find("5 beyond max-stations"), std::string::npos) << m_log;
}

TEST_F(DirectorySyncTest, PagingStopsOnceTheStationsFallBelowTheLeastVotesWanted)
{
    FakeDirectory directory;
    directory.SetStations(Fixture("stations.json"));
    SyncSettings settings = Settings(2);
    settings.filter.order = StationOrder::Votes;
    settings.filter.minVotes = 60;
    ASSERT_EQ(Sync(settings, {directory.BaseUrl()}), kSyncDone) << m_log;
    EXPECT_EQ(Ids(ReadText(Catalogue())), Ids({24, 23, 22, 21, 20}));
    EXPECT_EQ(directory.Requests().size(), 3u) << "not the twelve pages of the whole directory";
}

TEST_F(DirectorySyncTest, AHundredThousandStationsInOneAnswerAreReadWhole)
{
    constexpr std::size_t kStations = 100000;
    FakeDirectory directory;
    directory.SetMadeUpStations(kStations);
    SyncSettings settings = Settings(kStations);
    settings.http.deadline = std::chrono::seconds(60);
    ASSERT_EQ(Sync(settings, {directory.BaseUrl()}), kSyncDone) << m_log;
    const std::string catalogue = ReadText(Catalogue());
    const std::vector<std::string_view> lines = ChannelLines(catalogue);
    ASSERT_EQ(lines.size(), kStations);
    EXPECT_EQ(lines.front().substr(0, 25), "Radio,Made-up Station 0,h");
    EXPECT_EQ(directory.Requests().size(), 2u) << "a full page, then an empty one that ends the list";
}

TEST_F(DirectorySyncTest, ServersAreFoundByTheirNamesBehindTheDirectorysName)
{
    FakeDirectory directory;
    directory.SetStations(Fixture("stations.json"));
    // localhost stands for all.api.radio-browser.info: its addresses name
    // the loopback servers.
    ResolvedDirectoryServers servers("localhost", "http", directory.Port());
    std::string problem;
    const std::vector<std::string> found = servers.BaseUrls(problem);
    ASSERT_FALSE(found.empty()) << problem;
    const std::string byName = "http://localhost:" + std::to_string(directory.Port());
    EXPECT_NE(std::find(found.begin(), found.end(), byName), found.end());

    ASSERT_EQ(Sync(Settings(), servers), kSyncDone) << m_log;
    EXPECT_EQ(ChannelLines(ReadText(Catalogue())).size(), 22u);

    ResolvedDirectoryServers nowhere("nowhere.invalid", "https", 0);
    EXPECT_EQ(Sync(Settings(), nowhere), kSyncDirectoryFailed);
    EXPECT_NE(m_log.find("could not be looked up (nowhere.invalid)"), std::string::npos) << m_log;
}

}
