#include "catalogue/CChannelCatalogue.h"

#include "catalogue/DataFolder.h"
#include "catalogue/StationListReader.h"
#include "platform/datafolder/ExclusiveFile.h"
#include "settings/SettingsCache.h"

#include <QFile>
#include <algorithm>
#include <new>

namespace {
const char kRadioCategory[] = "Radio";
const char kTVCategory[] = "TV";

// Lines read before the array of channels is sized from them.
constexpr quint64 kLinesBeforeSizing = 256;
// The most channels room is made for up front. The first lines can be
// blank, and a guess from them would ask for room for tens of millions of
// channels, which could fail and end the load; a longer list simply grows.
constexpr quint64 kMostChannelsReserved = 100000;

bool IsBlank(const CString& strLine)
{
    return std::all_of(strLine.cbegin(), strLine.cend(), [](QChar ch) { return ch.isSpace(); });
}

bool IsCategory(QStringView category, const char* pszName)
{
    return category.compare(QLatin1String(pszName), Qt::CaseInsensitive) == 0;
}
}

int CChannelCatalogue::LoadStationList()
{
    m_channels = QList<CChannelRecord>();
    const CString strPath = GetStationListPath();
    CExclusiveFile file;
    if (!file.Open(strPath))
        return 0;
    ReadLines(file);
    file.Close();
    // A station list is read once: the next load needs a new download.
    QFile::remove(strPath);
    return 1;
}

void CChannelCatalogue::ReadLines(CExclusiveFile& file)
{
    CStationListReader reader([&file](char* pBuffer, qint64 nSize) { return file.Read(pBuffer, nSize); });
    const quint64 nLength = file.GetLength();
    quint64 nLines = 0;
    quint64 nBytes = 0;
    // A failed read or exhausted memory ends the reading; what was read so
    // far stays.
    try {
        reader.ReadCountedLines(nLength, [&](CString strLine) {
            nBytes += 2 * static_cast<quint64>(strLine.size()) + CStationListReader::kLineEndBytes;
            AddLine(std::move(strLine));
            // The array is sized once, from the length of the first lines,
            // rather than copied over and over as a long list grows.
            if (++nLines == kLinesBeforeSizing)
                m_channels.reserve(
                    static_cast<qsizetype>(std::min(nLength / (nBytes / nLines) + nLines, kMostChannelsReserved)));
        });
    } catch (const std::bad_alloc&) {
    }
}

int CChannelCatalogue::AddLine(CString strLine)
{
    // A blank line yields no record worth keeping, so it is not parsed.
    if (IsBlank(strLine))
        return 1;
    CChannelRecord record(std::move(strLine));
    if (m_header.GetCategory().isEmpty()) {
        m_header = std::move(record);
        return 1;
    }
    if (GetDisplayRadioChannels() == 0 && IsCategory(record.GetCategory(), kRadioCategory))
        return 1;
    if (GetDisplayTVChannels() == 0 && IsCategory(record.GetCategory(), kTVCategory))
        return 1;
    m_channels.append(std::move(record));
    return 1;
}
