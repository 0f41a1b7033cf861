#pragma once

#include "fw/Types.h"

#include <QtGlobal>
#include <functional>

// Reads the station list's lines: 16-bit little-endian code units through a
// 4096-byte buffer. LF ends a line. CR ends a line too and takes the next
// unit with it: an LF there is dropped, any other unit stays as the line's
// last character, and a CR at the very end is dropped. A trailing odd byte
// is ignored and a leading byte-order mark is an ordinary character.
class CStationListReader
{
public:
    // Fills up to nSize bytes at pBuffer: the count read, 0 at the end of
    // the file, -1 when the read failed.
    using ByteSupply = std::function<qint64(char* pBuffer, qint64 nSize)>;

    enum class ReadResult { Line, EndOfFile, ReadError };

    static constexpr qint64 kBufferSize = 4096;
    static constexpr quint64 kLineEndBytes = 4;

    explicit CStationListReader(ByteSupply supply);
    CStationListReader(const CStationListReader&) = delete;
    CStationListReader& operator=(const CStationListReader&) = delete;

    // The next line, without its line end. EndOfFile when the file ended
    // before a unit of a new line; ReadError when a read failed, after which
    // the reader gives nothing more.
    ReadResult ReadLine(CString& strLine);

    // Reads lines into sink, one at a time, while a running count stays
    // below nLength, the file's length in bytes: each line adds two bytes a
    // character and four for a CR LF end, counted after the line has been
    // handed on. That count is exact for CR LF lines and runs ahead for
    // others, which ends the reading early. Returns the final count.
    template <class LineSink>
    quint64 ReadCountedLines(quint64 nLength, LineSink&& sink)
    {
        quint64 nCount = 0;
        CString strLine;
        while (nCount < nLength && ReadLine(strLine) == ReadResult::Line) {
            const auto nCharacters = static_cast<quint64>(strLine.size());
            sink(std::move(strLine));
            nCount += 2 * nCharacters + kLineEndBytes;
        }
        return nCount;
    }

    // Stands between every reader made while it lives and its bytes: each
    // request goes to the filter along with the real supply. Tests use it to
    // make a read fail part-way or to split reads at odd places.
    class CSupplyFilter
    {
    public:
        using Filter = std::function<qint64(const ByteSupply& realSupply, char* pBuffer, qint64 nSize)>;
        explicit CSupplyFilter(Filter filter);
        ~CSupplyFilter();
        CSupplyFilter(const CSupplyFilter&) = delete;
        CSupplyFilter& operator=(const CSupplyFilter&) = delete;

    private:
        Filter m_previous;
    };

private:
    enum class FillResult { Data, End, Error };

    qsizetype UnitsBuffered() const { return (m_nEnd - m_nBegin) / 2; }
    const char* NextUnitBytes() const { return m_buffer + m_nBegin; }
    char16_t TakeUnit();
    CString TakePending();
    // Refills the buffer so that it holds at least one whole unit.
    FillResult Refill();

    ByteSupply m_supply;
    alignas(char16_t) char m_buffer[kBufferSize];
    qint64 m_nBegin = 0;
    qint64 m_nEnd = 0;
    bool m_bAtEnd = false;
    bool m_bFailed = false;
    // The start of a line that runs past the end of the buffer.
    CString m_strPending;
};
