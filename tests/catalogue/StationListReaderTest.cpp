#include "StationListBytes.h"

#include "catalogue/StationListReader.h"

#include <QStringList>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

// Bytes handed out in pieces of at most nChunk, failing once nFailAt bytes
// have gone (never, when nFailAt is negative). Remembers the largest request.
struct MemorySupply {
    QByteArray bytes;
    qint64 nChunk = CStationListReader::kBufferSize;
    qint64 nFailAt = -1;
    qint64 nPosition = 0;
    qint64 nLargestRequest = 0;

    qint64 operator()(char* pBuffer, qint64 nSize)
    {
        nLargestRequest = std::max(nLargestRequest, nSize);
        if (nFailAt >= 0 && nPosition >= nFailAt)
            return -1;
        qint64 nCount = std::min({nSize, nChunk, bytes.size() - nPosition});
        if (nFailAt >= 0)
            nCount = std::min(nCount, nFailAt - nPosition);
        std::copy_n(bytes.constData() + nPosition, nCount, pBuffer);
        nPosition += nCount;
        return nCount;
    }
};

// Every line ReadLine gives until the end or an error, and how it stopped.
struct ReadOutcome {
    QStringList lines;
    CStationListReader::ReadResult end;
};

ReadOutcome ReadAll(MemorySupply& supply)
{
    CStationListReader reader(std::ref(supply));
    ReadOutcome outcome;
    CString strLine;
    while ((outcome.end = reader.ReadLine(strLine)) == CStationListReader::ReadResult::Line)
        outcome.lines << strLine;
    return outcome;
}

ReadOutcome ReadAll(const QByteArray& bytes)
{
    MemorySupply supply{bytes};
    return ReadAll(supply);
}

QStringList ReadCounted(const QByteArray& bytes, quint64* pCount = nullptr)
{
    MemorySupply supply{bytes};
    CStationListReader reader(std::ref(supply));
    QStringList lines;
    const quint64 nCount = reader.ReadCountedLines(bytes.size(), [&lines](CString strLine) { lines << strLine; });
    if (pCount != nullptr)
        *pCount = nCount;
    return lines;
}

using ReadResult = CStationListReader::ReadResult;

TEST(StationListReaderTest, CrLfLinesAreReadCompletelyAndTheCountMatchesTheLength)
{
    const QByteArray bytes = StationListFile({"Category,Name", "Radio,One", "", "   ", "TV,Two"});
    quint64 nCount = 0;
    EXPECT_EQ(ReadCounted(bytes, &nCount), QStringList({"Category,Name", "Radio,One", "", "   ", "TV,Two"}));
    EXPECT_EQ(nCount, static_cast<quint64>(bytes.size()));
}

TEST(StationListReaderTest, LfOnlyLinesStopOnceTheCountRunsPastTheLength)
{
    // Each LF line counts two bytes more than it takes, so the count
    // reaches the length of "a\nb\nc\nd\n" (16 bytes) after three lines.
    const QByteArray bytes = Utf16LE("a\nb\nc\nd\n");
    quint64 nCount = 0;
    EXPECT_EQ(ReadCounted(bytes, &nCount), QStringList({"a", "b", "c"}));
    EXPECT_EQ(nCount, 18u);
    EXPECT_EQ(ReadAll(bytes).lines, QStringList({"a", "b", "c", "d"}));
}

TEST(StationListReaderTest, TheLastLineNeedsNoLineEnd)
{
    EXPECT_EQ(ReadCounted(Utf16LE("a\r\nlast")), QStringList({"a", "last"}));
    EXPECT_EQ(ReadAll(Utf16LE("only")).lines, QStringList({"only"}));
    EXPECT_EQ(ReadAll(QByteArray()).lines, QStringList());
    EXPECT_EQ(ReadAll(QByteArray()).end, ReadResult::EndOfFile);
}

