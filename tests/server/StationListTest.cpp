#include "HttpFetch.h"
#include "StationServer.h"
#include "TestEnvironment.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <vector>

namespace {

QString DemoCatalogue()
{
    return TestEnvironment::SourceDir() + "/../server/demo/catalogue.txt";
}

// The lines that the station list must carry, read from the catalogue with
// Qt rather than with the server's own code.
QStringList CatalogueLines(const QString& path, const QString& baseUrl)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(file.readAll());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    QStringList lines;
    for (QString line : text.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')))
            continue;
        lines << line.replace(QLatin1String("{server}"), baseUrl);
    }
    return lines;
}

// Decodes the station list bytes as UTF-16LE and splits them at CR LF; the
// text must end with CR LF.
QStringList StationListLines(const std::string& bytes)
{
    EXPECT_EQ(bytes.size() % 2, 0u);
    QString text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        text += QChar(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                            static_cast<unsigned char>(bytes[i + 1]) << 8));
    EXPECT_TRUE(text.endsWith(QLatin1String("\r\n")));
    text.chop(2);
    const QStringList lines = text.split(QLatin1String("\r\n"));
    for (const QString& line : lines)
        EXPECT_FALSE(line.contains(QLatin1Char('\n')) || line.contains(QLatin1Char('\r'))) << line.toStdString();
    return lines;
}

QStringList Fields(const QString& line)
{
    // Seven fields; the seventh takes the rest of the line.
    QStringList fields = line.split(QLatin1Char(','));
    while (fields.size() > 7)
        fields[6] += QLatin1Char(',') + fields.takeAt(7);
    for (QString& field : fields)
        field = field.trimmed();
    return fields;
}

class StationListTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_server.Start()) << m_server.Error().toStdString(); }

    StationServer m_server;
};

TEST_F(StationListTest, IsTheDemoCatalogueInUtf16LeWithCrLfAndNoByteOrderMark)
{
    const auto answer = HttpFetch::Get(m_server.Port(), "/stationlist.zip");
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->status, 200);
    ASSERT_GE(answer->body.size(), 2u);
    EXPECT_FALSE(answer->body[0] == '\xFF' && answer->body[1] == '\xFE') << "byte-order mark";
    EXPECT_EQ(answer->body.substr(0, 4), std::string("C\0a\0", 4)) << "the header line comes first";

    const QStringList expected = CatalogueLines(DemoCatalogue(), m_server.BaseUrl());
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_EQ(StationListLines(answer->body), expected);
}

TEST_F(StationListTest, ForbidsCaching)
{
    const auto answer = HttpFetch::Get(m_server.Port(), "/stationlist.zip");
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->Header("Cache-Control"), "no-store, no-cache");
    EXPECT_EQ(answer->Header("Pragma"), "no-cache");
    EXPECT_EQ(answer->Header("Expires"), "0");
}

// A client that takes gzip gets the list compressed ahead of time, marked
// so, under an entity tag of its own; decoded, it is the same list.
TEST_F(StationListTest, IsGzippedForClientsThatAcceptGzipAndDecodesToTheSameList)
{
    const auto plain = HttpFetch::Get(m_server.Port(), "/stationlist.zip");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->Header("Content-Encoding"), "");

    httplib::Client client("127.0.0.1", m_server.Port());
    client.set_decompress(false);
    const auto raw = client.Get("/stationlist.zip", {{"Accept-Encoding", "br;q=1.0, gzip;q=0.8"}});
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->get_header_value("Content-Encoding"), "gzip");
    EXPECT_EQ(raw->get_header_value("Vary"), "Accept-Encoding");
    EXPECT_TRUE(raw->body.starts_with("\x1F\x8B")) << "gzip's magic number";
    EXPECT_LT(raw->body.size(), plain->body.size());
    EXPECT_NE(raw->get_header_value("ETag"), plain->Header("ETag"));

    const auto decoded = HttpFetch::Get(m_server.Port(), "/stationlist.zip", {{"Accept-Encoding", "gzip"}});
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->body, plain->body);

    for (const char* taken : {"gzip;q=1", "gzip;Q=0.001", "gzip;q=1.000", "x-gzip;q=0.5", "*;q=1"}) {
        const auto accepted = client.Get("/stationlist.zip", {{"Accept-Encoding", taken}});
        ASSERT_TRUE(accepted);
        EXPECT_EQ(accepted->get_header_value("Content-Encoding"), "gzip") << taken;
    }

    for (const char* refusal : {"gzip;q=0, deflate", "identity", "*;q=0", "deflate, gzip; q=0.000", "gzip;q=-1",
                                "gzip;q=2", "gzip;q=0.5x", "gzip;q=", "*;q=-0.5", "gzip;q=1.5"}) {
        const auto refused = HttpFetch::Get(m_server.Port(), "/stationlist.zip", {{"Accept-Encoding", refusal}});
        ASSERT_TRUE(refused);
        EXPECT_EQ(refused->Header("Content-Encoding"), "") << refusal;
        EXPECT_EQ(refused->body, plain->body) << refusal;
    }
}

