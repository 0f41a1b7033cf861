#include "fw/CListCtrlRows.h"

#include <QStringList>
#include <algorithm>

// A packed row is its count of cells, then each cell as its length
// followed by its text. A count or length below kLongNumber is one unit; a
// larger one is kLongNumber followed by the number in kLongNumberUnits
// units, lowest first.
namespace {
constexpr char16_t kLongNumber = 0xFFFF;
constexpr qsizetype kLongNumberUnits = sizeof(qsizetype) / sizeof(char16_t);
constexpr int kBitsPerUnit = 16;
// A new block is as large as all the blocks before it, so that a short
// list stays small, up to this many units; a longer row has a block of its
// own. Blocks stay below the size that the allocator would map apart, so a
// new list reuses the memory of the one before.
constexpr qsizetype kBlockUnits = 32 * 1024;

qsizetype NumberUnits(qsizetype nNumber)
{
    return nNumber < kLongNumber ? 1 : 1 + kLongNumberUnits;
}

QChar* WriteNumber(QChar* pOut, qsizetype nNumber)
{
    if (nNumber < kLongNumber) {
        *pOut++ = QChar(static_cast<char16_t>(nNumber));
        return pOut;
    }
    *pOut++ = QChar(kLongNumber);
    for (qsizetype n = 0; n < kLongNumberUnits; ++n)
        *pOut++ = QChar(static_cast<char16_t>(static_cast<quint64>(nNumber) >> (kBitsPerUnit * n)));
    return pOut;
}

// Reads the number at the front of packed and moves past it.
qsizetype TakeNumber(QStringView& packed)
{
    const char16_t first = packed.front().unicode();
    packed = packed.sliced(1);
    if (first != kLongNumber)
        return first;
    quint64 nNumber = 0;
    for (qsizetype n = 0; n < kLongNumberUnits; ++n)
        nNumber |= static_cast<quint64>(packed[n].unicode()) << (kBitsPerUnit * n);
    packed = packed.sliced(kLongNumberUnits);
    return static_cast<qsizetype>(nNumber);
}

qsizetype PackedUnits(std::span<const QStringView> cells)
{
    qsizetype nUnits = NumberUnits(static_cast<qsizetype>(cells.size()));
    for (const QStringView cell : cells)
        nUnits += NumberUnits(cell.size()) + cell.size();
    return nUnits;
}
}

void CListCtrlRows::Clear()
{
    *this = CListCtrlRows();
}

void CListCtrlRows::Insert(qsizetype nRow, std::span<const QStringView> cells)
{
    m_places.insert(nRow, Store(cells));
}

CListCtrlRows::Cells CListCtrlRows::GetCells(qsizetype nRow) const
{
    const Place place = m_places[nRow];
    QStringView packed = QStringView(m_blocks[place.nBlock]).sliced(place.nOffset);
    Cells cells;
    for (qsizetype nCount = TakeNumber(packed); nCount > 0; --nCount) {
        const qsizetype nLength = TakeNumber(packed);
        cells.append(packed.first(nLength));
        packed = packed.sliced(nLength);
    }
    return cells;
}

QStringView CListCtrlRows::GetCell(qsizetype nRow, qsizetype nColumn) const
{
    const Cells cells = GetCells(nRow);
    return nColumn >= 0 && nColumn < cells.size() ? cells[nColumn] : QStringView();
}

void CListCtrlRows::SetCell(qsizetype nRow, qsizetype nColumn, QStringView text)
{
    const Cells oldCells = GetCells(nRow);
    // Storing the row changes the last block, which the old cells may lie
    // in: they are copied out first.
    QStringList texts;
    for (const QStringView cell : oldCells)
        texts.append(cell.toString());
    while (texts.size() <= nColumn)
        texts.append(QString());
    texts[nColumn] = text.toString();
    const Cells cells(texts.cbegin(), texts.cend());
    m_nUnusedUnits += PackedUnits(oldCells);
    m_places[nRow] = Store(cells);
    CompactIfWasteful();
}

CListCtrlRows::Place CListCtrlRows::Store(std::span<const QStringView> cells)
{
    // Trailing empty cells are implied rather than kept.
    while (!cells.empty() && cells.back().isEmpty())
        cells = cells.first(cells.size() - 1);
    const qsizetype nUnits = PackedUnits(cells);
    if (m_blocks.isEmpty() || m_blocks.last().size() + nUnits > std::min(m_blocks.last().capacity(), kBlockUnits)) {
        m_blocks.append(QString());
        m_blocks.last().reserve(std::max(nUnits, std::min(m_nStoredUnits, kBlockUnits)));
    }
    QString& block = m_blocks.last();
    const qsizetype nOffset = block.size();
    block.resize(nOffset + nUnits);
    QChar* pOut = WriteNumber(block.data() + nOffset, static_cast<qsizetype>(cells.size()));
    for (const QStringView cell : cells) {
        pOut = WriteNumber(pOut, cell.size());
        pOut = std::copy(cell.begin(), cell.end(), pOut);
    }
    m_nStoredUnits += nUnits;
    return {static_cast<qint32>(m_blocks.size() - 1), static_cast<qint32>(nOffset)};
}

void CListCtrlRows::CompactIfWasteful()
{
    if (m_nUnusedUnits <= kBlockUnits || 2 * m_nUnusedUnits <= m_nStoredUnits)
        return;
    CListCtrlRows packed;
    packed.Reserve(Count());
    for (qsizetype nRow = 0; nRow < Count(); ++nRow)
        packed.Insert(nRow, GetCells(nRow));
    *this = std::move(packed);
}