TEST(StationListReaderTest, TheUnitAfterACarriageReturnStaysInTheLineUnlessItIsALineFeed)
{
    EXPECT_EQ(ReadAll(Utf16LE("x\ry\n")).lines, QStringList({"xy", ""}));
    // A CR takes even another CR with it.
    EXPECT_EQ(ReadAll(Utf16LE("a\r\rb\n")).lines, QStringList({"a\r", "b"}));
    // A CR at the very end is dropped.
    EXPECT_EQ(ReadAll(Utf16LE("a\r")).lines, QStringList({"a"}));
    EXPECT_EQ(ReadAll(Utf16LE("\n\r\n")).lines, QStringList({"", ""}));
}

TEST(StationListReaderTest, AByteOrderMarkIsAnOrdinaryCharacterAndAnOddTrailingByteIsIgnored)
{
    EXPECT_EQ(ReadAll(Utf16LE(QStringLiteral(u"\uFEFFCategory\r\nx"))).lines,
              QStringList({QStringLiteral(u"\uFEFFCategory"), "x"}));
    const ReadOutcome odd = ReadAll(Utf16LE("ab\r\ncd") + QByteArray(1, 'z'));
    EXPECT_EQ(odd.lines, QStringList({"ab", "cd"}));
    EXPECT_EQ(odd.end, ReadResult::EndOfFile);
    // Units outside ASCII, and a NUL, come through as they are.
    EXPECT_EQ(ReadAll(Utf16LE(QStringLiteral(u"Ünï\u0000ç😀\r\n"))).lines,
              QStringList({QStringLiteral(u"Ünï\u0000ç😀")}));
}

// The line rules applied one unit at a time to text in memory.
QStringList ReferenceLines(const QString& strText)
{
    QStringList lines;
    qsizetype n = 0;
    while (n < strText.size()) {
        QString strLine;
        for (;;) {
            if (n == strText.size()) {
                lines << strLine;
                return lines;
            }
            const QChar unit = strText[n++];
            if (unit == u'\n')
                break;
            if (unit == u'\r') {
                if (n < strText.size() && strText[n++] != u'\n')
                    strLine += strText[n - 1];
                break;
            }
            strLine += unit;
        }
        lines << strLine;
    }
    return lines;
}

TEST(StationListReaderTest, LinesComeOutTheSameHoweverTheReadsSplitThem)
{
    // Lines longer than the buffer, and every kind of line end on every
    // kind of boundary.
    const QStringList ends{"\r\n", "\n", "\r", "\r\r\n", "\n\r", "\r\n\n"};
    QString strText;
    for (int n = 0; n < 400; ++n)
        strText += QString(n * 17 % 5000, QChar(u'a' + n % 26)) + QString::number(n) + ends[n % ends.size()];
    const QStringList expected = ReferenceLines(strText);
    ASSERT_GT(expected.size(), 400);
    for (const qint64 nChunk : {qint64(1), qint64(3), qint64(4095), CStationListReader::kBufferSize}) {
        MemorySupply supply{Utf16LE(strText), nChunk};
        const ReadOutcome outcome = ReadAll(supply);
        EXPECT_TRUE(outcome.lines == expected) << "chunk " << nChunk;
        EXPECT_LE(supply.nLargestRequest, CStationListReader::kBufferSize);
    }
}

TEST(StationListReaderTest, AReadErrorEndsReadingForGood)
{
    const QByteArray bytes = StationListFile({"first", "second", "third"});
    // The error strikes in the middle of "second".
    MemorySupply supply{bytes, 4, 2 * 10};
    const ReadOutcome outcome = ReadAll(supply);
    EXPECT_EQ(outcome.lines, QStringList({"first"}));
    EXPECT_EQ(outcome.end, ReadResult::ReadError);

    CStationListReader reader(std::ref(supply));
    CString strLine;
    EXPECT_EQ(reader.ReadLine(strLine), ReadResult::ReadError);
    EXPECT_EQ(reader.ReadLine(strLine), ReadResult::ReadError);
}

TEST(StationListReaderTest, AnErrorRightAfterACarriageReturnIsAnError)
{
    MemorySupply supply{Utf16LE("ab\r\n"), 6, 6};
    EXPECT_EQ(ReadAll(supply).end, ReadResult::ReadError);
}

}
