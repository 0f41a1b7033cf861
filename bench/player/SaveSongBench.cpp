// Saves one whole song of a live channel from the time-shift buffer, as the
// songs heard offer it, for the save benchmark: plays the stream with the
// program's player control and its song recorder, lets play cross two
// titles so that one whole song lies in the buffer, then saves that song
// several times. Each save is timed from the request to the recorder's
// report that the file is saved, and each file is checked: its MPEG audio
// frames must be one contiguous run of the station's source file, byte for
// byte, and last as long as the station's song.
#include "Mp3Frames.h"

#include "platform/media/MediaEngine.h"
#include "platform/media/TimeShift.h"
#include "radio/CWMPPlayer4.h"
#include "radio/SongFileName.h"
#include "radio/SongRecorder.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSet>
#include <QTest>
#include <QVBoxLayout>
#include <algorithm>
#include <clocale>
#include <cstdio>

namespace {
constexpr char kChannel[] = "Benchmark Station";
constexpr char kSavedPrefix[] = "Saved";
// Play is moved to this long before a title's expected place, so that it
// crosses the title itself, as a listener's play does.
constexpr double kLeadSeconds = 6.0;
constexpr int kOpenTimeoutMs = 30000;
constexpr int kCrossTimeoutMs = 60000;
constexpr int kSaveTimeoutMs = 60000;
// The song's length may differ from the station's interval by play's
// report granularity at each of its ends.
constexpr double kDurationToleranceSeconds = 1.0;

struct SongBounds {
    QString strTitle;
    double dStart = 0;
    double dEnd = 0;
};

double Median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

int Fail(const char* pWhy)
{
    std::printf("  failed: %s\n", pWhy);
    return 1;
}
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // The media player reads numbers in the C locale.
    std::setlocale(LC_NUMERIC, "C");
    QCommandLineParser parser;
    parser.addOption({"url", "The stream to play.", "address"});
    parser.addOption({"source", "The station's source file of that stream.", "file"});
    parser.addOption({"song-seconds", "Seconds of stream between two of the station's titles.", "seconds", "240"});
    parser.addOption({"runs", "How many times to save the song.", "count", "5"});
    parser.process(app);
    const double dSongSeconds = parser.value("song-seconds").toDouble();
    const int nRuns = parser.value("runs").toInt();

    QFile sourceFile(parser.value("source"));
    if (!sourceFile.open(QIODevice::ReadOnly))
        return Fail("the station's source file cannot be read");
    const QByteArray source = sourceFile.readAll();

    QWidget window;
    auto* pLayout = new QVBoxLayout(&window);
    auto* pPlayer = new CWMPPlayer4(&window);
    pLayout->addWidget(pPlayer, 1);
    window.resize(640, 360);
    window.show();
    IMediaEngine& engine = pPlayer->Engine();
    CSongRecorder recorder(engine);
    recorder.SetChannel(QString::fromLatin1(kChannel));

    // Where each title begins, as the recorder itself notes it: the play
    // position when play reaches the title.
    QList<SongBounds> titles;
    QObject::connect(&engine, &IMediaEngine::MetadataChanged, [&] {
        const ITimeShift* pTimeShift = engine.TimeShift();
        const QString strTitle = engine.StreamTitle();
        if (pTimeShift == nullptr || strTitle.isEmpty() || (!titles.isEmpty() && titles.last().strTitle == strTitle))
            return;
        titles.append({strTitle, pTimeShift->Position(), 0});
    });

    pPlayer->SetURL(parser.value("url"));
    if (!QTest::qWaitFor([&] { return engine.TimeShift() != nullptr && engine.TimeShift()->IsActive(); },
                         kOpenTimeoutMs))
        return Fail("the time-shift buffer did not start");
    ITimeShift& timeShift = *engine.TimeShift();

