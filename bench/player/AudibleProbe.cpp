// Measures how long a command takes to make a sound: it records the test
// sink's monitor, starts the command, and prints the milliseconds from the
// start (or from the "seturl <nanoseconds>" line the command prints) to the
// first sample above the threshold. With --print-wall-clock it prints the
// wall-clock time of that sample instead (milliseconds since the epoch), to
// set beside a time that another program logged, such as a server's.
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

constexpr char kPrintWallClock[] = "--print-wall-clock";

long long MonotonicNanoseconds()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

double WallClockMilliseconds()
{
    return std::chrono::duration<double, std::milli>(std::chrono::system_clock::now().time_since_epoch()).count();
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
    const bool bPrintWallClock = !command.isEmpty() && command.first() == kPrintWallClock;
    if (bPrintWallClock)
        command.removeFirst();
    if (command.isEmpty()) {
        std::fprintf(stderr, "usage: kestrel-audible-probe [--print-wall-clock] COMMAND [ARGUMENTS...]\n");
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

    QProcess player;
    player.setProcessChannelMode(QProcess::SeparateChannels);
    player.setStandardErrorFile(QProcess::nullDevice());
    const long long nStarted = MonotonicNanoseconds();
    player.start(command.takeFirst(), command);
    long long nOrigin = nStarted;
    long long nAudible = 0;
    double dAudibleWallClock = 0;
    QByteArray pending;
    while (nAudible == 0 && MonotonicNanoseconds() - nStarted < kGiveUpMilliseconds * 1000000LL) {
        if (recorder.waitForReadyRead(5) && HasAudibleSample(recorder.readAllStandardOutput())) {
            nAudible = MonotonicNanoseconds();
            dAudibleWallClock = WallClockMilliseconds();
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
    if (nAudible == 0) {
        std::printf("no sound\n");
        return 1;
    }
    if (bPrintWallClock)
        std::printf("%.1f\n", dAudibleWallClock);
    else
        std::printf("%.1f\n", (nAudible - nOrigin) / 1e6);
    return 0;
}
