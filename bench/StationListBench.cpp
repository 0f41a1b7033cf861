// Loads a station list of 100,000 channels into the channel list and prints
// how long reading alone takes, how long loading and filling take, their
// ratio, and how much memory the load adds at its peak.

#include "catalogue/CChannelCatalogue.h"
#include "catalogue/DataFolder.h"
#include "catalogue/FillChannelList.h"
#include "catalogue/StationListReader.h"
#include "fw/CListCtrl.h"
#include "fw/CWinApp.h"
#include "platform/datafolder/ExclusiveFile.h"
#include "res/ProductInfo.h"
#include "settings/SettingNames.h"
#include "settings/SettingsCache.h"
#include "settings/SettingsStore.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtEndian>
#include <algorithm>
#include <cstdio>
#include <malloc.h>
#include <sys/resource.h>
#include <time.h>
#include <vector>

namespace {

// A row of the summary table that scripts/bench.sh prints at its end.
void AddTableRow(const QString& strFigure, const QString& strOurs, const QString& strTarget, const QString& strPeer)
{
    const QString strTable = qEnvironmentVariable("KESTREL_BENCH_TABLE");
    if (strTable.isEmpty())
        return;
    QFile table(strTable);
    if (table.open(QIODevice::Append | QIODevice::Text))
        table.write(QStringList{strFigure, strOurs, strTarget, strPeer}.join(QLatin1Char('\t')).toUtf8() + '\n');
}

constexpr int kChannelCount = 100000;
constexpr int kRepetitions = 5;

// Targets on a 2-core machine.
constexpr double kLoadTargetMs = 150.0;
constexpr double kRatioTarget = 3.0;
constexpr double kMemoryTargetFactor = 4.0;

// A station list much like the real one: mostly radio, some TV and other
// kinds, a few channels off the air.
QByteArray GenerateStationList()
{
    static const char* const kGenres[] = {"Pop", "Rock", "Jazz", "News", "Talk", "Classical", "Dance", "Folk"};
    static const char* const kLanguages[] = {"English", "Hindi", "French", "German", "Urdu", "Spanish"};
    QString strText = QStringLiteral("Type,Channel,Stream,Bitrate,Genre,Language,Status\r\n");
    quint32 nSeed = 12345;
    auto next = [&nSeed] {
        nSeed = nSeed * 1103515245u + 12345u;
        return (nSeed >> 16) & 0x7FFF;
    };
    for (int n = 0; n < kChannelCount; ++n) {
        const quint32 nKind = next() % 20;
        const char* pszKind = nKind < 17 ? "Radio" : nKind < 19 ? "TV" : "Podcast";
        const int nBitrate = 64 << (next() % 3);
        const char* pszGenre = kGenres[next() % 8];
        const char* pszLanguage = kLanguages[next() % 6];
        const char* pszStatus = next() % 25 == 0 ? "OFF AIR" : "OK";
        strText += QString::asprintf("%s,Kestrel %d,http://127.0.0.1:8000/%d,%d,%s,%s,%s\r\n", pszKind, n, n, nBitrate,
                                     pszGenre, pszLanguage, pszStatus);
    }
    QByteArray bytes(strText.size() * 2, Qt::Uninitialized);
    qToLittleEndian<char16_t>(strText.utf16(), strText.size(), bytes.data());
    return bytes;
}

void WriteFile(const QString& strPath, const QByteArray& bytes)
{
    QFile file(strPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(strPath));
}

qint64 StatusKilobytes(const char* pszField)
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(pszField))
            return line.mid(qstrlen(pszField)).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Makes the peak resident size start again from the present size.
bool ResetPeakMemory()
{
    QFile clearRefs("/proc/self/clear_refs");
    return clearRefs.open(QIODevice::WriteOnly) && clearRefs.write("5") == 1;
}

// Wall-clock and CPU time of this thread since construction, in ms. The
// CPU time is the fairer figure when other programs share the machine.
class Stopwatch
{
public:
    Stopwatch() { Restart(); }
    void Restart()
    {
        m_wall.start();
        m_dCpuStart = CpuMs();
    }
    double WallMs() const { return m_wall.nsecsElapsed() / 1e6; }
    double CpuMsElapsed() const { return CpuMs() - m_dCpuStart; }

private:
    static double CpuMs()
    {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
    }
    QElapsedTimer m_wall;
    double m_dCpuStart = 0;
};

