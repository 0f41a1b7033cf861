#pragma once

#include <QString>
#include <QStringList>
#include <memory>

// The user's list of programs that start when they log in: one entry per
// program, found by its name, holding the command that starts it.
class IAutostartStore
{
public:
    virtual ~IAutostartStore() = default;

    // Makes the store ready for reading and writing. False when it cannot be
    // created or opened, or may not be written to.
    [[nodiscard]] virtual bool Open() = 0;

    // A command (the program's path, then its arguments) as the store's
    // command text, each argument quoted where the store's rules ask for it.
    virtual QString CommandText(const QStringList& command) const = 0;
    // The arguments of a command text, unquoted by the same rules; empty
    // when the text breaks them.
    virtual QStringList SplitCommandText(const QString& strCommandText) const = 0;

    // Writes the entry as a whole: either the new entry is there afterwards
    // or the old one is left as it was.
    virtual bool WriteEntry(const QString& strName, const QString& strCommandText) = 0;
    // The command text of the entry. False, with the text emptied, when
    // there is no such entry or it cannot be read.
    [[nodiscard]] virtual bool ReadEntry(const QString& strName, QString& strCommandText) const = 0;
    virtual bool RemoveEntry(const QString& strName) = 0;
};

// The store of this platform for the current user, as the environment
// names it now.
std::unique_ptr<IAutostartStore> CreateAutostartStore();
