#include "platform/autostart/XdgAutostartFolder.h"

#include "platform/autostart/DesktopEntry.h"
#include "platform/autostart/FolderFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QStandardPaths>

Q_LOGGING_CATEGORY(lcAutostart, "kestrel.autostart", QtInfoMsg)

namespace {
const char kDefaultConfigHome[] = "/.config";
const char kAutostartSubfolder[] = "/autostart";
const char kEntrySuffix[] = ".desktop";
const char kExecKey[] = "Exec";
const char kHiddenKey[] = "Hidden";
// An entry is a few lines; a bigger file is not one of ours and is not read.
constexpr qint64 kMaxEntrySize = 64 * 1024;
constexpr QFile::Permissions kAnyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
}

CXdgAutostartFolder::CXdgAutostartFolder(QString strFolder)
    : m_strFolder(std::move(strFolder))
{
}

QString CXdgAutostartFolder::DefaultFolder()
{
    QString strConfigHome = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    // A relative XDG_CONFIG_HOME is invalid, as the XDG base directory rules
    // say, and Qt hands it on as it is.
    if (!QDir::isAbsolutePath(strConfigHome))
        strConfigHome = QDir::homePath() + QLatin1String(kDefaultConfigHome);
    return strConfigHome + QLatin1String(kAutostartSubfolder);
}

bool CXdgAutostartFolder::Open()
{
    if (m_strFolder.isEmpty() || !QDir().mkpath(m_strFolder)) {
        qCWarning(lcAutostart, "The autostart folder %s cannot be made", qPrintable(m_strFolder));
        return false;
    }
    const QFileInfo folder(m_strFolder);
    // A folder that nobody may write to is left alone, even by a user whom
    // the system would let write there anyway.
    if (folder.isDir() && folder.isReadable() && folder.isExecutable() && folder.isWritable() &&
        (folder.permissions() & kAnyWrite) != 0)
        return true;
    qCWarning(lcAutostart, "The autostart folder %s may not be written to", qPrintable(m_strFolder));
    return false;
}

QString CXdgAutostartFolder::CommandText(const QStringList& command) const
{
    return DesktopEntry::JoinArguments(command);
}

QStringList CXdgAutostartFolder::SplitCommandText(const QString& strCommandText) const
{
    return DesktopEntry::SplitArguments(strCommandText).value_or(QStringList());
}

QString CXdgAutostartFolder::EntryPath(const QString& strName) const
{
    QString strFileName = strName;
    strFileName.replace(QLatin1Char('/'), QLatin1Char('_'));
    return m_strFolder + QLatin1Char('/') + strFileName + QLatin1String(kEntrySuffix);
}

bool CXdgAutostartFolder::WriteEntry(const QString& strName, const QString& strCommandText)
{
    const QString strText = QStringLiteral("[Desktop Entry]\n"
                                           "Type=Application\n"
                                           "Name=%1\n"
                                           "Exec=%2\n")
                                .arg(DesktopEntry::EscapeValue(strName), DesktopEntry::EscapeValue(strCommandText));
    if (FolderFiles::ReplaceFile(m_strFolder, EntryPath(strName), strText.toUtf8()))
        return true;
    qCWarning(lcAutostart, "The autostart entry %s could not be written", qPrintable(EntryPath(strName)));
    return false;
}

bool CXdgAutostartFolder::ReadEntry(const QString& strName, QString& strCommandText) const
{
    strCommandText.clear();
    const std::optional<QByteArray> bytes =
        FolderFiles::ReadRegularFile(m_strFolder, EntryPath(strName), kMaxEntrySize);
    if (!bytes)
        return false;
    const QString strFileText = QString::fromUtf8(*bytes);
    // A hidden entry is one the user removed.
    if (DesktopEntry::ReadKey(strFileText, QLatin1String(kHiddenKey)) == QStringLiteral("true"))
        return false;
    const std::optional<QString> exec = DesktopEntry::ReadKey(strFileText, QLatin1String(kExecKey));
    if (!exec)
        return false;
    strCommandText = *exec;
    return true;
}

bool CXdgAutostartFolder::RemoveEntry(const QString& strName)
{
    const QString strPath = EntryPath(strName);
    if (QFile::remove(strPath))
        return true;
    // Nothing to remove is no failure worth a word; what stays behind is.
    if (QFileInfo::exists(strPath) || QFileInfo(strPath).isSymLink())
        qCWarning(lcAutostart, "The autostart entry %s could not be removed", qPrintable(strPath));
    return false;
}
