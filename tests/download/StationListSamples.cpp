#include "StationListSamples.h"

#include <QFile>
#include <httplib.h>

namespace {
const char kCatalogueHeader[] = "Category,Channel,Stream,Id,Genre,Description,Status\n";
// The list carries each character in two bytes and ends lines in CR LF.
const qint64 kListBytesPerCharacter = 2;
const qint64 kListLineEndBytes = 4;
}

QByteArray FetchWithAnotherClient(int nPort, const QString& strPath)
{
    httplib::Client client("127.0.0.1", nPort);
    const httplib::Result result = client.Get(strPath.toStdString());
    if (!result || result->status != 200)
        return QByteArray();
    return QByteArray::fromStdString(result->body);
}

bool WriteBigCatalogue(const QString& strPath, qint64 nMinListBytes)
{
    QFile file(strPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    file.write(kCatalogueHeader);
    const QString strDescription = QStringLiteral("Ωραία μουσική, ") + QString(120, QLatin1Char('~'));
    qint64 nListBytes = 0;
    for (int nChannel = 1; nListBytes < nMinListBytes; ++nChannel) {
        const QString strLine =
            QStringLiteral("Radio,Channel %1 ラジオ,{server}/streams/kestrel-mp3,big-%1,Genre %2,%3,ON")
                .arg(nChannel)
                .arg(nChannel % 17)
                .arg(strDescription);
        if (file.write(strLine.toUtf8() + '\n') < 0)
            return false;
        nListBytes += strLine.size() * kListBytesPerCharacter + kListLineEndBytes;
    }
    return file.flush();
}
