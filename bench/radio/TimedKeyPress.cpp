// Types keys into the focused window with xdotool and prints, once the keys
// have reached the display, the monotonic clock as the line
// "seturl <nanoseconds>" that kestrel-audible-probe counts from.
#include <QCoreApplication>
#include <QProcess>
#include <chrono>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList keys = app.arguments().mid(1);
    if (keys.isEmpty()) {
        std::fprintf(stderr, "usage: kestrel-timed-key KEY...\n");
        return 2;
    }
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), QStringList{QStringLiteral("key")} + keys);
    if (!xdotool.waitForFinished(5000) || xdotool.exitCode() != 0) {
        std::fprintf(stderr, "xdotool could not type the keys\n");
        return 1;
    }
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    std::printf("seturl %lld\n",
                static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
    std::fflush(stdout);
    return 0;
}
