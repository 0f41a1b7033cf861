// Plays one stream with the program's own player control, for the player
// benchmark: prints the monotonic clock when the address is set and when
// the player says it plays, then plays on for the given time.
#include "radio/CExplorer_ad.h"
#include "radio/CWMPPlayer4.h"
#include "radio/PlayerTexts.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>
#include <QVBoxLayout>
#include <chrono>
#include <clocale>
#include <cstdio>

namespace {
long long MonotonicNanoseconds()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // The media player reads numbers in the C locale.
    std::setlocale(LC_NUMERIC, "C");
    QCommandLineParser parser;
    parser.addOption({"url", "The stream to play.", "address"});
    parser.addOption({"banner", "A banner page to show beside the player.", "address"});
    parser.addOption({"seconds", "How long to play.", "seconds", "10"});
    parser.process(app);

    QWidget window;
    auto* pLayout = new QVBoxLayout(&window);
    auto* pPlayer = new CWMPPlayer4(&window);
    pLayout->addWidget(pPlayer, 1);
    if (parser.isSet("banner")) {
        auto* pBanner = new CExplorer_ad(&window);
        pLayout->addWidget(pBanner);
        pBanner->Navigate2(parser.value("banner"));
    }
    window.resize(720, 400);
    window.show();

    bool bPlayingTold = false;
    QObject::connect(pPlayer, &CWMPPlayer4::StatusChange, [&] {
        if (!bPlayingTold && pPlayer->GetStatus().startsWith(PlayerTexts::kPlaying)) {
            bPlayingTold = true;
            std::printf("playing %lld\n", MonotonicNanoseconds());
            std::fflush(stdout);
        }
    });
    QTimer::singleShot(0, [&] {
        std::printf("seturl %lld\n", MonotonicNanoseconds());
        std::fflush(stdout);
        pPlayer->SetURL(parser.value("url"));
    });
    QTimer::singleShot(parser.value("seconds").toInt() * 1000, &app, [&] {
        pPlayer->GetControls().stop();
        app.quit();
    });
    return app.exec();
}
