#pragma once

#include "platform/autostart/AutostartStore.h"

// The per-user XDG autostart folder: one desktop entry per program, named
// after it, whose Exec line is the command that the desktop runs at log-in.
// Whatever holds an entry's name (a link, a FIFO) is replaced, never written
// through, and only regular files in the folder are read.
class CXdgAutostartFolder final : public IAutostartStore
{
public:
    explicit CXdgAutostartFolder(QString strFolder);

    // $XDG_CONFIG_HOME/autostart, or ~/.config/autostart when the variable
    // is unset or not an absolute path.
    static QString DefaultFolder();

    bool Open() override;
    QString CommandText(const QStringList& command) const override;
    QStringList SplitCommandText(const QString& strCommandText) const override;
    bool WriteEntry(const QString& strName, const QString& strCommandText) override;
    bool ReadEntry(const QString& strName, QString& strCommandText) const override;
    bool RemoveEntry(const QString& strName) override;

    QString Folder() const { return m_strFolder; }
    // The entry file of a name.
    QString EntryPath(const QString& strName) const;

private:
    QString m_strFolder;
};
