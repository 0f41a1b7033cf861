#include "platform/profile/ProfileStore.h"

#include <QFileInfo>
#include <QSettings>

namespace {
QString Key(const QString& section, const QString& entry)
{
    return section + QLatin1Char('/') + entry;
}
}

CProfileStore::CProfileStore(const QString& organisation, const QString& application)
    : m_pSettings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, organisation, application))
{
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
