#include "catalogue/StationListReader.h"

#include <QStringView>
#include <QtEndian>
#include <cstring>

namespace {
constexpr char16_t kLineFeed = u'\n';
constexpr char16_t kCarriageReturn = u'\r';

CStationListReader::CSupplyFilter::Filter& ActiveFilter()
{
    static CStationListReader::CSupplyFilter::Filter filter;
    return filter;
}

char16_t UnitAt(const char* pBytes)
{
    return qFromLittleEndian<char16_t>(pBytes);
}

// Where the first CR or LF lies among the nUnits units at pBytes, or nUnits
// if none does. The units are searched as they lie in the buffer, for the
// raw form of each line end, so that Qt's vectorised search does the work
// on hosts of either byte order.
qsizetype FindLineEnd(const char* pBytes, qsizetype nUnits)
{
    const QStringView units(reinterpret_cast<const char16_t*>(pBytes), nUnits);
    const qsizetype nLineFeed = units.indexOf(QChar(qToLittleEndian(kLineFeed)));
    const qsizetype nSearched = nLineFeed < 0 ? nUnits : nLineFeed;
    const qsizetype nCarriageReturn = units.first(nSearched).indexOf(QChar(qToLittleEndian(kCarriageReturn)));
    return nCarriageReturn >= 0 ? nCarriageReturn : nSearched;
}

void AppendUnits(CString& strText, const char* pBytes, qsizetype nUnits)
{
    const qsizetype nOld = strText.size();
    strText.resize(nOld + nUnits);
    qFromLittleEndian<char16_t>(pBytes, nUnits, strText.data() + nOld);
}

CString UnitsToString(const char* pBytes, qsizetype nUnits)
{
    CString strText(nUnits, Qt::Uninitialized);
    qFromLittleEndian<char16_t>(pBytes, nUnits, strText.data());
    return strText;
}
}

CStationListReader::CStationListReader(ByteSupply supply)
    : m_supply(std::move(supply))
{
    if (ActiveFilter()) {
        m_supply = [filter = ActiveFilter(), real = std::move(m_supply)](char* pBuffer, qint64 nSize) {
            return filter(real, pBuffer, nSize);
        };
    }
}

CStationListReader::ReadResult CStationListReader::ReadLine(CString& strLine)
{
    bool bAnyUnit = false;
    for (;;) {
        if (UnitsBuffered() == 0) {
            const FillResult fill = Refill();
            if (fill == FillResult::Error)
                return ReadResult::ReadError;
            if (fill == FillResult::End) {
                if (!bAnyUnit)
                    return ReadResult::EndOfFile;
                strLine = TakePending();
                return ReadResult::Line;
            }
        }
        const qsizetype nUnits = UnitsBuffered();
        const qsizetype nEnd = FindLineEnd(NextUnitBytes(), nUnits);
        if (nEnd == nUnits) {
            AppendUnits(m_strPending, NextUnitBytes(), nUnits);
            m_nBegin += 2 * nUnits;
            bAnyUnit = true;
            continue;
        }
        // The usual case, a line that lies wholly in the buffer, is copied
        // once into a string of exactly its size.
        if (!bAnyUnit) {
            strLine = UnitsToString(NextUnitBytes(), nEnd);
        } else {
            AppendUnits(m_strPending, NextUnitBytes(), nEnd);
            strLine = TakePending();
        }
        m_nBegin += 2 * nEnd;
        if (TakeUnit() == kLineFeed)
            return ReadResult::Line;
        // A CR takes the next unit with it.
        if (UnitsBuffered() == 0) {
            const FillResult fill = Refill();
            if (fill == FillResult::Error)
                return ReadResult::ReadError;
            if (fill == FillResult::End)
                return ReadResult::Line;
        }
        const char16_t next = TakeUnit();
        if (next != kLineFeed)
            strLine.append(QChar(next));
        return ReadResult::Line;
    }
}

CString CStationListReader::TakePending()
{
    // A copy of exactly the line's size; the pending buffer keeps its room
    // for the next long line.
    CString strLine(m_strPending.constData(), m_strPending.size());
    m_strPending.resize(0);
    return strLine;
}

char16_t CStationListReader::TakeUnit()
{
    const char16_t unit = UnitAt(NextUnitBytes());
    m_nBegin += 2;
    return unit;
}

CStationListReader::FillResult CStationListReader::Refill()
{
    if (m_bFailed)
        return FillResult::Error;
    // An odd byte left over from the last read is the first half of the next unit.
    const qint64 nCarried = m_nEnd - m_nBegin;
    if (nCarried > 0)
        std::memmove(m_buffer, m_buffer + m_nBegin, static_cast<size_t>(nCarried));
    m_nBegin = 0;
    m_nEnd = nCarried;
    while (m_nEnd < 2) {
        if (m_bAtEnd)
            return FillResult::End;
        const qint64 nRead = m_supply(m_buffer + m_nEnd, kBufferSize - m_nEnd);
        if (nRead < 0) {
            m_bFailed = true;
            return FillResult::Error;
        }
        if (nRead == 0) {
            m_bAtEnd = true;
            return FillResult::End;
        }
        m_nEnd += nRead;
    }
    return FillResult::Data;
}

CStationListReader::CSupplyFilter::CSupplyFilter(Filter filter)
    : m_previous(std::exchange(ActiveFilter(), std::move(filter)))
{
}

CStationListReader::CSupplyFilter::~CSupplyFilter()
{
    ActiveFilter() = std::move(m_previous);
}
