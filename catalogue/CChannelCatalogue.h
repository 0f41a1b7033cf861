#pragma once

#include "catalogue/CChannelRecord.h"
#include "fw/Types.h"

#include <QList>

class CExclusiveFile;

// The station list in memory for one reload of the channel list: the header
// line, whose fields title the list's columns, and the channels that passed
// the radio and TV filters, in file order.
class CChannelCatalogue
{
public:
    // Reads the station list file from the data folder, then deletes it.
    // Non-zero when the file could be opened (even if reading stopped
    // early on a read error); 0, with nothing changed, when it could not.
    int LoadStationList();
    // Takes one line of the file. The first line with a non-empty field 1
    // becomes the header; blank lines and hidden kinds of channel are
    // dropped. Always returns 1.
    int AddLine(CString strLine);

    CChannelRecord m_header;
    QList<CChannelRecord> m_channels;

private:
    void ReadLines(CExclusiveFile& file);
};
