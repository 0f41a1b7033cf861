// Writes songs into the history file named by its argument as fast as it
// can, printing each song's id once it is written, until it is killed.
#include "platform/history/SongHistory.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    const auto pHistory = CreateSongHistory(QString::fromLocal8Bit(argv[1]));
    if (!pHistory->IsAvailable()) {
        std::fprintf(stderr, "%s\n", qPrintable(pHistory->ErrorText()));
        return 1;
    }
    QDateTime started = QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC);
    for (qint64 n = 1;; ++n) {
        const qint64 nId = pHistory->AddSong(QStringLiteral("Channel"), QStringLiteral("Song %1").arg(n), started);
        started = started.addSecs(1);
        if (nId == 0 || !pHistory->EndSong(nId, started))
            return 1;
        std::printf("%lld\n", static_cast<long long>(nId));
        std::fflush(stdout);
    }
}
