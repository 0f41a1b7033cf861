#include "catalogue/CTextArena.h"

#include <algorithm>

char16_t* CTextArena::Append(QStringView text)
{
    const qsizetype nNeeded = text.size() + 1;
    if (m_pBlockText == nullptr || m_strBlock.size() - m_nUsed < nNeeded) {
        m_strBlock = CString(std::max(kBlockUnits, nNeeded), Qt::Uninitialized);
        // Taken while the block is this arena's alone: once strings share
        // it, asking the string for its data would copy the whole block.
        m_pBlockText = reinterpret_cast<char16_t*>(m_strBlock.data());
        m_nUsed = 0;
    }
    char16_t* pCopy = m_pBlockText + m_nUsed;
    std::copy(text.utf16(), text.utf16() + text.size(), pCopy);
    pCopy[text.size()] = u'\0';
    m_nUsed += nNeeded;
    return pCopy;
}

CString CTextArena::Copy(QStringView text)
{
    if (text.isEmpty())
        return CString();
    char16_t* pCopy = Append(text);
    CString::DataPointer copy = Block();
    copy.setBegin(pCopy);
    copy.size = text.size();
    return CString(std::move(copy));
}
