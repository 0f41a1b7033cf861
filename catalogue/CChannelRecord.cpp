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

// A string that shares strOwner's block instead of copying its text: the
// block stays alive for as long as any of its fields does. The caller makes
// sure the text is followed by a terminating null, as every string's is.
CString SharedSlice(const CString& strOwner, TextRange range)
{
    if (range.nBegin == range.nEnd)
        return CString();
    CString::DataPointer slice = strOwner.data_ptr();
    slice.setBegin(slice.data() + range.nBegin);
    slice.size = range.nEnd - range.nBegin;
    return CString(std::move(slice));
}

CString TrimmedCopy(QStringView text)
{
    return text.trimmed().toString();
}
}

CChannelRecord::CChannelRecord(CString strLine)
{
    // Each search starts one past the comma found before; a search that
    // found nothing makes the next one start again at the beginning.
    CommaPositions commas;
    qsizetype nPrevious = -1;
    for (qsizetype& nComma : commas) {
        nComma = strLine.indexOf(QChar(kSeparator), nPrevious + 1);
        nPrevious = nComma;
    }
    if (std::all_of(std::begin(commas), std::end(commas), [](qsizetype n) { return n >= 0; }))
        ParseSeparatedFields(std::move(strLine), commas);
    else
        ParseIrregularFields(strLine, commas);
}

// Six commas: the fields are separate stretches of the line. They share the
// line's block, each closed by a null written over the comma or the white
// space that follows it, so a record costs one allocation, not seven.
void CChannelRecord::ParseSeparatedFields(CString strLine, const CommaPositions& commas)
{
    char16_t* pText = reinterpret_cast<char16_t*>(strLine.data());
    TextRange ranges[kSeparatedFieldCount + 1];
    qsizetype nBegin = 0;
    for (int n = 0; n < kSeparatedFieldCount; ++n) {
        ranges[n] = Trimmed(pText, {nBegin, commas[n]});
        nBegin = commas[n] + 1;
    }
    ranges[kSeparatedFieldCount] = Trimmed(pText, {nBegin, strLine.size()});
    for (const TextRange& range : ranges)
        pText[range.nEnd] = u'\0';

    m_strCategory = SharedSlice(strLine, ranges[0]);
    m_strColumn1Text = SharedSlice(strLine, ranges[1]);
    m_strStreamUrl = SharedSlice(strLine, ranges[2]);
    m_strExtra = SharedSlice(strLine, ranges[3]);
    m_strColumn3Text = SharedSlice(strLine, ranges[4]);
    m_strColumn2Text = SharedSlice(strLine, ranges[5]);
    m_strStatus = SharedSlice(strLine, ranges[6]);
}

// Fewer than six commas: a field whose search failed is empty, and the
// seventh field, starting one past the last position, is the whole line.
// The fields may overlap, so each is a copy.
void CChannelRecord::ParseIrregularFields(const CString& strLine, const CommaPositions& commas)
{
    const QStringView line(strLine);
    CString* const fields[kSeparatedFieldCount] = {&m_strCategory,    &m_strColumn1Text, &m_strStreamUrl,
                                                   &m_strExtra,       &m_strColumn3Text, &m_strColumn2Text};
    qsizetype nPrevious = -1;
    for (int n = 0; n < kSeparatedFieldCount; ++n) {
        const qsizetype nBegin = nPrevious + 1;
        *fields[n] = TrimmedCopy(line.mid(nBegin, std::max<qsizetype>(0, commas[n] - nBegin)));
        nPrevious = commas[n];
    }
    m_strStatus = TrimmedCopy(line.mid(nPrevious + 1));
}
