#include "MprisClient.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

namespace {
constexpr int kCallTimeoutMs = 10000;
constexpr char kObjectPath[] = "/org/mpris/MediaPlayer2";
}

MprisClient::MprisClient(QString strAddress)
    : m_strAddress(std::move(strAddress))
{
}

QString MprisClient::Busctl(const QStringList& arguments, bool* pOk) const
{
    QProcess busctl;
    busctl.start(
        QStringLiteral("busctl"),
        QStringList{QStringLiteral("--address=") + m_strAddress, QStringLiteral("--json=short"), QStringLiteral("--")} +
            arguments);
    const bool bFinished = busctl.waitForFinished(kCallTimeoutMs);
    if (pOk != nullptr)
        *pOk = bFinished && busctl.exitStatus() == QProcess::NormalExit && busctl.exitCode() == 0;
    return QString::fromUtf8(busctl.readAllStandardOutput()).trimmed();
}

bool MprisClient::IsOnBus() const
{
    const QString strReply = Busctl({QStringLiteral("call"), QStringLiteral("org.freedesktop.DBus"),
                                     QStringLiteral("/org/freedesktop/DBus"), QStringLiteral("org.freedesktop.DBus"),
                                     QStringLiteral("NameHasOwner"), QStringLiteral("s"), QLatin1String(kService)});
    const QJsonValue data = QJsonDocument::fromJson(strReply.toUtf8()).object().value(QStringLiteral("data"));
    return data.toArray().first().toBool();
}

QJsonValue MprisClient::Property(const char* interface, const char* property) const
{
    bool bOk = false;
    const QString strReply = Busctl({QStringLiteral("get-property"), QLatin1String(kService),
                                     QLatin1String(kObjectPath), QLatin1String(interface), QLatin1String(property)},
                                    &bOk);
    if (!bOk)
        return QJsonValue(QJsonValue::Undefined);
    return QJsonDocument::fromJson(strReply.toUtf8()).object().value(QStringLiteral("data"));
}

QString MprisClient::MetadataText(const char* key) const
{
    const QJsonValue entry = PlayerProperty("Metadata").toObject().value(QLatin1String(key));
    return entry.toObject().value(QStringLiteral("data")).toString();
}

QString MprisClient::Title() const
{
    return MetadataText("xesam:title");
}

bool MprisClient::Call(const char* interface, const char* method) const
{
    bool bOk = false;
    Busctl({QStringLiteral("call"), QLatin1String(kService), QLatin1String(kObjectPath), QLatin1String(interface),
            QLatin1String(method)},
           &bOk);
    return bOk;
}

bool MprisClient::SetVolume(double dVolume) const
{
    bool bOk = false;
    Busctl({QStringLiteral("set-property"), QLatin1String(kService), QLatin1String(kObjectPath), QLatin1String(kPlayer),
            QStringLiteral("Volume"), QStringLiteral("d"), QString::number(dVolume)},
           &bOk);
    return bOk;
}
