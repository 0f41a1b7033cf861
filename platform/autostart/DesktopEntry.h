#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The rules of the desktop entry files that the desktop reads: the escapes
// of a string value, and the quoting of the arguments in an Exec line.
namespace DesktopEntry {

// A string value as the file holds it: backslash, newline, tab and carriage
// return escaped, and a leading blank kept as "\s".
QString EscapeValue(const QString& strValue);
QString UnescapeValue(const QString& strText);

// One argument of an Exec line: quoted when it holds a reserved character,
// with '"', '`', '$' and '\' escaped inside the quotes; '%' doubled.
QString QuoteArgument(const QString& strArgument);
// The arguments joined into an Exec line (before the value's own escapes).
QString JoinArguments(const QStringList& arguments);
// The arguments of an Exec line (after the value's own escapes are undone);
// nothing when a quote is left open or a field code other than "%%" is in
// a quoted argument.
std::optional<QStringList> SplitArguments(const QString& strExec);

// The value of strKey in the "[Desktop Entry]" group of a file's text;
// nothing when the group or the key is missing.
std::optional<QString> ReadKey(const QString& strFileText, const QString& strKey);

}
