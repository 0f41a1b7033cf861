// Measures how long a command takes to make a sound: it records the test
// sink's monitor, starts the command, and prints the milliseconds from the
// start (or from the "seturl <nanoseconds>" line the command prints) to the
// first sample above the threshold. With --print-wall-clock it prints the
// wall-clock time of that sample instead (milliseconds since the epoch), to
// set beside a time that another program logged, such as a server's.
//
// For the time-shift benchmark, against a station that is in turn sounding
// and silent: "--after sound:MS" (or "silence:MS") starts the command only
// once the sink has turned to sound (or silence) and stayed so for MS
// milliseconds, "--after quiet:MS" once the sink has been silent for MS
// milliseconds; "--until-silent" times the command to the start of the
// silence it makes instead of to a sound.
#include <QCoreApplication>
#include <QProcess>
#include <QStringList>
#include <QThread>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
constexpr char kMonitor[] = "kestrel_test.monitor";
// About -54 dB: above the dither of silence, below any music.
constexpr int kAudibleSample = 64;
constexpr int kSettleMilliseconds = 300;
constexpr int kGiveUpMilliseconds = 20000;
// Silence is this long without an audible sample: shorter gaps are a
// tone's zero crossings or a player's hiccups.
constexpr int kSilenceMilliseconds = 50;
// Waiting for the sink to turn gives up after this long.
constexpr int kGiveUpWaitingMilliseconds = 90000;

constexpr char kPrintWallClock[] = "--print-wall-clock";
constexpr char kAfter[] = "--after";
constexpr char kUntilSilent[] = "--until-silent";

long long MonotonicNanoseconds()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

double WallClockMilliseconds()
{
    return std::chrono::duration<double, std::milli>(std::chrono::system_clock::now().time_since_epoch()).count();
}

bool HasAudibleSample(const QByteArray& samples);

// The sink's monitor, read a piece at a time: whether the sink sounds, and
// since when it has been silent.
class SinkState
{
public:
    explicit SinkState(QProcess& recorder)
        : m_recorder(recorder)
    {
    }

    // Reads what has arrived; true when anything did.
    bool Read(int nWaitMilliseconds)
    {
        if (!m_recorder.waitForReadyRead(nWaitMilliseconds))
            return false;
        const long long nNow = MonotonicNanoseconds();
        if (HasAudibleSample(m_recorder.readAllStandardOutput())) {
            m_nLastAudible = nNow;
            m_nSilentSince = 0;
        } else if (m_nSilentSince == 0) {
            m_nSilentSince = nNow;
        }
        return true;
    }
    long long LastAudible() const { return m_nLastAudible; }
    // When the present silence began; 0 while the sink sounds or until it
    // has been silent long enough to count.
    long long SilentSince() const
    {
        return m_nSilentSince != 0 && MonotonicNanoseconds() - m_nSilentSince >= kSilenceMilliseconds * 1000000LL
            ? m_nSilentSince
            : 0;
    }

private:
    QProcess& m_recorder;
    long long m_nLastAudible = 0;
    long long m_nSilentSince = 0;
};

// Waits for the sink as "--after" asks: sound:MS, silence:MS or quiet:MS.
bool WaitForSink(SinkState& sink, const QString& strCondition)
{
    const QString strKind = strCondition.section(u':', 0, 0);
    const long long nHold = strCondition.section(u':', 1, 1).toLongLong() * 1000000LL;
    const long long nGiveUp = MonotonicNanoseconds() + kGiveUpWaitingMilliseconds * 1000000LL;
    // Sound and silence count from a turn that the probe saw.
    bool bSeenOther = strKind == QLatin1String("quiet");
    long long nSince = 0;
    while (MonotonicNanoseconds() < nGiveUp) {
        sink.Read(5);
        const long long nNow = MonotonicNanoseconds();
        const bool bSilent = sink.SilentSince() != 0;
        const bool bSounding = !bSilent && sink.LastAudible() != 0 && sink.SilentSince() == 0 &&
            nNow - sink.LastAudible() < kSilenceMilliseconds * 1000000LL;
        const bool bWanted = strKind == QLatin1String("sound") ? bSounding : bSilent;
        const bool bOther = strKind == QLatin1String("sound") ? bSilent : bSounding;
        if (bOther) {
            bSeenOther = true;
            nSince = 0;
        } else if (bWanted && bSeenOther) {
            if (nSince == 0)
                nSince = strKind == QLatin1String("sound") ? nNow : sink.SilentSince();
            if (nNow - nSince >= nHold)
                return true;
        }
    }
    return false;
}