struct Timing {
    std::vector<double> wall;
    std::vector<double> cpu;
    void Add(const Stopwatch& stopwatch)
    {
        wall.push_back(stopwatch.WallMs());
        cpu.push_back(stopwatch.CpuMsElapsed());
    }
};

// (a): open, read and split into lines, and nothing else; each line is
// dropped as soon as it has been read.
void ReadLinesOnly(const QString& strPath, qint64& nLines, Timing& timing)
{
    const Stopwatch stopwatch;
    CExclusiveFile file;
    if (!file.Open(strPath))
        qFatal("cannot open %s", qPrintable(strPath));
    CStationListReader reader([&file](char* pBuffer, qint64 nSize) { return file.Read(pBuffer, nSize); });
    nLines = 0;
    reader.ReadCountedLines(file.GetLength(), [&nLines](CString strLine) { nLines += strLine.isNull() ? 0 : 1; });
    timing.Add(stopwatch);
}

// The same, keeping every line in a list, as splitting a text does.
void ReadAndKeepLines(const QString& strPath, Timing& timing)
{
    const Stopwatch stopwatch;
    CExclusiveFile file;
    if (!file.Open(strPath))
        qFatal("cannot open %s", qPrintable(strPath));
    CStationListReader reader([&file](char* pBuffer, qint64 nSize) { return file.Read(pBuffer, nSize); });
    QStringList lines;
    reader.ReadCountedLines(file.GetLength(), [&lines](CString strLine) { lines.append(std::move(strLine)); });
    timing.Add(stopwatch);
}

rusage ThreadUsage()
{
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return usage;
}

