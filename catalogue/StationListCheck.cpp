#include "catalogue/StationListCheck.h"

#include "catalogue/CChannelRecord.h"
#include "catalogue/StationListReader.h"

#include <QFile>
#include <QUrl>
#include <algorithm>

namespace {
constexpr qsizetype kSeparatorsOfAllFields = 6;

bool IsBlank(const CString& strLine)
{
    return std::all_of(strLine.cbegin(), strLine.cend(), [](QChar ch) { return ch.isSpace(); });
}

// A tab may stand between words; any other control character, a lone half of
// a surrogate pair or a non-character is no text that a list would hold.
bool IsText(const CString& strLine)
{
    if (!strLine.isValidUtf16())
        return false;
    return std::none_of(strLine.cbegin(), strLine.cend(), [](QChar ch) {
        return (ch.category() == QChar::Other_Control && ch != QLatin1Char('\t')) || ch.isNonCharacter();
    });
}

bool HasAllFields(const CString& strLine)
{
    return strLine.count(QLatin1Char(',')) >= kSeparatorsOfAllFields;
}

bool IsStreamAddress(QStringView address)
{
    const QUrl url(address.toString(), QUrl::TolerantMode);
    return url.isValid() && !url.scheme().isEmpty() && !url.host().isEmpty();
}
}

void CStationListCheck::AddLine(const CString& strLine)
{
    if (m_bRefused)
        return;
    if (!IsText(strLine)) {
        m_bRefused = true;
        return;
    }
    // Blank lines, and lines before the header that give it no kind of
    // channel, are passed over by a load as well.
    if (IsBlank(strLine) || m_bChannel)
        return;
    const CChannelRecord record(strLine);
    if (!m_bHeader) {
        if (record.GetCategory().isEmpty())
            return;
        m_bHeader = true;
        m_bRefused = !HasAllFields(strLine);
        return;
    }
    m_bChannel = HasAllFields(strLine) && IsStreamAddress(record.GetStreamUrl());
}

bool HoldsStationList(const CString& strPath)
{
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    CStationListReader reader([&file](char* pBuffer, qint64 nSize) { return file.read(pBuffer, nSize); });
    CStationListCheck check;
    // The same end-of-file reckoning as the load, so that a line the load
    // would never reach does not count. Every line is looked at: one line
    // of binary is enough to tell that the file is no list.
    reader.ReadCountedLines(static_cast<quint64>(file.size()), [&check](CString strLine) { check.AddLine(strLine); });
    return check.IsStationList();
}
