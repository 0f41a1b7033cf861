#include "StationListBytes.h"

#include "catalogue/DataFolder.h"

#include <QFile>
#include <QtEndian>

QByteArray Utf16LE(const QString& strText)
{
    QByteArray bytes(strText.size() * 2, Qt::Uninitialized);
    qToLittleEndian<char16_t>(strText.utf16(), strText.size(), bytes.data());
    return bytes;
}

QByteArray StationListFile(const QStringList& lines)
{
    QString strText;
    for (const QString& strLine : lines)
        strText += strLine + QStringLiteral("\r\n");
    return Utf16LE(strText);
}

void WriteStationList(const QByteArray& bytes)
{
    QFile file(GetStationListPath());
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}