    // Play crosses the next two titles: the song between them is whole in
    // the buffer, heard from its first byte to its last.
    QElapsedTimer filling;
    filling.start();
    const auto crossTitleNear = [&](double dExpected) {
        const qsizetype nTitlesBefore = titles.size();
        if (!QTest::qWaitFor([&] { return timeShift.BufferEnd() > dExpected + kLeadSeconds; }, kCrossTimeoutMs))
            return false;
        timeShift.SeekBy(dExpected - kLeadSeconds - timeShift.Position());
        return QTest::qWaitFor(
            [&] { return titles.size() > nTitlesBefore && titles.last().dStart > dExpected - kLeadSeconds; },
            kCrossTimeoutMs);
    };
    if (!crossTitleNear(dSongSeconds))
        return Fail("play did not reach the song's title");
    SongBounds song = titles.last();
    if (!crossTitleNear(song.dStart + dSongSeconds))
        return Fail("play did not reach the next song's title");
    song.dEnd = titles.last().dStart;
    std::printf("  song \"%s\": %.2f s to %.2f s of the stream (%.2f s), whole in the buffer after %.1f s\n",
                qPrintable(song.strTitle), song.dStart, song.dEnd, song.dEnd - song.dStart, filling.elapsed() / 1000.0);

    const QDir folder(
        QDir(CSongRecorder::MusicFolder()).filePath(SongFileName::Sanitised(QString::fromLatin1(kChannel), {})));
    QSet<QString> filesBefore;
    QList<double> milliseconds;
    int nFailures = 0;
    int nWhole = 0;
    for (int nRun = 1; nRun <= nRuns; ++nRun) {
        QString strReport;
        double dMilliseconds = -1;
        QElapsedTimer timer;
        const QMetaObject::Connection reported =
            QObject::connect(&recorder, &CSongRecorder::Report, [&](const QString& strText) {
                dMilliseconds = timer.nsecsElapsed() / 1e6;
                strReport = strText;
            });
        timer.start();
        recorder.SaveHeardSong(song.strTitle, song.dStart, song.dEnd, true);
        const bool bReported = QTest::qWaitFor([&] { return dMilliseconds >= 0; }, kSaveTimeoutMs);
        QObject::disconnect(reported);
        if (!bReported || !strReport.startsWith(QLatin1String(kSavedPrefix))) {
            std::printf("  run %d: not saved: %s\n", nRun, bReported ? qPrintable(strReport) : "no report");
            ++nFailures;
            continue;
        }

        QSet<QString> files;
        for (const QString& strName : folder.entryList(QDir::Files))
            files.insert(strName);
        const QSet<QString> added = files - filesBefore;
        filesBefore = files;
        if (added.size() != 1) {
            std::printf("  run %d: %lld new files\n", nRun, static_cast<long long>(added.size()));
            ++nFailures;
            continue;
        }
        QFile file(folder.filePath(*added.cbegin()));
        if (!file.open(QIODevice::ReadOnly)) {
            std::printf("  run %d: the saved file cannot be read\n", nRun);
            ++nFailures;
            continue;
        }
        const QList<QByteArray> frames = Mp3Frames(file.readAll());
        const QByteArray joined = frames.join();
        const double dDuration = frames.size() * kMp3SecondsPerFrame;
        const bool bContiguous =
            !joined.isEmpty() && source.repeated(joined.size() / source.size() + 2).indexOf(joined) >= 0;
        const bool bDuration = qAbs(dDuration - dSongSeconds) <= kDurationToleranceSeconds;
        std::printf("  run %d: %.1f ms, %lld frames, %.2f s, %s\n", nRun, dMilliseconds,
                    static_cast<long long>(frames.size()), dDuration,
                    bContiguous ? "one contiguous run of the station's frames"
                                : "NOT one contiguous run of the station's frames");
        milliseconds.append(dMilliseconds);
        if (bContiguous && bDuration)
            ++nWhole;
        else
            ++nFailures;
    }
    pPlayer->GetControls().stop();
    if (milliseconds.isEmpty())
        return Fail("no song was saved");
    // For the script: the median, the runs saved, the runs whose file holds
    // the station's song whole.
    std::printf("result %.1f %lld %d\n", Median(milliseconds), static_cast<long long>(milliseconds.size()), nWhole);
    return nFailures == 0 ? 0 : 1;
}
