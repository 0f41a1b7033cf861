#pragma once

#include "fw/Types.h"

#include <QStringView>
#include <QtGlobal>

// One line of the station list: seven comma-separated fields, in file order.
// The first six end at a comma; the seventh is the rest of the line, commas
// and all. There is no quoting. Every field is trimmed of white space.
//
// The record keeps the line as it was read, shared with the caller rather
// than copied, and where the searches for its commas ended. The fields are
// views into that line: valid while the record lives; a caller that keeps
// one keeps a copy.
class CChannelRecord
{
public:
    CChannelRecord() = default;
    // Parses strLine; any text gives seven fields, so parsing never fails.
    explicit CChannelRecord(CString strLine);

    // Field 1: the kind of channel ("Radio", "TV", ...).
    QStringView GetCategory() const { return Field(0); }
    // Field 2: the text of list column 1.
    QStringView GetColumn1Text() const { return Field(1); }
    // Field 3: the stream address.
    QStringView GetStreamUrl() const { return Field(2); }
    // Field 4 is kept with the channel but never shown.
    // Field 5: the text of list column 3.
    QStringView GetColumn3Text() const { return Field(4); }
    // Field 6: the text of list column 2.
    QStringView GetColumn2Text() const { return Field(5); }
    // Field 7: the channel's status; "OFF" in it marks a channel that does not work.
    QStringView GetStatus() const { return Field(kSeparatedFieldCount); }

private:
    static constexpr int kSeparatedFieldCount = 6;

    QStringView Field(int nField) const;

    CString m_strLine;
    // Where the search for the comma after each of the first six fields
    // ended; -1 where it found none.
    qsizetype m_commas[kSeparatedFieldCount] = {-1, -1, -1, -1, -1, -1};
};

Q_DECLARE_TYPEINFO(CChannelRecord, Q_RELOCATABLE_TYPE);
