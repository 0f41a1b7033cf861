#pragma once

#include "fw/Types.h"

// Tells a station list from an answer that only looks like text when read
// as one: an empty body, a stray byte, an error page in another encoding or
// random bytes must not replace a list that works. A station list is text
// throughout (no control characters, no broken surrogate pairs), its header
// (the first line with a kind of channel in its first field) has all seven
// fields, and at least one channel after it has all seven fields and a
// stream address with a scheme and a host.
class CStationListCheck
{
public:
    // Takes the lines in the order a load reads them.
    void AddLine(const CString& strLine);
    bool IsStationList() const { return !m_bRefused && m_bHeader && m_bChannel; }

private:
    bool m_bHeader = false;
    bool m_bChannel = false;
    bool m_bRefused = false;
};

// Whether the file at strPath reads as a station list, its lines read the
// way a load reads them.
bool HoldsStationList(const CString& strPath);