bool HasAudibleSample(const QByteArray& samples)
{
    for (qsizetype i = 0; i + 1 < samples.size(); i += 2) {
        std::int16_t sample = 0;
        std::memcpy(&sample, samples.constData() + i, sizeof sample);
        if (std::abs(static_cast<int>(sample)) >= kAudibleSample)
            return true;
    }
    return false;
}
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList command = app.arguments().mid(1);
    bool bPrintWallClock = false;
    bool bUntilSilent = false;
    QString strAfter;
    while (!command.isEmpty() && command.first().startsWith(QLatin1String("--"))) {
        const QString strOption = command.takeFirst();
        if (strOption == kPrintWallClock)
            bPrintWallClock = true;
        else if (strOption == kUntilSilent)
            bUntilSilent = true;
        else if (strOption == kAfter && !command.isEmpty())
            strAfter = command.takeFirst();
        else
            command.clear();
    }
    if (command.isEmpty()) {
        std::fprintf(stderr,
                     "usage: kestrel-audible-probe [--print-wall-clock] [--after sound:MS|silence:MS|quiet:MS] "
                     "[--until-silent] COMMAND [ARGUMENTS...]\n");
        return 2;
    }

    QProcess recorder;
    recorder.start("parec",
                   {"-d", kMonitor, "--raw", "--format=s16le", "--rate=44100", "--channels=2", "--latency-msec=10"});
    if (!recorder.waitForStarted(5000)) {
        std::fprintf(stderr, "cannot start parec\n");
        return 1;
    }
    QThread::msleep(kSettleMilliseconds);
    recorder.readAllStandardOutput();
    SinkState sink(recorder);
    if (!strAfter.isEmpty() && !WaitForSink(sink, strAfter)) {
        std::printf("the sink never turned as asked (%s)\n", qPrintable(strAfter));
        return 1;
    }

    QProcess player;
    player.setProcessChannelMode(QProcess::SeparateChannels);
    player.setStandardErrorFile(QProcess::nullDevice());
    const long long nStarted = MonotonicNanoseconds();
    player.start(command.takeFirst(), command);
    long long nOrigin = nStarted;
    long long nHeard = 0;
    double dHeardWallClock = 0;
    QByteArray pending;
    const long long nLastAudibleBefore = sink.LastAudible();
    while (nHeard == 0 && MonotonicNanoseconds() - nStarted < kGiveUpMilliseconds * 1000000LL) {
        sink.Read(5);
        if (bUntilSilent && sink.SilentSince() != 0) {
            // The silence began with the first quiet piece after the
            // command started, or at the start if the sink was quiet already.
            nHeard = qMax(sink.SilentSince(), nStarted);
            dHeardWallClock = WallClockMilliseconds() - (MonotonicNanoseconds() - nHeard) / 1e6;
        } else if (!bUntilSilent && sink.LastAudible() != nLastAudibleBefore && sink.LastAudible() >= nStarted) {
            nHeard = sink.LastAudible();
            dHeardWallClock = WallClockMilliseconds() - (MonotonicNanoseconds() - nHeard) / 1e6;
        }
        player.waitForReadyRead(0);
        pending += player.readAllStandardOutput();
        const qsizetype nLine = pending.indexOf("seturl ");
        if (nLine >= 0 && pending.indexOf('\n', nLine) > nLine)
            nOrigin = pending.mid(nLine + 7, pending.indexOf('\n', nLine) - nLine - 7).toLongLong();
    }
    player.terminate();
    player.waitForFinished(5000);
    recorder.terminate();
    recorder.waitForFinished(5000);
    if (nHeard == 0) {
        std::printf(bUntilSilent ? "no silence\n" : "no sound\n");
        return 1;
    }
    if (bPrintWallClock)
        std::printf("%.1f\n", dHeardWallClock);
    else
        std::printf("%.1f\n", (nHeard - nOrigin) / 1e6);
    return 0;
}
