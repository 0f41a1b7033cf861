// Feeds arbitrary bytes to the station list reader and every line it gives
// to the record parser, and checks both against plain, unit-by-unit
// readings of the same rules; each record's fields then become a row of a
// list, which must give them back unchanged however its rows are inserted
// and changed. The lines also go through the station list check, which
// may take bytes for a list only when every line it read is text. The first
// input byte picks how the bytes are split between reads.

#include "catalogue/CChannelRecord.h"
#include "catalogue/StationListCheck.h"
#include "catalogue/StationListReader.h"
#include "fw/CListCtrlRows.h"

#include <QStringList>
#include <QStringView>
#include <QtEndian>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstdio>

namespace {

void Require(bool bCondition, const char* pszWhat)
{
    if (!bCondition) {
        std::fprintf(stderr, "station list fuzzer: %s\n", pszWhat);
        std::abort();
    }
}

// The line rules, one unit at a time.
QStringList ReferenceLines(const uint8_t* pData, size_t nSize)
{
    QString strText;
    for (size_t n = 0; n + 1 < nSize; n += 2)
        strText += QChar(qFromLittleEndian<char16_t>(pData + n));
    QStringList lines;
    qsizetype n = 0;
    while (n < strText.size()) {
        QString strLine;
        bool bEnded = false;
        while (!bEnded && n < strText.size()) {
            const QChar unit = strText[n++];
            if (unit == u'\n') {
                bEnded = true;
            } else if (unit == u'\r') {
                if (n < strText.size() && strText[n++] != u'\n')
                    strLine += strText[n - 1];
                bEnded = true;
            } else {
                strLine += unit;
            }
        }
        lines << strLine;
    }
    return lines;
}

// The seven fields by repeated searches, as the record defines them.
QStringList ReferenceFields(const QString& strLine)
{
    QStringList fields;
    qsizetype nPrevious = -1;
    for (int n = 0; n < 6; ++n) {
        const qsizetype nBegin = nPrevious + 1;
        const qsizetype nFound = nBegin < strLine.size() ? strLine.indexOf(u',', nBegin) : -1;
        fields << strLine.mid(nBegin, std::max<qsizetype>(0, nFound - nBegin)).trimmed();
        nPrevious = nFound;
    }
    fields << strLine.mid(nPrevious + 1).trimmed();
    return fields;
}

QStringList ShownFields(const CChannelRecord& record)
{
    return {record.GetCategory().toString(),    record.GetColumn1Text().toString(), record.GetStreamUrl().toString(),
            record.GetColumn3Text().toString(), record.GetColumn2Text().toString(), record.GetStatus().toString()};
}

// Each record's fields go into a row of the list, inserted where the line
// picks; then two of its cells change to the line itself.
void AddRow(CListCtrlRows& rows, QList<QStringList>& expectedRows, QStringList texts, const QString& strLine)
{
    const qsizetype nRow = strLine.size() % (rows.Count() + 1);
    const CListCtrlRows::Cells cells(texts.cbegin(), texts.cend());
    rows.Insert(nRow, cells);
    for (qsizetype nChange = 0; nChange < 2; ++nChange) {
        const qsizetype nColumn = (strLine.size() + nChange) % (texts.size() + 2);
        rows.SetCell(nRow, nColumn, strLine);
        texts.resize(std::max(texts.size(), nColumn + 1));
        texts[nColumn] = strLine;
    }
    expectedRows.insert(nRow, texts);
}

// Returns the fields that the record shows.
QStringList CheckRecord(const QString& strLine)
{
    const QStringList expected = ReferenceFields(strLine);
    const QStringList expectedShown{expected[0], expected[1], expected[2], expected[4], expected[5], expected[6]};
    const QString strCopy = strLine;
    CChannelRecord copy;
    {
        const CChannelRecord record(strCopy);
        Require(strCopy == strLine, "parsing changed the caller's line");
        Require(ShownFields(record) == expectedShown, "fields differ from the reference");
        copy = record;
    }
    Require(ShownFields(copy) == expectedShown, "a copied record changed");
    return expectedShown;
}

// Every row gives back its texts, and no cell more.
void CheckRows(const CListCtrlRows& rows, const QList<QStringList>& expectedRows)
{
    Require(rows.Count() == expectedRows.size(), "rows lost or gained");
    for (qsizetype nRow = 0; nRow < rows.Count(); ++nRow) {
        for (qsizetype n = 0; n <= expectedRows[nRow].size(); ++n)
            Require(rows.GetCell(nRow, n) == expectedRows[nRow].value(n), "a row gave back another text");
    }
}

}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    if (nSize == 0)
        return 0;
    const qint64 nChunk = 1 + pData[0] * 17 % CStationListReader::kBufferSize;
    ++pData;
    --nSize;

    size_t nPosition = 0;
    CStationListReader reader([&](char* pBuffer, qint64 nWanted) -> qint64 {
        Require(nWanted > 0 && nWanted <= CStationListReader::kBufferSize, "read request outside the buffer");
        const size_t nCount = std::min({static_cast<size_t>(nWanted), static_cast<size_t>(nChunk), nSize - nPosition});
        std::copy_n(pData + nPosition, nCount, pBuffer);
        nPosition += nCount;
        return static_cast<qint64>(nCount);
    });
    QStringList lines;
    CString strLine;
    while (reader.ReadLine(strLine) == CStationListReader::ReadResult::Line)
        lines << strLine;
    Require(lines == ReferenceLines(pData, nSize), "lines differ from the reference");

    // The counted reading stops once its count reaches the length.
    nPosition = 0;
    CStationListReader counted([&](char* pBuffer, qint64 nWanted) -> qint64 {
        const size_t nCount = std::min(static_cast<size_t>(nWanted), nSize - nPosition);
        std::copy_n(pData + nPosition, nCount, pBuffer);
        nPosition += nCount;
        return static_cast<qint64>(nCount);
    });
    qsizetype nCounted = 0;
    CListCtrlRows rows;
    QList<QStringList> expectedRows;
    CStationListCheck check;
    bool bAllText = true;
    quint64 nExpectedCount = 0;
    const quint64 nCount = counted.ReadCountedLines(nSize, [&](CString strCounted) {
        Require(nCounted < lines.size() && strCounted == lines[nCounted], "counted reading gave another line");
        nExpectedCount += 2 * static_cast<quint64>(strCounted.size()) + CStationListReader::kLineEndBytes;
        ++nCounted;
        bAllText = bAllText && strCounted.isValidUtf16() &&
            std::none_of(strCounted.cbegin(), strCounted.cend(), [](QChar ch) { return ch.unicode() < 0x09; });
        check.AddLine(strCounted);
        AddRow(rows, expectedRows, CheckRecord(strCounted), strCounted);
    });
    Require(bAllText || !check.IsStationList(), "bytes that are no text passed for a station list");
    Require(nCount == nExpectedCount, "wrong running count");
    Require(nCounted == lines.size() || nCount >= nSize, "counted reading stopped early");
    CheckRows(rows, expectedRows);
    return 0;
}
