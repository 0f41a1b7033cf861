#include "catalogue/CChannelRecord.h"

#include <QStringView>
#include <algorithm>

namespace {
constexpr char16_t kSeparator = u',';

struct TextRange
{
    qsizetype nBegin;
    qsizetype nEnd;
};

TextRange Trimmed(const char16_t* pText, TextRange range)
{
    while (range.nBegin < range.nEnd && QChar::isSpace(pText[range.nBegin]))
        ++range.nBegin;
    while (range.nEnd > range.nBegin && QChar::isSpace(pText[range.nEnd - 1]))
        --range.nEnd;
    return range;
}

CString TrimmedCopy(QStringView text)
{
    return text.trimmed().toString();
}
}

CChannelRecord::CChannelRecord(CString strLine)
{
    // Each search starts one past the comma found before; a search that
    // finds nothing makes the next one start again at the beginning. So
    // with k < 6 commas in the line the positions repeat: the k commas,
    // then -1, then the k commas again. One pass over the line finds them.
    CommaPositions commas;
    int nFound = 0;
    const char16_t* pText = reinterpret_cast<const char16_t*>(strLine.constData());
    for (qsizetype n = 0; n < strLine.size() && nFound < kSeparatedFieldCount; ++n) {
        if (pText[n] == kSeparator)
            commas[nFound++] = n;
    }
    if (nFound == kSeparatedFieldCount) {
        ParseSeparatedFields(std::move(strLine), commas);
        return;
    }
    for (int n = nFound; n < kSeparatedFieldCount; ++n)
        commas[n] = n % (nFound + 1) == nFound ? -1 : commas[n % (nFound + 1)];
    ParseIrregularFields(strLine, commas);
}

// Six commas: the fields are separate stretches of the line. They share the
// line's block instead of copying their text, so a record costs one
// allocation, not seven, and the block lives while any field does. Each
// field is closed by a null written over the comma or white space after
// it, as every string's text is.
void CChannelRecord::ParseSeparatedFields(CString strLine, const CommaPositions& commas)
{
    char16_t* pText = reinterpret_cast<char16_t*>(strLine.data());
    constexpr int kFieldCount = kSeparatedFieldCount + 1;
    TextRange ranges[kFieldCount];
    qsizetype nBegin = 0;
    for (int n = 0; n < kSeparatedFieldCount; ++n) {
        ranges[n] = Trimmed(pText, {nBegin, commas[n]});
        nBegin = commas[n] + 1;
    }
    ranges[kSeparatedFieldCount] = Trimmed(pText, {nBegin, strLine.size()});

    CString::DataPointer& line = strLine.data_ptr();
    CString fields[kFieldCount];
    int nShared = 0;
    for (int n = 0; n < kFieldCount; ++n) {
        pText[ranges[n].nEnd] = u'\0';
        if (ranges[n].nBegin == ranges[n].nEnd)
            continue;
        fields[n] = CString(CString::DataPointer(line.d_ptr(), pText + ranges[n].nBegin, ranges[n].nEnd - ranges[n].nBegin));
        ++nShared;
    }
    // The block was made for this line alone, a moment ago, on this thread:
    // its count of users is set at once rather than raised one atomic step
    // per field. The line itself lets go of its own reference on return.
    line.d_ptr()->ref_.storeRelaxed(1 + nShared);

    m_strCategory = std::move(fields[0]);
    m_strColumn1Text = std::move(fields[1]);
    m_strStreamUrl = std::move(fields[2]);
    m_strExtra = std::move(fields[3]);
    m_strColumn3Text = std::move(fields[4]);
    m_strColumn2Text = std::move(fields[5]);
    m_strStatus = std::move(fields[6]);
}

// Fewer than six commas: a field whose search failed is empty, and the
// seventh field, starting one past the last position, is the whole line
// when the sixth search failed. The fields may overlap, so each is a copy.
void CChannelRecord::ParseIrregularFields(const CString& strLine, const CommaPositions& commas)
{
    const QStringView line(strLine);
    CString* const fields[kSeparatedFieldCount] = {&m_strCategory, &m_strColumn1Text, &m_strStreamUrl,
                                                   &m_strExtra,    &m_strColumn3Text, &m_strColumn2Text};
    qsizetype nPrevious = -1;
    for (int n = 0; n < kSeparatedFieldCount; ++n) {
        const qsizetype nBegin = nPrevious + 1;
        *fields[n] = TrimmedCopy(line.mid(nBegin, std::max<qsizetype>(0, commas[n] - nBegin)));
        nPrevious = commas[n];
    }
    m_strStatus = TrimmedCopy(line.mid(nPrevious + 1));
}
