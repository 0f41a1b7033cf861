#include "catalogue/CChannelRecord.h"

#include "catalogue/CTextArena.h"

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
}

CChannelRecord::CChannelRecord(CString strLine)
{
    CommaPositions commas;
    if (!FindCommas(strLine, commas)) {
        CopyIrregularFields(strLine, commas);
        return;
    }
    // The fields share the line's own block, which is this record's alone
    // once the line has been detached from its caller.
    char16_t* pText = reinterpret_cast<char16_t*>(strLine.data());
    ShareSeparatedFields(strLine.data_ptr(), pText, strLine.size(), commas);
}

CChannelRecord::CChannelRecord(QStringView line, CTextArena& arena)
{
    CommaPositions commas;
    if (!FindCommas(line, commas)) {
        CopyIrregularFields(line, commas);
        return;
    }
    char16_t* pText = arena.Append(line);
    ShareSeparatedFields(arena.Block(), pText, line.size(), commas);
}

bool CChannelRecord::FindCommas(QStringView line, CommaPositions& commas)
{
    // Each search starts one past the comma found before; a search that
    // finds nothing makes the next one start again at the beginning. So
    // with k < 6 commas in the line the positions repeat: the k commas,
    // then -1, then the k commas again. One pass over the line finds them.
    int nFound = 0;
    for (qsizetype n = 0; n < line.size() && nFound < kSeparatedFieldCount; ++n) {
        if (line[n] == kSeparator)
            commas[nFound++] = n;
    }
    for (int n = nFound; n < kSeparatedFieldCount; ++n)
        commas[n] = n % (nFound + 1) == nFound ? -1 : commas[n % (nFound + 1)];
    return nFound == kSeparatedFieldCount;
}

// Six commas: the fields are separate stretches of the line, so each can be
// a string over the block that holds the line instead of a copy. Each is
// closed by a null written over the comma or white space after it, as
// every string's text is.
void CChannelRecord::ShareSeparatedFields(CString::DataPointer& block, char16_t* pText, qsizetype nLength,
                                          const CommaPositions& commas)
{
    constexpr int kFieldCount = kSeparatedFieldCount + 1;
    TextRange ranges[kFieldCount];
    qsizetype nBegin = 0;
    for (int n = 0; n < kSeparatedFieldCount; ++n) {
        ranges[n] = Trimmed(pText, {nBegin, commas[n]});
        nBegin = commas[n] + 1;
    }
    ranges[kSeparatedFieldCount] = Trimmed(pText, {nBegin, nLength});

    int nShared = 0;
    for (const TextRange& range : ranges) {
        pText[range.nEnd] = u'\0';
        nShared += range.nBegin < range.nEnd ? 1 : 0;
    }
    // One step for all the fields' references to the block.
    block.d_ptr()->ref_.fetchAndAddRelaxed(nShared);
    CString* const fields[kFieldCount] = {&m_strCategory,    &m_strColumn1Text, &m_strStreamUrl, &m_strExtra,
                                          &m_strColumn3Text, &m_strColumn2Text, &m_strStatus};
    for (int n = 0; n < kFieldCount; ++n) {
        if (ranges[n].nBegin < ranges[n].nEnd)
            *fields[n] = CString(CString::DataPointer(block.d_ptr(), pText + ranges[n].nBegin,
                                                      ranges[n].nEnd - ranges[n].nBegin));
    }
}

// Fewer than six commas: a field whose search failed is empty, and the
// seventh field, starting one past the last position, is the whole line
// when the sixth search failed. The fields may overlap, so each is a copy.
void CChannelRecord::CopyIrregularFields(QStringView line, const CommaPositions& commas)
{
    CString* const fields[kSeparatedFieldCount] = {&m_strCategory, &m_strColumn1Text, &m_strStreamUrl,
                                                   &m_strExtra,    &m_strColumn3Text, &m_strColumn2Text};
    qsizetype nPrevious = -1;
    for (int n = 0; n < kSeparatedFieldCount; ++n) {
        const qsizetype nBegin = nPrevious + 1;
        *fields[n] = line.mid(nBegin, std::max<qsizetype>(0, commas[n] - nBegin)).trimmed().toString();
        nPrevious = commas[n];
    }
    m_strStatus = line.mid(nPrevious + 1).trimmed().toString();
}
