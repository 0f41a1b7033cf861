#include "nowplaying/MediaControlsDescription.h"

#include "catalogue/StreamAddressPolicy.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStandardPaths>
#include <QUrl>

namespace {
// What the media library plays from a network stream: the radio formats,
// the playlists that name streams, and the TV channels' containers.
constexpr const char* kStreamMimeTypes[] = {
    "audio/mpeg",
    "audio/aac",
    "audio/aacp",
    "audio/ogg",
    "audio/opus",
    "audio/flac",
    "audio/x-ms-wma",
    "audio/x-mpegurl",
    "audio/mpegurl",
    "audio/x-scpls",
    "application/vnd.apple.mpegurl",
    "video/mp2t",
    "video/mp4",
    "video/webm",
    "video/x-flv",
    "video/x-ms-asf",
};

// The icon as the program installs it into the hicolor theme, under the
// name its desktop entry gives.
constexpr char kInstalledIcon[] = "icons/hicolor/scalable/apps/kestrel-radio.svg";
}

namespace MediaControlsDescription {
IDesktopMediaControls::Description Description()
{
    IDesktopMediaControls::Description description;
    description.identity = QLatin1String(kIdentity);
    description.desktopEntry = QGuiApplication::desktopFileName();
    description.uriSchemes = CStreamAddressPolicy::NetworkSchemes();
    for (const char* mimeType : kStreamMimeTypes)
        description.mimeTypes << QLatin1String(mimeType);
    return description;
}

QString ApplicationIconUrl()
{
    const QString relativePath = QString::fromLatin1(kInstalledIcon);
    // Beside the installed program first, then wherever the desktop looks.
    const QString besideProgram =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../share/") + relativePath);
    const QString path = QFileInfo::exists(besideProgram)
        ? QFileInfo(besideProgram).canonicalFilePath()
        : QStandardPaths::locate(QStandardPaths::GenericDataLocation, relativePath);
    if (path.isEmpty())
        return QString();
    return QUrl::fromLocalFile(path).toString();
}
}
