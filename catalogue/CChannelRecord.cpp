#include "catalogue/CChannelRecord.h"

#include <algorithm>

namespace {
constexpr char16_t kSeparator = u',';
}

CChannelRecord::CChannelRecord(CString strLine)
    : m_strLine(std::move(strLine))
{
    // Each search starts one past the comma found before; a search that
    // finds nothing makes the next one start again at the beginning. So
    // with k < 6 commas in the line the positions repeat: the k commas,
    // then -1, then the k commas again. One pass over the line finds them.
    int nFound = 0;
    for (qsizetype nComma = m_strLine.indexOf(kSeparator); nComma >= 0 && nFound < kSeparatedFieldCount;
         nComma = m_strLine.indexOf(kSeparator, nComma + 1))
        m_commas[nFound++] = nComma;
    for (int n = nFound; n < kSeparatedFieldCount; ++n)
        m_commas[n] = n % (nFound + 1) == nFound ? -1 : m_commas[n % (nFound + 1)];
}

// A field starts one past the comma before it (or where the line starts)
// and runs to its own comma: empty when the search for that comma failed.
// The seventh runs to the end of the line.
QStringView CChannelRecord::Field(int nField) const
{
    const QStringView line(m_strLine);
    const qsizetype nBegin = nField == 0 ? 0 : m_commas[nField - 1] + 1;
    const qsizetype nEnd = nField < kSeparatedFieldCount ? std::max(nBegin, m_commas[nField]) : line.size();
    return line.sliced(nBegin, nEnd - nBegin).trimmed();
}
