#include "platform/autostart/DesktopEntry.h"

#include <QStringView>
#include <algorithm>

namespace DesktopEntry {

namespace {
const QString kGroupHeader = QStringLiteral("[Desktop Entry]");
// Characters that make an argument need quotes.
const QString kReservedCharacters = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
// Characters escaped with a backslash inside quotes.
const QString kEscapedInQuotes = QStringLiteral("\"`$\\");
}

QString EscapeValue(const QString& strValue)
{
    QString strText;
    strText.reserve(strValue.size());
    for (qsizetype i = 0; i < strValue.size(); ++i) {
        const QChar ch = strValue.at(i);
        if (ch == QLatin1Char('\\'))
            strText += QLatin1String("\\\\");
        else if (ch == QLatin1Char('\n'))
            strText += QLatin1String("\\n");
        else if (ch == QLatin1Char('\t'))
            strText += QLatin1String("\\t");
        else if (ch == QLatin1Char('\r'))
            strText += QLatin1String("\\r");
        else if (ch == QLatin1Char(' ') && i == 0)
            strText += QLatin1String("\\s");
        else
            strText += ch;
    }
    return strText;
}

QString UnescapeValue(const QString& strText)
{
    QString strValue;
    strValue.reserve(strText.size());
    for (qsizetype i = 0; i < strText.size(); ++i) {
        const QChar ch = strText.at(i);
        if (ch != QLatin1Char('\\') || i + 1 == strText.size()) {
            strValue += ch;
            continue;
        }
        const QChar next = strText.at(++i);
        switch (next.unicode()) {
        case 's':
            strValue += QLatin1Char(' ');
            break;
        case 'n':
            strValue += QLatin1Char('\n');
            break;
        case 't':
            strValue += QLatin1Char('\t');
            break;
        case 'r':
            strValue += QLatin1Char('\r');
            break;
        case '\\':
            strValue += QLatin1Char('\\');
            break;
        default:
            // Not an escape of string values: the backslash stays.
            strValue += ch;
            strValue += next;
            break;
        }
    }
    return strValue;
}

QString QuoteArgument(const QString& strArgument)
{
    QString strDoubled = strArgument;
    strDoubled.replace(QLatin1Char('%'), QLatin1String("%%"));
    const bool bNeedsQuotes = strArgument.isEmpty() ||
        std::any_of(strArgument.begin(), strArgument.end(), [](QChar ch) { return kReservedCharacters.contains(ch); });
    if (!bNeedsQuotes)
        return strDoubled;
    QString strQuoted = QStringLiteral("\"");
    for (const QChar ch : std::as_const(strDoubled)) {
        if (kEscapedInQuotes.contains(ch))
            strQuoted += QLatin1Char('\\');
        strQuoted += ch;
    }
    strQuoted += QLatin1Char('"');
    return strQuoted;
}

QString JoinArguments(const QStringList& arguments)
{
    QStringList quoted;
    quoted.reserve(arguments.size());
    for (const QString& strArgument : arguments)
        quoted.append(QuoteArgument(strArgument));
    return quoted.join(QLatin1Char(' '));
}

std::optional<QStringList> SplitArguments(const QString& strExec)
{
    QStringList arguments;
    QString strCurrent;
    bool bInArgument = false;
    bool bInQuotes = false;
    for (qsizetype i = 0; i < strExec.size(); ++i) {
        const QChar ch = strExec.at(i);
        if (bInQuotes) {
            if (ch == QLatin1Char('"')) {
                bInQuotes = false;
            } else if (ch == QLatin1Char('\\') && i + 1 < strExec.size() &&
                       kEscapedInQuotes.contains(strExec.at(i + 1))) {
                strCurrent += strExec.at(++i);
            } else if (ch == QLatin1Char('%')) {
                // Inside quotes only "%%" may stand; a field code may not.
                if (i + 1 >= strExec.size() || strExec.at(i + 1) != QLatin1Char('%'))
                    return std::nullopt;
                strCurrent += strExec.at(++i);
            } else {
                strCurrent += ch;
            }
            continue;
        }
        if (ch == QLatin1Char(' ') || ch == QLatin1Char('\t') || ch == QLatin1Char('\n')) {
            if (bInArgument)
                arguments.append(strCurrent);
            strCurrent.clear();
            bInArgument = false;
            continue;
        }
        bInArgument = true;
        if (ch == QLatin1Char('"'))
            bInQuotes = true;
        else if (ch == QLatin1Char('%') && i + 1 < strExec.size() && strExec.at(i + 1) == QLatin1Char('%'))
            strCurrent += strExec.at(++i);
        else
            strCurrent += ch;
    }
    if (bInQuotes)
        return std::nullopt;
    if (bInArgument)
        arguments.append(strCurrent);
    return arguments;
}

std::optional<QString> ReadKey(const QString& strFileText, const QString& strKey)
{
    bool bInGroup = false;
    for (QStringView line : QStringView(strFileText).split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            bInGroup = line == kGroupHeader;
            continue;
        }
        if (!bInGroup)
            continue;
        const qsizetype nEquals = line.indexOf(QLatin1Char('='));
        if (nEquals < 0 || line.left(nEquals).trimmed() != strKey)
            continue;
        return UnescapeValue(line.mid(nEquals + 1).trimmed().toString());
    }
    return std::nullopt;
}

}
