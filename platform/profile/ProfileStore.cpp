#include "platform/profile/ProfileStore.h"

#include <QDateTime>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSettings>
#include <QStringDecoder>
#include <algorithm>

Q_LOGGING_CATEGORY(lcProfile, "kestrel.profile", QtInfoMsg)

namespace {
const char kDamagedSuffixFormat[] = "'.damaged-'yyyyMMdd-HHmmss";
constexpr char16_t kFirstPrintable = u' ';

QString Key(const QString& section, const QString& entry)
{
    return section + QLatin1Char('/') + entry;
}

std::unique_ptr<QSettings> OpenSettings(const QString& organisation, const QString& application)
{
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, organisation, application);
}

// Whether strFile holds what the profile writes: UTF-8 text whose only
// characters below a blank are line ends and tabs. Anything else (a tail of
// zeros left by a crash, binary, UTF-16) is no profile of ours, even where
// QSettings would read it without complaint and then write it back mangled.
bool HoldsProfileText(const QString& strFile)
{
    QFile file(strFile);
    // Only a regular file is judged; anything else is QSettings's to refuse.
    if (!QFileInfo(strFile).isFile() || !file.open(QIODevice::ReadOnly))
        return true;
    QStringDecoder fromUtf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    // QSettings escapes the other characters below a blank; DEL and the
    // controls above it it writes as they are.
    const auto isForeign = [](QChar ch) {
        return ch.unicode() < kFirstPrintable && ch != QLatin1Char('\t') && ch != QLatin1Char('\n') &&
            ch != QLatin1Char('\r');
    };
    // QSettings reads the whole file as well.
    const QString strText = fromUtf8(file.readAll());
    return !fromUtf8.hasError() && std::none_of(strText.cbegin(), strText.cend(), isForeign);
}

// QSettings finds some damage only when it first reads the file, which it
// does at the first sync rather than when it is made; by then the first
// change of the session would be lost.
bool IsDamaged(QSettings& settings)
{
    settings.sync();
    return settings.status() == QSettings::FormatError || !HoldsProfileText(settings.fileName());
}

// A name beside strFile that says when it was set aside and is not taken yet.
QString SetAsideName(const QString& strFile)
{
    const QString strStamped = strFile + QDateTime::currentDateTime().toString(QLatin1String(kDamagedSuffixFormat));
    QString strName = strStamped;
    for (int n = 2; QFileInfo::exists(strName); ++n)
        strName = strStamped + QLatin1Char('-') + QString::number(n);
    return strName;
}
}

CProfileStore::CProfileStore(const QString& organisation, const QString& application)
    : m_pSettings(OpenSettings(organisation, application))
{
    // QSettings keeps a profile it cannot read as it is, and from then on
    // drops every change without a word. The damaged file is kept under a
    // dated name for whoever wants to look at it, and a clean profile starts.
    if (!IsDamaged(*m_pSettings))
        return;
    const QString strFile = m_pSettings->fileName();
    const QString strSetAside = SetAsideName(strFile);
    m_pSettings.reset();
    if (QFile::rename(strFile, strSetAside))
        qCWarning(lcProfile).noquote()
            << QStringLiteral("The profile %1 could not be read; it was kept as %2 and a new one started.")
                   .arg(strFile, strSetAside);
    else
        qCWarning(lcProfile).noquote()
            << QStringLiteral("The profile %1 could not be read nor set aside.").arg(strFile);
    m_pSettings = OpenSettings(organisation, application);
}

CProfileStore::~CProfileStore() = default;

bool CProfileStore::IsAvailable() const
{
    return m_pSettings->status() != QSettings::FormatError;
}

QString CProfileStore::FileName() const
{
    return m_pSettings->fileName();
}

int CProfileStore::GetInt(const QString& section, const QString& entry, int nDefault) const
{
    // Read the file afresh: another instance or the user may have changed it.
    m_pSettings->sync();
    const QVariant value = m_pSettings->value(Key(section, entry));
    if (!value.isValid())
        return nDefault;
    bool ok = false;
    const int nValue = value.toString().trimmed().toInt(&ok);
    return ok ? nValue : nDefault;
}

QString CProfileStore::GetString(const QString& section, const QString& entry, const QString& strDefault) const
{
    m_pSettings->sync();
    const QVariant value = m_pSettings->value(Key(section, entry));
    return value.isValid() ? value.toString() : strDefault;
}

bool CProfileStore::WriteInt(const QString& section, const QString& entry, int nValue)
{
    return Write(Key(section, entry), QString::number(nValue));
}

bool CProfileStore::WriteString(const QString& section, const QString& entry, const QString& strValue)
{
    return Write(Key(section, entry), strValue);
}

bool CProfileStore::Write(const QString& key, const QString& value)
{
    const QVariant previous = m_pSettings->value(key);
    m_pSettings->setValue(key, value);
    m_pSettings->sync();
    // QSettings reports no error when the folder cannot be made at all; only
    // a file that exists after the sync holds the value.
    if (m_pSettings->status() == QSettings::NoError && QFileInfo::exists(m_pSettings->fileName()))
        return true;
    // QSettings would go on answering with the unsaved value (every
    // QSettings of the process shares it); put back what the disk holds, so
    // that reads tell the truth.
    if (previous.isValid())
        m_pSettings->setValue(key, previous);
    else
        m_pSettings->remove(key);
    return false;
}