double Ms(const timeval& time)
{
    return time.tv_sec * 1e3 + time.tv_usec / 1e3;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.filePath("data").toLocal8Bit());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, home.filePath("config"));
    QApplication application(argc, argv);

    CWinAppEx app(ProductInfo::ApplicationTitle());
    app.SetRegistryKey(ProductInfo::MakerDomain());
    CSettingsCache cache;
    CSettingsCache::Set(&cache);
    // Every channel reaches the list: the heaviest load there is.
    WriteSettingInt(SettingNames::kDisplayTVChannels, 1);
    WriteSettingInt(SettingNames::kDisplayNonWorkingChannels, 1);

    const QByteArray bytes = GenerateStationList();
    const QString strPath = GetStationListPath();
    std::printf("station list: %d channels, %.1f MB (%lld bytes)\n", kChannelCount, bytes.size() / 1e6,
                static_cast<long long>(bytes.size()));

    CListCtrl list;
    list.resize(800, 600);
    list.show();
    QApplication::processEvents();

    // The first load fills an empty list in a process that has not loaded
    // before; each reload refills the same list, as the radio page does.
    Timing readTimes;
    Timing keepTimes;
    Timing reloadTimes;
    Timing destroyTimes;
    Timing viewTimes;
    double dFirstWallMs = 0;
    double dFirstCpuMs = 0;
    double dFirstUserMs = 0;
    double dFirstSystemMs = 0;
    long nFirstPageFaults = 0;
    qint64 nPeakAddedKb = -1;
    qint64 nHeapAddedBytes = -1;
    bool bPeakReset = false;
    qint64 nLines = 0;
    for (int nRun = 0; nRun <= kRepetitions; ++nRun) {
        WriteFile(strPath, bytes);
        if (nRun > 0)
            ReadAndKeepLines(strPath, keepTimes);
        ReadLinesOnly(strPath, nLines, readTimes);

        const size_t nHeapBefore = mallinfo2().uordblks;
        qint64 nRssBefore = 0;
        if (nRun == 0) {
            malloc_trim(0);
            bPeakReset = ResetPeakMemory();
            nRssBefore = bPeakReset ? StatusKilobytes("VmRSS:") : StatusKilobytes("VmHWM:");
        }
        const rusage usageBefore = ThreadUsage();
        Stopwatch stopwatch;
        auto pCatalogue = std::make_unique<CChannelCatalogue>();
        FillChannelList(list, *pCatalogue);
        if (nRun == 0) {
            dFirstWallMs = stopwatch.WallMs();
            dFirstCpuMs = stopwatch.CpuMsElapsed();
            const rusage usageAfter = ThreadUsage();
            dFirstUserMs = Ms(usageAfter.ru_utime) - Ms(usageBefore.ru_utime);
            dFirstSystemMs = Ms(usageAfter.ru_stime) - Ms(usageBefore.ru_stime);
            nFirstPageFaults = usageAfter.ru_minflt - usageBefore.ru_minflt;
            nPeakAddedKb = StatusKilobytes("VmHWM:") - nRssBefore;
            nHeapAddedBytes = static_cast<qint64>(mallinfo2().uordblks - nHeapBefore);
        } else {
            reloadTimes.Add(stopwatch);
        }

        stopwatch.Restart();
        pCatalogue.reset();
        destroyTimes.Add(stopwatch);
        stopwatch.Restart();
        QApplication::processEvents();
        list.repaint();
        viewTimes.Add(stopwatch);
    }

    const double dRead = Median(readTimes.wall);
    const double dReadCpu = Median(readTimes.cpu);
    const double dReload = Median(reloadTimes.wall);
    const double dReloadCpu = Median(reloadTimes.cpu);
    const double dMemoryFactor = nPeakAddedKb * 1024.0 / bytes.size();
    auto verdict = [](bool bMet) { return bMet ? "met" : "MISSED"; };
    std::printf("lines read: %lld, rows shown: %d; medians of %d runs\n", static_cast<long long>(nLines),
                list.GetItemCount(), kRepetitions);
    std::printf("(a) read and split into lines:         %6.1f ms wall %6.1f ms CPU\n", dRead, dReadCpu);
    std::printf("(b) LoadStationList + FillChannelList\n");
    std::printf("    first load into an empty list:     %6.1f ms wall %6.1f ms CPU   target <= %.0f ms: %s\n",
                dFirstWallMs, dFirstCpuMs, kLoadTargetMs, verdict(dFirstWallMs <= kLoadTargetMs));
    std::printf("      of which %.1f ms user, %.1f ms system with %ld page faults\n", dFirstUserMs, dFirstSystemMs,
                nFirstPageFaults);
    std::printf("    reload into the filled list:       %6.1f ms wall %6.1f ms CPU   target <= %.0f ms: %s\n", dReload,
                dReloadCpu, kLoadTargetMs, verdict(dReload <= kLoadTargetMs));
    std::printf("(c) ratio (b)/(a), first load:         %6.2f wall %6.2f CPU      target <= %.0f: %s\n",
                dFirstWallMs / dRead, dFirstCpuMs / dReadCpu, kRatioTarget,
                verdict(dFirstWallMs / dRead <= kRatioTarget));
    std::printf("    ratio (b)/(a), reload:             %6.2f wall %6.2f CPU      target <= %.0f: %s\n",
                dReload / dRead, dReloadCpu / dReadCpu, kRatioTarget, verdict(dReload / dRead <= kRatioTarget));
    const double dKeep = Median(keepTimes.wall);
    std::printf("    for comparison, reading and keeping every line takes %.1f ms wall, %.1f ms CPU: ratios %.2f "
                "(first load) and %.2f (reload)\n",
                dKeep, Median(keepTimes.cpu), dFirstWallMs / dKeep, dReload / dKeep);
    std::printf("(d) peak memory added by the first load: %5.1f MB = %.2f x the file   target <= %.0f x: %s%s\n",
                nPeakAddedKb / 1024.0, dMemoryFactor, kMemoryTargetFactor,
                verdict(dMemoryFactor <= kMemoryTargetFactor),
                bPeakReset ? "" : " (peak not resettable: measured against the earlier peak)");
    std::printf("    heap in use after the first fill:  %6.1f MB, not counting blocks the allocator maps apart\n",
                nHeapAddedBytes / 1048576.0);
    std::printf("    not in (b): destroying the catalogue %.1f ms, updating and painting the view %.1f ms\n",
                Median(destroyTimes.wall), Median(viewTimes.wall));
    AddTableRow("100,000-channel list: first load", QString::asprintf("%.1f ms", dFirstWallMs),
                QString::asprintf("<= %.0f ms", kLoadTargetMs), QString::asprintf("read alone %.1f ms", dRead));
    AddTableRow("100,000-channel list: load / read", QString::asprintf("%.2f", dFirstWallMs / dRead),
                QString::asprintf("<= %.0f", kRatioTarget), "-");
    AddTableRow("100,000-channel list: peak memory", QString::asprintf("%.2f x the file", dMemoryFactor),
                QString::asprintf("<= %.0f x", kMemoryTargetFactor), "-");
    CSettingsCache::Set(nullptr);
    return 0;
}
