#include "app/CommandLine.h"

#include <climits>

namespace CommandLine {

CString FromArguments(const QStringList& arguments)
{
    return arguments.mid(1).join(QLatin1Char(' '));
}

CString Clean(const CString& strRaw, const CString& strModulePath)
{
    CString strText = strRaw;
    if (!strModulePath.isEmpty())
        strText.remove(strModulePath, Qt::CaseSensitive);
    strText.remove(QLatin1Char('"'));
    return strText.trimmed();
}

bool HasSilentSwitch(const CString& strRaw)
{
    return strRaw.contains(QLatin1String(kSilentSwitch), Qt::CaseSensitive);
}

int ToNumber(const CString& strText)
{
    qsizetype i = 0;
    while (i < strText.size() && strText.at(i).isSpace())
        ++i;
    bool bNegative = false;
    if (i < strText.size() && (strText.at(i) == QLatin1Char('+') || strText.at(i) == QLatin1Char('-'))) {
        bNegative = strText.at(i) == QLatin1Char('-');
        ++i;
    }
    long long nValue = 0;
    for (; i < strText.size(); ++i) {
        const QChar c = strText.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            break;
        if (nValue <= static_cast<long long>(INT_MAX) + 1)
            nValue = nValue * 10 + (c.unicode() - '0');
    }
    if (bNegative)
        nValue = -nValue;
    if (nValue > INT_MAX)
        return INT_MAX;
    if (nValue < INT_MIN)
        return INT_MIN;
    return static_cast<int>(nValue);
}

}
