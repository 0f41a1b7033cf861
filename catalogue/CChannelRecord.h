#pragma once

#include "fw/Types.h"

#include <QStringView>
#include <QtGlobal>

class CTextArena;

// One line of the station list: seven comma-separated fields, in file order.
// The first six end at a comma; the seventh is the rest of the line, commas
// and all. There is no quoting. Every field is trimmed of white space.
class CChannelRecord
{
public:
    CChannelRecord() = default;
    // Parses strLine; any text gives seven fields, so parsing never fails.
    explicit CChannelRecord(CString strLine);
    // Parses line the same way, keeping the fields' text in arena, which
    // many records share: the way to parse a whole station list.
    CChannelRecord(QStringView line, CTextArena& arena);

    // The fields, read-only; a caller that keeps one keeps a copy.
    // Field 1: the kind of channel ("Radio", "TV", ...).
    const CString& GetCategory() const { return m_strCategory; }
    // Field 2: the text of list column 1.
    const CString& GetColumn1Text() const { return m_strColumn1Text; }
    // Field 3: the stream address.
    const CString& GetStreamUrl() const { return m_strStreamUrl; }
    // Field 5: the text of list column 3.
    const CString& GetColumn3Text() const { return m_strColumn3Text; }
    // Field 6: the text of list column 2.
    const CString& GetColumn2Text() const { return m_strColumn2Text; }
    // Field 7: the channel's status; "OFF" in it marks a channel that does not work.
    const CString& GetStatus() const { return m_strStatus; }

private:
    // Where the searches for the first six fields' commas ended; -1 where a
    // search found none.
    static constexpr int kSeparatedFieldCount = 6;
    using CommaPositions = qsizetype[kSeparatedFieldCount];

    // True when the line has six commas; otherwise commas holds where the
    // searches ended.
    static bool FindCommas(QStringView line, CommaPositions& commas);
    // The fields of a line of six commas whose nLength units lie at pText,
    // inside block: strings over the block, not copies.
    void ShareSeparatedFields(CString::DataPointer& block, char16_t* pText, qsizetype nLength,
                              const CommaPositions& commas);
    void CopyIrregularFields(QStringView line, const CommaPositions& commas);

    CString m_strCategory;
    CString m_strColumn1Text;
    CString m_strStreamUrl;
    // Field 4: kept with the channel, never shown.
    CString m_strExtra;
    CString m_strColumn3Text;
    CString m_strColumn2Text;
    CString m_strStatus;
};

Q_DECLARE_TYPEINFO(CChannelRecord, Q_RELOCATABLE_TYPE);
