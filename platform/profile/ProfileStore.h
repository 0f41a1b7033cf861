#pragma once

#include <QString>
#include <memory>

class QSettings;

// The per-user profile: named integers and strings in sections, kept in an
// INI file under the user's config folder (organisation/application.ini).
// Every write reaches the disk before it returns, so a crash loses nothing.
// A profile that cannot be read, or that holds anything but text, is found
// before the first change and renamed with ".damaged-" and the date and time
// appended, and a clean one takes its place.
class CProfileStore
{
public:
    CProfileStore(const QString& organisation, const QString& application);
    ~CProfileStore();

    bool IsAvailable() const;
    QString FileName() const;

    // A missing value, or one that is not a whole number, reads as nDefault.
    int GetInt(const QString& section, const QString& entry, int nDefault) const;
    QString GetString(const QString& section, const QString& entry, const QString& strDefault) const;

    // True when the value is on disk.
    [[nodiscard]] bool WriteInt(const QString& section, const QString& entry, int nValue);
    [[nodiscard]] bool WriteString(const QString& section, const QString& entry, const QString& strValue);

private:
    bool Write(const QString& key, const QString& value);

    std::unique_ptr<QSettings> m_pSettings;
};
