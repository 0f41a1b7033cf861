#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QStringList>

// The program's media player interface as a desktop client sees it,
// through busctl on the private bus.
class MprisClient
{
public:
    static constexpr char kService[] = "org.mpris.MediaPlayer2.kestrelradio";
    static constexpr char kRoot[] = "org.mpris.MediaPlayer2";
    static constexpr char kPlayer[] = "org.mpris.MediaPlayer2.Player";

    explicit MprisClient(QString strAddress);

    // Whether the program holds its name on the bus.
    bool IsOnBus() const;
    // The property's value as busctl's JSON gives it; undefined when it
    // cannot be read.
    QJsonValue Property(const char* interface, const char* property) const;
    QJsonValue PlayerProperty(const char* property) const { return Property(kPlayer, property); }
    // The title in the player's metadata; empty when there is none.
    QString Title() const;
    QString MetadataText(const char* key) const;
    // Calls a method without arguments; false when the call failed.
    bool Call(const char* interface, const char* method) const;
    bool CallPlayer(const char* method) const { return Call(kPlayer, method); }
    bool SetVolume(double dVolume) const;

private:
    QString Busctl(const QStringList& arguments, bool* pOk = nullptr) const;

    QString m_strAddress;
};
