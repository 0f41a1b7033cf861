#include "catalogue/StationListCheck.h"

#include "catalogue/CChannelRecord.h"
#include "catalogue/StationListReader.h"

#include <QFile>

bool HoldsStationList(const CString& strPath)
{
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    CStationListReader reader([&file](char* pBuffer, qint64 nSize) { return file.read(pBuffer, nSize); });
    // The same end-of-file reckoning as the load, so that a line the load
    // would never reach does not count.
    const auto nLength = static_cast<quint64>(file.size());
    quint64 nCount = 0;
    CString strLine;
    while (nCount < nLength && reader.ReadLine(strLine) == CStationListReader::ReadResult::Line) {
        nCount += 2 * static_cast<quint64>(strLine.size()) + CStationListReader::kLineEndBytes;
        if (!CChannelRecord(std::move(strLine)).GetCategory().isEmpty())
            return true;
    }
    return false;
}