TEST_F(StationListTest, EveryRequestReachesTheServerAndIsLogged)
{
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(HttpFetch::Get(m_server.Port(), "/stationlist.zip"));
    EXPECT_EQ(m_server.CountRequests("/stationlist.zip"), 3);
    const QStringList log = m_server.RequestLog();
    ASSERT_FALSE(log.isEmpty());
    const QStringList fields = log.last().split(QLatin1Char(' '));
    ASSERT_EQ(fields.size(), 5);
    EXPECT_TRUE(fields[0].contains(QRegularExpression(R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d(\.\d+)?Z$)")))
        << fields[0].toStdString();
    EXPECT_EQ(fields[1], "GET");
    EXPECT_EQ(fields[3], "200");
    const auto answer = HttpFetch::Get(m_server.Port(), "/stationlist.zip");
    EXPECT_EQ(fields[4].toULongLong(), answer->body.size());
}

TEST_F(StationListTest, ARangeRequestGetsThatRangeAsPartialContent)
{
    const auto whole = HttpFetch::Get(m_server.Port(), "/stationlist.zip");
    const auto part = HttpFetch::Get(m_server.Port(), "/stationlist.zip", {{"Range", "bytes=10-29"}});
    ASSERT_TRUE(whole && part);
    EXPECT_EQ(part->status, 206);
    EXPECT_EQ(part->Header("Content-Range"), "bytes 10-29/" + std::to_string(whole->body.size()));
    EXPECT_EQ(part->body, whole->body.substr(10, 20));
    for (int i = 0; i < 100 && m_server.CountRequests("/stationlist.zip") < 2; ++i)
        QThread::msleep(20);
    EXPECT_EQ(m_server.RequestLog().filter(" GET /stationlist.zip 206 20").size(), 1);
}

// A range is checked against the list's length: one past the end or of
// no bytes cannot be satisfied, and says the length it missed.
TEST_F(StationListTest, AnUnsatisfiableRangeGets416WithTheListsLength)
{
    const auto whole = HttpFetch::Get(m_server.Port(), "/stationlist.zip");
    ASSERT_TRUE(whole);
    const std::string length = std::to_string(whole->body.size());
    for (const std::string& range :
         std::vector<std::string>{"bytes=999999999-", "bytes=-0", "bytes=" + length + "-",
                                  "bytes=" + length + "-" + length, "bytes=99999999999999999-100000000000000000"}) {
        const auto refused = HttpFetch::Get(m_server.Port(), "/stationlist.zip", {{"Range", range}});
        ASSERT_TRUE(refused) << range;
        EXPECT_EQ(refused->status, 416) << range;
        EXPECT_EQ(refused->Header("Content-Range"), "bytes */" + length) << range;
        EXPECT_EQ(refused->body.find(whole->body.substr(0, 40)), std::string::npos) << range;
    }
    EXPECT_EQ(m_server.RequestLog().filter(" GET /stationlist.zip 416 ").size(), 5);
}

// Open-ended and suffix ranges reach the list's end, a range past it is cut
// there; several ranges at once are answered with the whole list, which a
// client may always be sent instead of parts.
TEST_F(StationListTest, EverySatisfiableRangeGetsItsBytesAndSeveralRangesTheWholeList)
{
    const auto whole = HttpFetch::Get(m_server.Port(), "/stationlist.zip");
    ASSERT_TRUE(whole);
    const std::size_t size = whole->body.size();
    const std::string length = std::to_string(size);
    struct Part {
        std::string range;
        std::size_t first;
        std::size_t count;
    };
    for (const Part& part :
         {Part{"bytes=" + std::to_string(size - 10) + "-", size - 10, 10}, Part{"bytes=-10", size - 10, 10},
          Part{"bytes=-99999999", 0, size}, Part{"bytes=0-0", 0, 1}, Part{"bytes=5-99999999999", 5, size - 5},
          Part{"bytes=2-3", 2, 2}}) {
        const auto answer = HttpFetch::Get(m_server.Port(), "/stationlist.zip", {{"Range", part.range}});
        ASSERT_TRUE(answer) << part.range;
        EXPECT_EQ(answer->status, 206) << part.range;
        EXPECT_EQ(answer->Header("Content-Range"),
                  "bytes " + std::to_string(part.first) + "-" + std::to_string(part.first + part.count - 1) + "/" +
                      length)
            << part.range;
        EXPECT_EQ(answer->body, whole->body.substr(part.first, part.count)) << part.range;
    }

    for (const char* ranges : {"bytes=0-9,20-", "bytes=-5, 0-1", "bytes=0-0,999999999-"}) {
        const auto answer = HttpFetch::Get(m_server.Port(), "/stationlist.zip", {{"Range", ranges}});
        ASSERT_TRUE(answer) << ranges;
        EXPECT_EQ(answer->status, 200) << ranges;
        EXPECT_EQ(answer->Header("Content-Range"), "") << ranges;
        EXPECT_EQ(answer->Header("Content-Type"), "application/octet-stream") << ranges;
        EXPECT_EQ(answer->body, whole->body) << ranges;
    }
}

// A range of the gzipped list counts the gzipped bytes; a range that names
// an earlier list (If-Range) gets the whole current one.
TEST_F(StationListTest, ARangeBelongsToTheRepresentationAndItsTag)
{
    httplib::Client client("127.0.0.1", m_server.Port());
    client.set_decompress(false);
    const auto gzip = client.Get("/stationlist.zip", {{"Accept-Encoding", "gzip"}});
    ASSERT_TRUE(gzip);
    const auto head = client.Get("/stationlist.zip", {{"Accept-Encoding", "gzip"}, {"Range", "bytes=0-1"}});
    ASSERT_TRUE(head);
    EXPECT_EQ(head->status, 206);
    EXPECT_EQ(head->body, "\x1F\x8B");
    EXPECT_EQ(head->get_header_value("Content-Range"), "bytes 0-1/" + std::to_string(gzip->body.size()));

    const auto whole = HttpFetch::Get(m_server.Port(), "/stationlist.zip");
    ASSERT_TRUE(whole);
    const auto current = HttpFetch::Get(m_server.Port(), "/stationlist.zip",
                                        {{"Range", "bytes=0-1"}, {"If-Range", whole->Header("ETag")}});
    ASSERT_TRUE(current);
    EXPECT_EQ(current->status, 206);
    const auto earlier =
        HttpFetch::Get(m_server.Port(), "/stationlist.zip", {{"Range", "bytes=0-1"}, {"If-Range", "\"1-00000000\""}});
    ASSERT_TRUE(earlier);
    EXPECT_EQ(earlier->status, 200);
    EXPECT_EQ(earlier->body, whole->body);
}

// What the program shows on a fresh profile: radio channels that are on
// the air. It plays the third of them at once, so that one must work.
TEST_F(StationListTest, DemoCatalogueHasTheChannelsTheDemoNeeds)
{
    const auto answer = HttpFetch::Get(m_server.Port(), "/stationlist.zip");
    ASSERT_TRUE(answer);
    QStringList lines = StationListLines(answer->body);
    lines.removeFirst();
    EXPECT_GE(lines.size(), 10);

    int tv = 0;
    bool off = false, otherCategory = false, nonLatin = false;
    QStringList shownOnFreshProfile;
    QStringList deadAddresses;
    for (const QString& line : lines) {
        const QStringList fields = Fields(line);
        ASSERT_EQ(fields.size(), 7) << line.toStdString();
        EXPECT_TRUE(fields[2].startsWith(m_server.BaseUrl() + "/streams/")) << line.toStdString();
        tv += fields[0].compare("TV", Qt::CaseInsensitive) == 0;
        off = off || fields[6].contains("OFF");
        otherCategory = otherCategory ||
            (fields[0].compare("Radio", Qt::CaseInsensitive) != 0 && fields[0].compare("TV", Qt::CaseInsensitive) != 0);
        nonLatin =
            nonLatin || std::any_of(fields[1].begin(), fields[1].end(), [](QChar c) { return c.unicode() > 0x24F; });
        if (fields[0].compare("Radio", Qt::CaseInsensitive) == 0 && !fields[6].contains("OFF"))
            shownOnFreshProfile << fields[2];
        const QString path = fields[2].mid(m_server.BaseUrl().size());
        const auto head = HttpFetch::GetFor(m_server.Port(), path.toStdString(), std::chrono::seconds(5), {}, 1);
        ASSERT_TRUE(head) << path.toStdString();
        if (head->status == 404)
            deadAddresses << path;
        else
            EXPECT_EQ(head->status, 200) << path.toStdString();
    }
    EXPECT_GE(tv, 2);
    EXPECT_TRUE(off);
    EXPECT_TRUE(otherCategory);
    EXPECT_TRUE(nonLatin);
    EXPECT_EQ(deadAddresses.size(), 1) << deadAddresses.join(' ').toStdString();
    ASSERT_GE(shownOnFreshProfile.size(), 4);
    EXPECT_FALSE(deadAddresses.contains(shownOnFreshProfile[2].mid(m_server.BaseUrl().size())));
}

TEST(StationListCatalogueTest, KeepsEveryCharacterAndSubstitutesTheServerEverywhere)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("catalogue.txt");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    // A byte-order mark, CR LF line ends, comments, blank lines, a character
    // beyond the Basic Multilingual Plane and commas in the status.
    file.write("\xEF\xBB\xBF# comment\r\n"
               "Kind,Name,Address,Extra,Genre,About,State\r\n"
               "\r\n"
               "   # indented comment\n"
               "Radio,K\xC3\xA9strel \xF0\x9F\x8E\xB5,{server}/streams/kestrel-mp3,x,y,{server} twice {server},ON, "
               "really, on\n"
               "Podcast , \xCE\x9A\xCE\xAD\xCF\x83\xCF\x84\xCF\x81\xCE\xB5\xCE\xBB ,{server}/a,,,,OFF");
    file.close();

    StationServer server({.catalogueFile = path});
    ASSERT_TRUE(server.Start()) << server.Error().toStdString();
    const auto answer = HttpFetch::Get(server.Port(), "/stationlist.zip");
    ASSERT_TRUE(answer);
    const QString base = server.BaseUrl();
    const QStringList expected{
        "Kind,Name,Address,Extra,Genre,About,State",
        QString::fromUtf8("Radio,K\xC3\xA9strel \xF0\x9F\x8E\xB5,") + base + "/streams/kestrel-mp3,x,y," + base +
            " twice " + base + ",ON, really, on",
        QString::fromUtf8("Podcast , \xCE\x9A\xCE\xAD\xCF\x83\xCF\x84\xCF\x81\xCE\xB5\xCE\xBB ,") + base + "/a,,,,OFF",
    };
    EXPECT_EQ(StationListLines(answer->body), expected);
    const QByteArray expectedBytes =
        QByteArray(reinterpret_cast<const char*>(expected.join("\r\n").utf16()), expected.join("\r\n").size() * 2) +
        QByteArray("\r\0\n\0", 4);
    EXPECT_EQ(QByteArray::fromStdString(answer->body), expectedBytes);
}

// A catalogue of a hundred thousand stations is served whole in both
// encodings, and a client that has it already gets 304.
TEST(StationListCatalogueTest, ServesAHundredThousandStations)
{
    constexpr int kStations = 100000;
    QTemporaryDir folder;
    const QString path = folder.filePath("catalogue.txt");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    QByteArray text = "Category,Channel,Stream,Id,Genre,Description,Status\n";
    for (int i = 1; i <= kStations; ++i)
        text += "Radio,Station " + QByteArray::number(i) + ",http://stream" + QByteArray::number(i % 97) +
            ".example.org/live/" + QByteArray::number(i) + ",rb-" + QByteArray::number(i) +
            ",Pop / Rock,Country - language,ON\n";
    file.write(text);
    file.close();

    StationServer server({.catalogueFile = path});
    ASSERT_TRUE(server.Start()) << server.Error().toStdString();
    const auto plain = HttpFetch::Get(server.Port(), "/stationlist.zip");
    ASSERT_TRUE(plain);
    ASSERT_EQ(plain->status, 200);
    const QStringList lines = StationListLines(plain->body);
    ASSERT_EQ(lines.size(), kStations + 1);
    EXPECT_EQ(lines.last().toStdString(),
              "Radio,Station 100000,http://stream90.example.org/live/100000,rb-100000,"
              "Pop / Rock,Country - language,ON");

    const auto gzip = HttpFetch::Get(server.Port(), "/stationlist.zip", {{"Accept-Encoding", "gzip"}});
    ASSERT_TRUE(gzip);
    EXPECT_EQ(gzip->Header("Content-Encoding"), "gzip");
    EXPECT_EQ(gzip->body, plain->body);

    const auto again = HttpFetch::Get(server.Port(), "/stationlist.zip", {{"If-None-Match", plain->Header("ETag")}});
    ASSERT_TRUE(again);
    EXPECT_EQ(again->status, 304);
    EXPECT_EQ(again->body.size(), 0u);
    EXPECT_EQ(server.RequestLog().filter(" GET /stationlist.zip 304 0").size(), 1);
}

}
